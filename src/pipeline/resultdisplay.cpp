#include "pipeline/resultdisplay.h"

#include "pipeline/nothingproduced.h"
#include "platform/atomicfile.h"

#include "pipeline/appcontext.h"
#include "pipeline/conversion.h"
#include "pipeline/convertcommand.h"
#include "pipeline/logparsers.h"
#include "pipeline/savedpath.h"
#include "platform/pathutils.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "settings/controlnames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace morvane {

namespace {

const ctl::Control logButton = ctl::cmdLog;

// The pages the program shows itself (the update check writes update.htm);
// showing them never ends the program.
bool isProgramPage(const AppContext& ctx, const QString& file) {
    return file == ctx.programDir + QStringLiteral("/tex.htm") ||
           file == ctx.programDir + QStringLiteral("/update.htm");
}

} // namespace

QString openFailureText(const QString& file) {
    return QStringLiteral("Morvane could not open ") + file +
           QStringLiteral(".\n\nNo program for this kind of file was found: check the "
                          "desktop's default applications (xdg-open).");
}

QString viewerFailureText(const OpenFailure& failure) {
    const QString who =
        failure.program.isEmpty()
            ? QStringLiteral("The program the desktop started for it")
            : QStringLiteral("The desktop's program for it (%1)").arg(failure.program);
    return QStringLiteral("Morvane could not open ") + failure.file + QStringLiteral(".\n\n") +
           who + QStringLiteral(" failed:\n") + failure.error;
}

bool openWithDesktop(AppContext& ctx, const QString& file) {
    if (ctx.seams.shell && ctx.seams.shell->open(file))
        return true;
    if (ctx.seams.prompter)
        ctx.seams.prompter->tell(openFailureText(file), QStringLiteral("Open File"),
                                 Icon::Exclamation);
    return false;
}

void RunIE(AppContext& ctx, QString htmlFile) {
    const QFileInfo info(htmlFile);
    if (!info.exists()) {
        ctx.seams.prompter->tell(htmlFile + QStringLiteral(" not found!"),
                                 QStringLiteral("No HTML File"), Icon::Exclamation);
        return;
    }
    if (info.size() == 0) {
        ctx.seams.prompter->tell(htmlFile + QStringLiteral(" is empty!"),
                                 QStringLiteral("Empty HTML File"), Icon::Exclamation);
        return;
    }
    if (ctx.model->index(ctl::optIE) == 1) {
        ShowInWebBrowser(ctx, htmlFile);
    } else {
        const bool opened = openWithDesktop(ctx, htmlFile);
        // Ending the program only makes sense when the page really reached the
        // browser; otherwise the user would lose the program and see nothing.
        if (opened && ctx.model->checkValue(ctl::chkClose) == 1 && !isProgramPage(ctx, htmlFile) &&
            ctx.seams.quitProgram) {
            ctx.seams.quitProgram();
            return;
        }
    }
    ctx.model->setEnabled(ctl::cmdShow, true);
}

void ShowInWebBrowser(AppContext& ctx, QString& htmlFile) {
    htmlFile = longPathOf(htmlFile);
    if (ctx.seams.viewer)
        ctx.seams.viewer->show(htmlFile);
}

namespace {

// Web pages go to the browser chosen on the tab; DVI and PDF files, and the
// office documents and e-books of a web route, to their associated program.
bool isDocumentOrBook(const QString& file) {
    const QString suffix = QFileInfo(file).suffix().toLower();
    return suffix == QStringLiteral("odt") || suffix == QStringLiteral("epub") ||
           suffix == QStringLiteral("docx");
}

bool isWebPage(const Route& route, const QString& file) {
    return route.shows == ResultKind::WebPage && !isDocumentOrBook(file) &&
           !(route.opensWithDesktop && route.opensWithDesktop(file));
}

void showResult(AppContext& ctx, const Route& route, const QString& file) {
    if (isWebPage(route, file))
        RunIE(ctx, file);
    else
        openWithDesktop(ctx, file);
}

// The log's errors and warnings go to the window's list (or standard error)
// also when the run produced nothing: that is when they matter most. They
// stay with the result, whose batch status they decide.
void showLogEntries(AppContext& ctx, Conversion& conversion) {
    ConversionResult& result = conversion.result;
    LogEntries entries = conversion.preparationEntries;
    if (!result.log.isEmpty())
        entries += readRouteLog(conversion.route.parseLog, result.log, conversion.document);
    // The converter's own LaTeX runs repeat what the preparation found.
    LogEntries once;
    for (const LogEntry& entry : entriesInOriginals(entries, result.copied))
        if (!once.contains(entry))
            once.append(entry);
    result.entries = once;
    if (ctx.seams.showLogEntries)
        ctx.seams.showLogEntries(result.entries);
}

// A log header or a page's fix-up that could not be written is said, not
// passed over: the log would be read without it, the pages keep bad links.
void tellFailedRewrites(AppContext& ctx, const QStringList& failures) {
    if (failures.isEmpty() || !ctx.seams.prompter)
        return;
    ctx.seams.prompter->tell(
        QStringLiteral("Morvane could not rewrite these files after the conversion, so their "
                       "log headers or link fix-ups are missing:\n\n") +
            failures.join(QLatin1Char('\n')),
        QStringLiteral("Convert TeX File"), Icon::Exclamation);
}

// A run that produced nothing for a reason outside the converter (a full
// disk, a folder that cannot be written, a damaged convert.sh) says so: the
// log would only hold its header.
void tellCauseOfNothingProduced(AppContext& ctx, const Conversion& conversion) {
    if (conversion.result.produced || conversion.stopped || !ctx.seams.prompter)
        return;
    const QString cause = causeOfNothingProduced(ctx.batchDriverPath(), conversion.expectedOutput,
                                                 conversion.route.scriptRoute);
    if (cause.isEmpty())
        return;
    ctx.seams.prompter->tell(QStringLiteral("The conversion produced no ") +
                                 QDir::toNativeSeparators(conversion.expectedOutput) +
                                 QStringLiteral(": ") + cause + QLatin1Char('.'),
                             QStringLiteral("Convert TeX File"), Icon::Exclamation);
}

} // namespace

void cmdShow_Click(AppContext& ctx) {
    SavedPath(ctx);
    if (const Route* route = ctx.selectedRoute())
        showResult(ctx, *route, ctx.expectedOutput);
}

void finishConversion(AppContext& ctx, Conversion& conversion) {
    const Route& route = conversion.route;
    const ConversionResult& result = conversion.result;
    if (!result.log.isEmpty())
        ctx.logs[route] = result.log;
    tellFailedRewrites(ctx, result.failedRewrites);
    showLogEntries(ctx, conversion);
    tellCauseOfNothingProduced(ctx, conversion);
    // A run that ended before its converter finished shows nothing.
    if (result.output.isEmpty())
        return;
    ctx.expectedOutput = result.output;

    OptionsModel& model = *ctx.model;
    // Show follows the result after every run. A document (DVI, PDF, a JATS
    // article) is opened only when this run produced it: an earlier one, or
    // none, would be opened as if it were the result. A page goes to RunIE,
    // which says itself when there is none.
    model.setEnabled(ctl::cmdShow, QFileInfo::exists(result.output));
    const bool page = route.shows == ResultKind::WebPage &&
                      !(route.opensWithDesktop && route.opensWithDesktop(result.output));
    if (model.checkValue(ctl::chkIE) == 1 && (page || result.produced))
        showResult(ctx, route, result.output);

    switch (result.verdict) {
    case LogVerdict::Clean:
        ResetcmdLog(ctx);
        break;
    case LogVerdict::Errors:
        model.setCaption(logButton, QStringLiteral("Errors in &Log"));
        model.setBold(logButton, true);
        break;
    case LogVerdict::Unchanged:
        break;
    }
}

void cmdLog_Click(AppContext& ctx) {
    const QString log = currentLogFile(ctx);
    if (log.isEmpty() || !ctx.seams.shell)
        return;
    const QString editor = ctx.settings.vars.editor;
    if (!editor.isEmpty()) {
        // The editor gets the log as one argument: no quoting needed, and a
        // blank in the path cannot split it.
        if (!ctx.seams.shell->startDetached(editor, {log}))
            ctx.seams.prompter->tell(QStringLiteral("Can't start the editor ") + editor +
                                         QStringLiteral("."),
                                     QStringLiteral("View Log"), Icon::Exclamation);
        return;
    }
    if (ctx.seams.shell->open(log))
        return;
    // No program is associated with the log's type: use a plain-text editor.
    const QString notepad = ctx.seams.shell->notepad();
    if (notepad.isEmpty() || !ctx.seams.shell->startDetached(notepad, {log}))
        ctx.seams.prompter->tell(QStringLiteral("No text editor was found to show ") + log +
                                     QStringLiteral("."),
                                 QStringLiteral("View Log"), Icon::Exclamation);
}

void ResetcmdLog(AppContext& ctx) {
    ctx.model->setCaption(logButton, QStringLiteral("View &Log"));
    ctx.model->setBold(logButton, false);
}

std::optional<QByteArray> prependLogHeader(const QString& logFile, const QString& header) {
    QFile in(logFile);
    if (!in.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray messages = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return std::nullopt;
    in.close();

    // The new log is written beside the old one and renamed over it, so a
    // failure part-way leaves the converter's log as it was.
    if (!replaceFileAtomically(logFile, header.toUtf8() + "\n\n" + messages, Durability::NoWait))
        return std::nullopt;
    return messages;
}

void updateCloseEnabled(AppContext& ctx) {
    ctx.model->setEnabled(ctl::chkClose,
                          ctx.model->isChecked(ctl::chkIE) && ctx.model->index(ctl::optIE) == 0);
}

} // namespace morvane
