#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace morvane {

// What a directory entry is, as the listing reports it without following a
// symbolic link.
enum class EntryKind { Directory, File, SymbolicLink, Other };

struct DirectoryEntry {
    QString name;
    EntryKind kind = EntryKind::Other;
};

// The file system a directory lies on and its place there: two listings with
// the same identity are the same folder, reached twice (a bind mount, a
// hard-linked folder).
struct DirectoryIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const DirectoryIdentity&) const = default;
};

// Lists `dir` (without "." and ".."), in the order the file system gives.
// False when `dir` is no directory, cannot be read, or is itself a symbolic
// link: a listing never follows one.
bool listDirectory(const QString& dir, DirectoryIdentity& identity, QList<DirectoryEntry>& entries);

// True when `path` is, or links to, a regular file. A link to a file counts:
// Debian's l2hconf.pm is one.
bool isRegularFile(const QString& path);
// True when `path` is, or links to, a regular file the user may execute.
bool isExecutableFile(const QString& path);

// The names of the files in `dir` (links to files too, hidden files not)
// that `wanted` accepts, sorted by name with `sorting`'s letter case: what
// QDir's name filters give, without compiling a regular expression for each
// filter at every call (and without reading wildcards in a document's name).
QStringList fileNamesIn(const QString& dir, const std::function<bool(const QString&)>& wanted,
                        Qt::CaseSensitivity sorting);

} // namespace morvane
