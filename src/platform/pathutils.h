#pragma once

#include <QByteArray>
#include <QString>

namespace morvane {

// Replaces every occurrence; the search goes on after the inserted text, so a
// replacement that contains the search string never loops. An empty search
// string leaves the text as it is.
QString replaceAll(const QString& text, const QString& search, const QString& replacement);

// The part after the last "/"; the whole string when there is none.
QString fileNameOf(const QString& path);

// The path without one final "/"; the root "/" and the empty string stay.
QString dropTrailingSeparator(const QString& path);

// The absolute path spelled as each component exists on disk; empty when a
// component is missing or the path is not absolute.
QString longPathOf(const QString& path);

// The path as one command-line argument for QProcess::splitCommand: quoted when
// it holds a blank (or other white space or a double quote); an embedded
// double quote is written as three, the form splitCommand reads as one.
// Otherwise unchanged.
QString quoteForCommandLine(const QString& path);

// Copies a text file turning CR LF into the platform line end; a source of
// more than 60000 bytes is copied unchanged. The destination is replaced
// atomically but not synced: it is a working copy, made again from its source
// on every run. False when the copy failed.
bool copyTextFile(const QString& source, const QString& destination);

// Position of the source extension in the file-name part of `path`, searched
// without regard to case (-1 when absent). Folders never cut a path.
qsizetype sourceExtensionIndex(const QString& path, const QString& extension);

// `path` cut before the source extension in its file name (unchanged when the
// file name does not hold it).
QString withoutSourceExtension(const QString& path, const QString& extension);

// The first `bytes` bytes of a file; empty when it cannot be read.
QByteArray readFileStart(const QString& file, qsizetype bytes);

// `dir` & "/" & `name`, without doubling the separator of the root "/".
QString joinPath(const QString& dir, const QString& name);

// Morvane's folder in the user's state folder ($XDG_STATE_HOME, else
// ~/.local/state): the run journal and the links to awkwardly named folders.
QString userStateFolder();

} // namespace morvane
