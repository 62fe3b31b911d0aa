#pragma once

// Files a working copy needs beside it: the document's own class file and
// TeX4ht's mydoc files.

#include <QString>

namespace morvane {

// Copies `source` to `destination` unless both are the same file; errors are
// ignored, as a missing extra file only shows in the converter's log.
void copyIfDifferent(const QString& source, const QString& destination);

// Copies the class named by the working copy's first \documentclass that is
// not commented out (looked for in its first 500 lines) from `sourceDir`
// next to the working copy, when `sourceDir` holds that class file.
void copyClassFile(const QString& sourceDir, const QString& workingCopy);

// Copies every "mydoc.*" file of `sourceDir` into `destinationDir`. False
// only when a copy failed; a folder without mydoc files answers true.
bool copyMydocFiles(const QString& sourceDir, const QString& destinationDir);

} // namespace morvane
