#include "drivers/tth.h"

#include "drivers/referencesfirst.h"
#include "platform/atomicfile.h"

#include "fixups/fixupfiles.h"
#include "pipeline/appcontext.h"
#include "pipeline/batchdriver.h"
#include "pipeline/commandrunner.h"
#include "pipeline/conversion.h"
#include "pipeline/convertcommand.h"
#include "pipeline/outputplace.h"
#include "pipeline/resultdisplay.h"
#include "platform/pathutils.h"
#include "settings/optionsmodel.h"

#include <QFile>
#include <QFileInfo>
#include <optional>

namespace morvane {

namespace {

const QByteArray kHourTitle = QByteArrayLiteral("<title>@hour</title>");
const QByteArray kHourMarker = QByteArrayLiteral("@hour@minute1060");
// Only the start of the page is searched for the block. TtH 4 puts about
// 1 KB of style sheets in front of the title, past a 1000-byte window.
constexpr qsizetype kHourProbeBytes = 4000;
// The title line and the lines that follow it in the block.
constexpr int kHourBlockFollowers = 21;

// Length of the line end at `pos` (LF or CR LF), 0 when there is none.
qsizetype lineEndAt(const QByteArray& text, qsizetype pos) {
    if (text.mid(pos, 1) == "\n")
        return 1;
    if (text.mid(pos, 2) == "\r\n")
        return 2;
    return 0;
}

// How a routine line is recognised: by its start, and for makeindex's
// summaries also by the "nothing went wrong" part of it.
struct RoutineLine {
    QByteArrayView start;
    QByteArrayView alsoHolds;
};

// What TtH says on every run, and what makeindex says when TtH runs it for a
// document with an index. Problems begin with "****" (or are makeindex's
// "!!" lines), and every other message still counts.
constexpr RoutineLine kRoutineLines[] = {
    {"Including LaTeX commands", {}},
    {"No auxiliary LaTeX file found: ", {}},
    {"HTML Title constructed as:", {}},
    {"Number of lines processed approximately ", {}},
    {"Opened index file: ", {}},
    {"Closing index file and processing ...", {}},
    {"This is makeindex, version ", {}},
    {"Scanning style file ", {}},
    {"Scanning input file ", ", 0 rejected)"},
    {"Sorting entries...", {}},
    {"Generating output file ", ", 0 warnings)"},
    {"Output written in ", {}},
    {"Transcript written in ", {}},
};

bool isRoutineLine(QByteArrayView line) {
    for (const RoutineLine& routine : kRoutineLines) {
        if (line.startsWith(routine.start) &&
            (routine.alsoHolds.isEmpty() || line.contains(routine.alsoHolds)))
            return true;
    }
    return false;
}

} // namespace

TthOptions TthOptions::from(const OptionsModel& model) {
    TthOptions options;
    options.italics = model.isChecked(ctl::chkItalics);
    options.inlineGraphics = model.isChecked(ctl::chkInline);
    options.numberMulti = model.isChecked(ctl::chkNumber);
    options.revise = model.isChecked(ctl::chkRevise);
    return options;
}

QString tthOptions(const TthOptions& options) {
    QString line;
    if (options.italics)
        line = QStringLiteral("-i");
    if (options.inlineGraphics)
        line += QStringLiteral(" -e2");
    if (options.numberMulti)
        line += QStringLiteral(" -n");
    return line;
}

bool hasHourBlock(const QByteArray& pageStart) {
    const QByteArray probe = pageStart.left(kHourProbeBytes);
    for (qsizetype at = probe.indexOf(kHourTitle); at >= 0;
         at = probe.indexOf(kHourTitle, at + 1)) {
        qsizetype pos = at + kHourTitle.size();
        // One or two line ends between the title and the marker.
        for (int ends = 1; ends <= 2; ++ends) {
            const qsizetype end = lineEndAt(probe, pos);
            if (end == 0)
                break;
            pos += end;
            if (probe.mid(pos, kHourMarker.size()) == kHourMarker)
                return true;
        }
    }
    return false;
}

QByteArray withoutHourBlock(const QByteArray& page) {
    QByteArray kept;
    kept.reserve(page.size());
    int skip = 0;
    qsizetype start = 0;
    while (start < page.size()) {
        qsizetype end = page.indexOf('\n', start);
        end = end < 0 ? page.size() : end + 1;
        const QByteArrayView line(page.constData() + start, end - start);
        if (line.contains(kHourTitle))
            skip = kHourBlockFollowers;
        else if (skip > 0)
            --skip;
        else
            kept.append(line);
        start = end;
    }
    return kept;
}

QByteArray withoutRoutineTthLines(const QByteArray& messages) {
    QByteArray kept;
    qsizetype start = 0;
    while (start < messages.size()) {
        qsizetype end = messages.indexOf('\n', start);
        end = end < 0 ? messages.size() : end + 1;
        QByteArrayView line(messages.constData() + start, end - start);
        const QByteArrayView text = line.endsWith("\r\n") ? line.chopped(2)
                                    : line.endsWith('\n') ? line.chopped(1)
                                                          : line;
        // Blank lines carry no message.
        if (!text.trimmed().isEmpty() && !isRoutineLine(text))
            kept.append(line);
        start = end;
    }
    return kept;
}

bool tthLogHasErrors(const QByteArray& messages) {
    // Any other line counts, however short: "**** Unknown command \\@, (1
    // user-defined) Line 78" is 49 bytes, and an allowance of 50 bytes (room
    // for TtH's own chatter, which is now left out by name) would hide it.
    return !withoutRoutineTthLines(messages).isEmpty();
}

void Revise(const QString& htmlFile) {
    if (!hasHourBlock(readFileStart(htmlFile, kHourProbeBytes)))
        return;
    QFile in(htmlFile);
    if (!in.open(QIODevice::ReadOnly))
        return;
    const QByteArray page = in.readAll();
    in.close();
    replaceFileAtomically(htmlFile, withoutHourBlock(page), Durability::NoWait);
}

OutputPlace tthPlace(const AppContext& ctx, const QString& file) {
    return placeBesideSource(ctx, file, QStringLiteral(".htm"));
}

ConversionResult Tth(Conversion& conv) {
    AppContext& ctx = conv.app;
    const QString& source = conv.source;
    const TthOptions options = TthOptions::from(conv.options);
    const QString dir = PathOnly(source);
    // Letter case is kept: on Linux Paper.tex gives Paper.tlog and Paper.htm.
    const QString base = withoutSourceExtension(source, conv.sourceExtension);
    ConversionResult result;
    result.log = base + QStringLiteral(".tlog");
    // A failed run must not leave the log of an earlier one behind.
    if (QFileInfo::exists(result.log))
        QFile::remove(result.log);

    const PrivatePreparation prepared(conv, ctl::chkPrepareTth,
                                      {.aux = true, .bibliography = true, .index = true});
    if (conv.stopped)
        return result;
    if (!Writebat(conv, tthOptions(options)))
        return result;
    runCommand(conv,
               quoteForCommandLine(ctx.batchDriverPath()) + routeWord(conv) +
                   quoteForCommandLine(base),
               dir, result.log);

    const QString header = QStringLiteral("Tth log file for ") + longPathOf(source);
    std::optional<QByteArray> messages = prependLogHeader(result.log, header);
    // A header that could not be written is reported with the run; the
    // page and the messages are still this run's.
    if (!messages)
        messages = fixups::readFile(result.log);
    if (!messages)
        return result;

    result.output = base + QStringLiteral(".htm");
    if (options.revise)
        Revise(result.output);
    // TtH reports its progress on every run; only what is left beyond that
    // marks View Log, so a clean document shows a plain button.
    result.verdict = tthLogHasErrors(*messages) ? LogVerdict::Errors : LogVerdict::Clean;
    return result;
}

} // namespace morvane
