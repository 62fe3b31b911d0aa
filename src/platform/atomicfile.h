#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace morvane {

// Whether an atomic replacement waits until the new contents are on the disk
// before it renames them over the old file.
//
// WaitForDisk is for the files that hold the user's work or the program's
// own state and are written seldom: Morvane.ini, convert.sh, the file
// history, copies of the user's documents (the CD-ROM copy, "Backup of"),
// and a document converted in its own output directory. After a power cut
// they hold the old contents or the new, never an empty file.
//
// NoWait is for what a conversion produces and rewrites on every run: its
// working copies (made again from the user's file each time) and the files
// they include, its pages, their images and scripts, and the converters'
// logs. A TeX4ht folder
// holds hundreds of pages, and a sync for each would make the fix-ups many
// times slower than the converters, which do not sync either; a lost page
// comes back with the next run.
enum class Durability { WaitForDisk, NoWait };

// Replaces `path` with `content` atomically: the bytes go to a temporary file
// in the same folder (with a short name, whatever the length of `path`'s
// own), which is then renamed over the original. A failure leaves the old
// file as it was. The file keeps its permissions; a link is written through
// to the file it names. On failure `error` (when given) says why.
bool replaceFileAtomically(const QString& path, const QByteArray& content, Durability durability,
                           QString* error = nullptr);

// replaceFileAtomically, unless `path` already holds exactly `content`: the
// settings and the history saved at every exit mostly hold what they held,
// and then cost a read instead of a write and a wait for the disk.
bool replaceFileIfChanged(const QString& path, const QByteArray& content, Durability durability,
                          QString* error = nullptr);

// Records the produced files (logs, pages: replacements with NoWait) whose
// replacement failed while the recorder lives, so that a conversion reports
// a missing log header or link fix-up instead of passing over it. Recorders
// nest (a conversion started inside another's wait); the innermost records.
class ReplacementFailures {
public:
    ReplacementFailures();
    ~ReplacementFailures();
    ReplacementFailures(const ReplacementFailures&) = delete;
    ReplacementFailures& operator=(const ReplacementFailures&) = delete;

    // "file: reason", one entry per failed replacement.
    QStringList entries() const { return m_entries; }
    void record(const QString& path, const QString& reason);

private:
    QStringList m_entries;
};

// Copies a file byte for byte, replacing the destination atomically in the
// same way. Copying a file onto itself changes nothing.
bool copyFileAtomically(const QString& source, const QString& destination, Durability durability,
                        QString* error = nullptr);

} // namespace morvane
