#pragma once

#include <QString>
#include <QStringList>

namespace morvane {

// CustomCode.txt, the library of named code snippets of the configuration
// editor: a comment line, an empty line, then sections, each a line
// "[name]" followed by the snippet's lines up to the next line that begins
// with "[". The functions work on the file's text; lines may end in "\n" or
// "\r\n", and what they write ends its lines with "\n".

// The library's place in the program directory.
QString codeLibraryPath(const QString& programDir);

// The library's text; empty when the file is missing or cannot be read.
QString readCodeLibrary(const QString& path);
// Replaces the library atomically; false when it could not be written.
bool writeCodeLibrary(const QString& path, const QString& text);

// The names of the sections in file order; a name that repeats is listed
// once and a section without a name not at all (neither can be chosen).
QStringList snippetNames(const QString& library);

// The code of the first section named exactly `name`, ending with a line
// end and an empty line so that inserted code stands apart; empty when
// there is no such section.
QString snippetCode(const QString& library, const QString& name);

// Whether `name` is among `names`, ignoring case.
bool containsName(const QStringList& names, const QString& name);

// "Code" and the smallest number from 1 that makes a name not yet used
// (ignoring case).
QString proposedSnippetName(const QStringList& names);

// The library with `code` saved under `name`. A section of that name
// (ignoring case) is replaced where it stands; otherwise the section is
// appended, after the library's heading when the library is empty. The
// header and the code each end with a line end, so the next "[name]"
// always starts a line of its own.
QString withSnippetSaved(const QString& library, const QString& name, const QString& code);

// The library without the sections named exactly `name`.
QString withSnippetDeleted(const QString& library, const QString& name);

// The library with the first section named exactly `name` renamed.
QString withSnippetRenamed(const QString& library, const QString& name, const QString& newName);

} // namespace morvane
