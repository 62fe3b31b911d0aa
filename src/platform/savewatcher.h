#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

class QFileSystemWatcher;

namespace morvane {

// What a file looks like on disk: enough to tell a save from nothing, also
// when an editor writes a new file and renames it over the old one (a new
// inode with possibly the same size and second).
struct FileSignature {
    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    quint64 inode = 0;
    quint64 device = 0;

    static FileSignature of(const QString& path);
    bool operator==(const FileSignature&) const = default;
};

// Watches a set of files for saves. Both the files and their folders are
// watched: a file is followed for writes in place, its folder for a new
// file renamed over it, a deletion and a re-creation. Only the watched
// files' own signatures decide; other files of a folder (the converter's
// output, ten thousand pictures) cost one stat of each watched file per
// folder event, nothing more.
//
// Saves are gathered: the first change starts the settle time, and every
// change within it joins the same `saved`. A file missing when the settle
// time ends does not count (an editor between deleting and writing, or a
// file moved away); it counts once it is back with a new signature.
class SaveWatcher : public QObject {
    Q_OBJECT
public:
    explicit SaveWatcher(int settleMs = 300, QObject* parent = nullptr);
    ~SaveWatcher() override;

    // The files to watch, as absolute paths. Files already watched keep the
    // signature they had, so a save made while the caller was busy (during a
    // conversion) is still noticed by the next recheck.
    void setFiles(const QStringList& files);
    QStringList files() const { return m_order; }
    QStringList folders() const;

    // Compares every file with its last signature now, as a change event
    // would; starts the settle time when one differs.
    void recheck();

    bool isSettling() const { return m_settle.isActive(); }

signals:
    // Files whose content changed, once per settle time.
    void saved(const QStringList& files);
    // A watched file that was there before has gone (deleted or moved away).
    void missing(const QString& file);

private:
    void onFolderChanged(const QString& folder);
    void onFileChanged(const QString& file);
    void settle();
    bool anyDiffers() const;
    void rewatchFile(const QString& file);

    QFileSystemWatcher* m_watcher;
    QTimer m_settle;
    QStringList m_order;
    QHash<QString, FileSignature> m_known;
    QHash<QString, bool> m_reportedMissing;
    QHash<QString, quint64> m_watchedInode; // the inode each file watch was made on
};

} // namespace morvane
