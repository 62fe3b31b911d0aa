#pragma once

#include "platform/directorylisting.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>

namespace morvane {

// One thing the program search looks for: any of `names` (letter case
// ignored); a program row takes executable files only.
struct SearchTarget {
    QStringList names;
    bool executable = false;
};

// The program search: walks volumes from their mount points and collects,
// per target, the folders that hold it. It never follows a symbolic link,
// never enters another volume, lists each folder once (bind mounts and
// repeated roots lead to folders already seen), and skips names that begin
// with "." and the recycle and "System Volume Information" folders.
//
// It runs on the caller's thread: `serve` is called at least every
// `serveIntervalMs` while it works (the window handles its events there,
// so Stop can be clicked), and `found` at each find as it happens.
class ProgramSearch {
public:
    explicit ProgramSearch(QList<SearchTarget> targets);

    std::function<void(const QString& folder)> serve;
    std::function<void(int target, const QString& folder)> found;
    int serveIntervalMs = 25;

    // Mount points of other volumes: never entered, not even opened (a
    // network mount may hang the listing).
    void setOtherMountPoints(const QStringList& mountPoints);

    // Searches the tree below `root`, staying on root's volume.
    void searchTree(const QString& root);

    void stop() { m_stopped = true; }
    bool isStopped() const { return m_stopped; }

    // The folders found per target, in the order they were found.
    const QList<QStringList>& candidates() const { return m_candidates; }
    // Folders listed so far.
    int foldersSeen() const { return int(m_seen.size()); }

private:
    void serveIfDue(const QString& folder);
    void matchFile(const QString& folder, const DirectoryEntry& entry);

    QList<SearchTarget> m_targets;
    QHash<QString, QList<int>> m_byName; // lower-case name -> targets
    qsizetype m_shortestName = 0;
    qsizetype m_longestName = 0;
    QSet<QString> m_otherMounts;
    QSet<QPair<quint64, quint64>> m_seen;
    QList<QStringList> m_candidates;
    QElapsedTimer m_sinceServe;
    bool m_stopped = false;
};

// Whether the search skips the folder `name` in `parent` below `root`:
// names beginning with "." (.git, a user's dot folders, the trash), a
// recycle folder at the top of a volume, "System Volume Information" of a
// Windows volume mounted here.
bool skippedBySearch(const QString& root, const QString& parent, const QString& name);

} // namespace morvane
