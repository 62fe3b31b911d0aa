#include "pipeline/resultdisplay.h"

#include "pipeline/appcontext.h"
#include "pipeline/convertcommand.h"
#include "pipeline/pathutils.h"
#include "pipeline/savedpath.h"
#include "platform/prompter.h"
#include "platform/shell.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace morvane {

namespace {

const QString logButton = QStringLiteral("cmdLog");

// The page the program shows itself (update notes); showing it never ends
// the program.
bool isProgramPage(const AppContext& ctx, const QString& file) {
    return file == ctx.programDir + QStringLiteral("/tex.htm");
}

} // namespace

void RunIE(AppContext& ctx, QString htmlFile) {
    const QFileInfo info(htmlFile);
    if (!info.exists()) {
        ctx.prompter->tell(htmlFile + QStringLiteral(" not found!"), QStringLiteral("No HTML File"),
                           Icon::Exclamation);
        return;
    }
    if (info.size() == 0) {
        ctx.prompter->tell(htmlFile + QStringLiteral(" is empty!"),
                           QStringLiteral("Empty HTML File"), Icon::Exclamation);
        return;
    }
    if (ctx.model->index(QStringLiteral("optIE")) == 1) {
        ShowInWebBrowser(ctx, htmlFile);
    } else {
        const bool opened = ctx.shell && ctx.shell->open(htmlFile);
        // Ending the program only makes sense when the page really reached the
        // browser; otherwise the user would lose the program and see nothing.
        if (opened && ctx.model->checkValue(QStringLiteral("chkClose")) == 1 &&
            !isProgramPage(ctx, htmlFile) && ctx.quitProgram) {
            ctx.quitProgram();
            return;
        }
    }
    ctx.model->setEnabled(QStringLiteral("cmdShow"), true);
}

void ShowInWebBrowser(AppContext& ctx, QString& htmlFile) {
    htmlFile = longPathOf(htmlFile);
    if (ctx.viewer)
        ctx.viewer->show(htmlFile);
}

void cmdShow_Click(AppContext& ctx) {
    SavedPath(ctx);
    const int tab = ctx.selectedTab();
    if (tab >= TabHevea && tab <= TabL2h)
        RunIE(ctx, ctx.expectedOutput);
    else if ((tab == TabDvi || tab == TabPdf) && ctx.shell)
        ctx.shell->open(ctx.expectedOutput);
}

void cmdLog_Click(AppContext& ctx) {
    const QString log = currentLogFile(ctx);
    if (log.isEmpty() || !ctx.shell)
        return;
    const QString editor = ctx.vars.editor;
    if (!editor.isEmpty()) {
        // The editor gets the log as one argument: no quoting needed, and a
        // blank in the path cannot split it.
        if (!ctx.shell->startDetached(editor, {log}))
            ctx.prompter->tell(QStringLiteral("Can't start the editor ") + editor +
                                   QStringLiteral("."),
                               QStringLiteral("View Log"), Icon::Exclamation);
        return;
    }
    if (ctx.shell->open(log))
        return;
    // No program is associated with the log's type: use a plain-text editor.
    const QString notepad = ctx.shell->notepad();
    if (notepad.isEmpty() || !ctx.shell->startDetached(notepad, {log}))
        ctx.prompter->tell(QStringLiteral("No text editor was found to show ") + log +
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
    QSaveFile out(logFile);
    if (!out.open(QIODevice::WriteOnly))
        return std::nullopt;
    out.write(header.toUtf8() + "\n\n");
    out.write(messages);
    if (!out.commit())
        return std::nullopt;
    return messages;
}

void addLogHeader(AppContext&, const QString& logFile, const QString& header) {
    QFile in(logFile);
    if (!in.open(QIODevice::ReadOnly) || in.peek(1000).contains("log file for"))
        return;
    in.close();
    prependLogHeader(logFile, header);
}

void checkLog(AppContext& ctx, const QString& logFile, const QString& header) {
    const QFileInfo info(logFile);
    if (!info.exists())
        return;
    const qint64 headerLength = (header + QStringLiteral("\n\n")).toUtf8().size();
    // A log holding at most 50 characters beyond its header counts as clean.
    if (info.size() - headerLength < 51) {
        ResetcmdLog(ctx);
        return;
    }
    ctx.model->setCaption(logButton, QStringLiteral("Errors in &Log"));
    ctx.model->setBold(logButton, true);
}

void updateCloseEnabled(AppContext& ctx) {
    ctx.model->setEnabled(QStringLiteral("chkClose"),
                          ctx.model->isChecked(QStringLiteral("chkIE")) &&
                              ctx.model->index(QStringLiteral("optIE")) == 0);
}

} // namespace morvane
