#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace morvane {

// What the TrueTeX + Ghostscript chain's batch files are told.
struct ChainChoices {
    QString gsLib;             // Ghostscript's lib directory
    QString swpDir;            // the TrueTeX directory with initex32.exe
    bool ntFamily = false;     // NT, 2000 or XP rather than 95, 98 or Me
    bool multiLingual = false; // TrueTeX MultiLingual rather than TrueTeX
    int acrobat = 0;           // Acrobat Reader 3, 4 or 5 or later: 0, 1 or 2
    QString printer;           // the PostScript printer printing to FILE:
};

// Ghostscript's root: the lib directory in lower case without "lib", ending
// in its separator ("c:\gs\gs5.50\" for "C:\GS\gs5.50\lib").
QString ghostscriptRoot(const QString& gsLib);

// ps2pdfxx.bat told where gswin32c lives: every "set PS2PDFGS=gswin32c" and
// "%GSC% @_.at @_.at2", in any case, calls it in the root's bin directory.
// All other bytes stay as they are, line ends included.
QByteArray patchedPs2pdf(const QByteArray& text, const QString& root);

// One line of pdfmakegstc.bat as the set-up writes it (without its line
// end): in lower case, with the chain's own lines filled in. Nothing, and
// `error` says why, when a line cannot be filled in.
std::optional<QString> pdfmakegstcLine(const QString& line, const ChainChoices& choices,
                                       QString* error = nullptr);

// pdfmakegstc.bat with every line rewritten; each line keeps its own line
// end (CR LF or LF).
std::optional<QByteArray> rewrittenPdfmakegstc(const QByteArray& text, const ChainChoices& choices,
                                               QString* error = nullptr);

} // namespace morvane
