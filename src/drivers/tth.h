#pragma once

#include "pipeline/route.h"

#include <QByteArray>
#include <QString>

namespace morvane {

struct AppContext;
struct Conversion;
class OptionsModel;

// The TtH tab's options.
struct TthOptions {
    bool italics = false;        // chkItalics: "-i"
    bool inlineGraphics = false; // chkInline: " -e2"
    bool numberMulti = false;    // chkNumber: " -n"
    bool revise = false;         // chkRevise: remove the @hour block from the page

    static TthOptions from(const OptionsModel& model);
};

// TtH's options: "-i", " -e2", " -n" in that order.
QString tthOptions(const TthOptions& options);

// True when the first 4000 bytes of a page hold the "<title>@hour</title>"
// block that Revise removes (title, one or two line ends, "@hour@minute1060").
// TtH 4 writes about 1 KB of style sheets in front of the title, so the
// window reaches well past them.
bool hasHourBlock(const QByteArray& pageStart);

// The page without the "<title>@hour</title>" line and the 21 lines after it.
QByteArray withoutHourBlock(const QByteArray& page);

// TtH's messages without blank lines and without the progress lines it
// writes on every run ("Including LaTeX commands", "Number of lines processed
// approximately N", the title it chose, the missing .aux file, the index it
// made with makeindex).
QByteArray withoutRoutineTthLines(const QByteArray& messages);

// True when TtH's messages (the log after its header) report problems: any
// line remains once the routine progress lines and blank lines are left out.
bool tthLogHasErrors(const QByteArray& messages);

// Removes the @hour block from a TtH page; a page without it is not rewritten.
// The page is replaced atomically.
void Revise(const QString& htmlFile);

// Where the TtH route saves its page: next to the TeX file, as .htm.
OutputPlace tthPlace(const AppContext& ctx, const QString& file);

// The TtH route: runs tth on `source` through the batch driver, gives its log
// a header, revises the page when asked and checks the log.
ConversionResult Tth(Conversion& conv);

} // namespace morvane
