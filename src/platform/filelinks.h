#pragma once

#include <QString>

namespace morvane {

// A second name for an existing file: a hard link, or a copy where the file
// system has no links. False when neither could be made.
bool linkOrCopyFile(const QString& existing, const QString& newName);

// True when both names lead to the same file on disk (one inode), as the two
// names of a hard link do.
bool sameFileOnDisk(const QString& a, const QString& b);

// Renames a file or folder, replacing a file of the new name. False when the
// rename failed.
bool renameReplacing(const QString& from, const QString& to);

// The number of names (hard links) the file has; 0 when it cannot be read.
int hardLinkCount(const QString& path);

// Renames a file or folder only when nothing has the new name (atomically
// where the file system allows it). False when the rename failed or the
// name was taken.
bool renameNoReplace(const QString& from, const QString& to);

// Makes `newName` a hard link to `existing`, never replacing anything of
// that name. False when the name is taken or links are not possible.
bool linkExclusive(const QString& existing, const QString& newName);

} // namespace morvane
