#pragma once

#include "pipeline/route.h"

#include <QByteArray>
#include <QString>

namespace morvane {

struct AppContext;
struct Conversion;
class OptionsModel;

// convert.sh, the batch driver in the program directory, is shipped with the
// program and never created by it. The program only rewrites its settings
// block: the "set NAME=value" lines between the marker line
// "REM Morvane will be writing text here automatically" and the next line
// that begins "REM **". convert.sh reads those lines as data (it never runs
// them), and is started as
//     /bin/sh convert.sh ROUTE FILE [pause]
// with ROUTE one of hevea, tth, dvi, texify, pdf, tex4ht, latex2html, latexml,
// gspdf.

// Rewrites the settings block of convert.sh with `block` (lines each ending
// in "\n"). Everything outside the block is kept byte for byte and the file is
// replaced atomically; `written` gets the new script. False, after telling
// the user, when the markers are missing or the file cannot be read or written.
bool Writebat(AppContext& ctx, const QString& block, QByteArray* written);
// The same for a conversion: its route's settings block (or `block`) for the
// command line, composed from the conversion's options, followed by the
// conversion's own lines (conversionSettings); the script as written is kept
// for that conversion's run.
bool Writebat(Conversion& conversion, const QString& commandLine, SettingsBlock block = nullptr);
// The lines a conversion adds to its route's block: "docdir", the folder of
// the user's document that TeX, BibTeX, makeindex and the converter search
// after their own (Conversion::documentFolder), and "standins", the folder of
// stand-ins put first in the converter's PATH (Conversion::standInPrograms),
// and "prepared", the private folder holding the document's prepared .aux,
// .bbl and .ind for HeVeA and TtH (Conversion::preparedFolder).
// convert.sh puts them into the converter's environment; a folder that a
// search path cannot name (a ':' separates entries, '$', '{', '}' and '!'
// mean something in it, a line break would end the setting) is left out.
QString conversionSettings(const Conversion& conversion);
// One "set NAME=value" line of the settings block, for the routes that
// write their block themselves; a line break in the value becomes a blank.
QString settingLine(const QString& name, const QString& value);
// Whether `folder` can be an entry of a TeX search path or of PATH as it is.
bool usableInSearchPath(const QString& folder);
// The same with the block of a writer key ("hevea", "tth", "texify",
// "tex4ht", "l2h", "gspdf"; any other key writes an empty block), composed
// from the live options.
bool Writebat(AppContext& ctx, const QString& commandLine, const QString& writerKey);

// The settings blocks, each line ending in "\n". Paths are written as they
// are (never lower-cased).
QString heveaSettings(const AppContext& ctx, const OptionsModel& options,
                      const QString& commandLine);
QString tthSettings(const AppContext& ctx, const OptionsModel& options, const QString& commandLine);
QString texifySettings(const AppContext& ctx, const OptionsModel& options,
                       const QString& commandLine);
QString tex4htSettings(const AppContext& ctx, const OptionsModel& options,
                       const QString& commandLine);
QString l2hSettings(const AppContext& ctx, const OptionsModel& options, const QString& commandLine);
// pandoc's: its folder, its options and the citation style file.
QString pandocSettings(const AppContext& ctx, const OptionsModel& options,
                       const QString& commandLine);
QString gspdfSettings(const AppContext& ctx, const OptionsModel& options,
                      const QString& commandLine);
// The block of a writer key; nullptr for an unknown key.
SettingsBlock settingsBlockNamed(const QString& writerKey);
// The settings block lines for a writer key, as Writebat would write them.
//
// The "tex4ht" block is composed from the model:
//   items("tex4htArgs")  the six pieces of the TeX4ht command (program, htrun
//                        switch, base name, passes, option list, tex4ht
//                        argument); missing pieces count as empty;
//   chkHtrun, chkSWP     htrun and the htrun directory (htruns or htrunm);
//   text("txt3")         the command line box; it replaces the composed
//                        command unless the box is locked. It counts as
//                        locked unless tag("txt3Locked") is "no".
QString settingsBlock(const AppContext& ctx, const QString& commandLine, const QString& writerKey);

// Ghostscript's program directory for its library directory: every "/lib"
// turned into "/bin" when the result holds the program `gs`, else the library
// directory unchanged.
QString ghostscriptProgramDir(const QString& libraryDir);

// Ghostscript's fonts directory for its library directory: for a versioned
// folder such as /gs/gs5.50/lib, the text up to and including the "/" before
// "gs5.50" followed by "fonts" (/gs/fonts); otherwise the library directory.
QString ghostscriptFontsDir(const QString& libraryDir);

// The start-up check that recognises an old convert.sh: tells the user and
// disables chkHacha and chkTex4htPause, and clears and disables chkHtrun.
void checkBatchDriverVersion(AppContext& ctx);

// The old-version finding for a convert.sh text (empty when the text is
// current); `htrunConfigured` is true when an htrun location is set.
QString oldBatchDriverReason(const QByteArray& text, bool htrunConfigured);

} // namespace morvane
