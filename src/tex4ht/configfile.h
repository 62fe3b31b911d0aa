#pragma once

#include <QString>

namespace morvane {

// The program's own TeX4ht configuration files (qvconfig.cfg, qvconfig-xh.cfg,
// qvconfig-xhm.cfg, qvconfig-mz.cfg) and the edits of the editor that
// shows them.

// The file named by the caption of the advanced dialog's `cmdConfig`: the
// text after "Edit " without its "&" ("Edit qvc&onfig-xh.cfg" gives
// "qvconfig-xh.cfg").
QString configFileFromCaption(const QString& caption);

// The part of a file name from its first "-" up to ".cfg"; empty when the
// name has no "-".
QString configSuffix(const QString& fileName);

// "HTML", "Bitmap Maths", "MathML" or "MathML Mozilla" for a suffix.
QString configDisplayName(const QString& suffix);

// A new configuration file for the suffix: the \Preamble line, room for
// the user's preamble and beginning code, and the lines that read the
// document's own .cfg and .cfh files afterwards.
QString configSkeleton(const QString& suffix);

// The editor's explanation of the file it shows.
QString configExplanation(const QString& fileName);

// Where an inserted snippet goes.
enum class SnippetPlace { AfterCursorLine, InPreamble, InDocument };

// The text with `snippet` as new lines below the anchor's line: the line
// with the cursor, the first "\Preamble" line or the first
// "\begin{document}" line (the cursor's line when that text is missing).
// A line ends with "\n" or "\r\n"; when the anchor's line is the last one,
// a line end and the snippet are appended.
QString withSnippetInserted(const QString& text, const QString& snippet, SnippetPlace place,
                            qsizetype cursor);

// The text as OK writes it: ending with one line end, so that opening and
// saving again does not add an empty line each time.
QString configFileContent(const QString& text);

} // namespace morvane
