#include "pipeline/commandrunner.h"

#include "platform/privatefile.h"
#include "platform/runjournal.h"

#include "pipeline/appcontext.h"
#include "pipeline/conversion.h"
#include "platform/inputblocker.h"
#include "platform/launcher.h"
#include "platform/logfollower.h"
#include "platform/pathutils.h"
#include "platform/processgroup.h"
#include "platform/prompter.h"
#include "platform/runlimits.h"
#include "settings/controlnames.h"
#include "settings/limitsettings.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <algorithm>
#include <memory>
#include <utility>

namespace morvane {

namespace {

const ctl::Control kMulti = ctl::chkMulti;
const ctl::Control kWarning = ctl::chkWarning;
const ctl::Control kConvert = ctl::cmdConvert;
const ctl::Control kProcesses = ctl::lstProcesses;
const ctl::Control kFileBox = ctl::cmbTeX;

// The longest single argument Linux passes to a program (MAX_ARG_STRLEN, 32
// pages of 4 KiB). The DOS limit of 127 characters does not apply here: a
// line that fits into this has no argument that could be refused.
constexpr qsizetype kMaxArgumentBytes = 131072;

// One started command: its console (if any) and its process. The process is
// declared last so that it goes first, before the console that shows it.
struct Run {
    // A temporary folder of the run's own, given to the converter as TMPDIR:
    // what the script and the converters put there (latex2html's l2hNNNN
    // folders, mktemp files) goes with it, also after a kill.
    // The script's private copy lies in it too.
    std::unique_ptr<PrivateFolder> temporaries;
    std::unique_ptr<Console> console;
    std::unique_ptr<QProcess> process;
    // Ends the run at its time or memory limit; it goes before the process
    // it watches.
    std::unique_ptr<LimitWatch> limits;
    // Shows the converter's log on the console; it goes first.
    std::unique_ptr<LogFollower> messages;
    bool pause = false;
};

// The batch driver this run executes: as Writebat wrote it for the run, or,
// for a run whose settings need no writing, the shared script as it is now;
// empty when the command does not run the batch driver.
QByteArray batchDriverOfRun(Conversion& conversion, const QString& commandLine) {
    QByteArray script = std::exchange(conversion.writtenBatchDriver, QByteArray());
    const QStringList parts = QProcess::splitCommand(commandLine);
    if (parts.isEmpty() || parts.first() != conversion.app.batchDriverPath())
        return {};
    if (script.isEmpty()) {
        QFile shared(parts.first());
        if (shared.open(QIODevice::ReadOnly))
            script = shared.readAll();
    }
    return script;
}

// A private copy of the run's batch driver in the run's own temporary
// folder, so that the run executes exactly that text even when another run
// rewrites the shared script meanwhile; empty when there is none (or when
// the copy cannot be written: the shared script then runs, as before).
QString privateScriptFor(const QByteArray& script, const PrivateFolder& temporaries) {
    if (script.isEmpty())
        return {};
    return temporaries.writeNewFile(QStringLiteral("convert.sh"), script);
}

// A batch driver of this version starts its group's watcher itself when it is
// given the lifeline; an older or edited one without that step gets the
// watcher the launcher starts.
void letScriptWatch(const QByteArray& script, LaunchChannels& channels) {
    const int lifeline = lifelineForScript();
    if (lifeline < 0 || !script.contains("\nwatch_lifeline\n"))
        return;
    channels.environment.append(QStringLiteral("MORVANE_LIFELINE=") + QString::number(lifeline));
    channels.scriptWatchesLifeline = true;
}

// A run ended by the console's Stop, by a stop request or by a limit counts
// as stopped.
void noteStop(Conversion& conversion, const Run& run) {
    if ((run.console && run.console->wasStopped()) || stopWasRequested())
        conversion.stopped = true;
    if (run.limits)
        conversion.peakMemoryBytes = std::max(conversion.peakMemoryBytes, run.limits->peakBytes());
    if (run.limits && run.limits->reached() != LimitReached::None) {
        conversion.stopped = true;
        conversion.limitReached = run.limits->reached();
    }
}

// A follower of the converter's log for the run's console, when it has both.
std::unique_ptr<LogFollower> messagesFollower(const Run& run, const QString& messagesLog) {
    Console* console = run.console.get();
    if (!console || messagesLog.isEmpty())
        return nullptr;
    return std::make_unique<LogFollower>(
        messagesLog, [console](const QByteArray& bytes) { console->showMessages(bytes); });
}

Run startRun(Conversion& conversion, const QString& commandLine, const QString& workingDirectory,
             const QString& messagesLog) {
    AppContext& ctx = conversion.app;
    Run run;
    if (!ctx.seams.launcher)
        return run;
    run.pause = asksForPause(commandLine);
    if (ctx.seams.consoles) {
        run.console.reset(ctx.seams.consoles->create(commandLine));
        run.console->describe(consoleTitle(conversion));
    }

    LaunchChannels channels;
    // Without a console nobody could answer the pause: the script then reads
    // end of file and goes on instead of waiting for ever.
    channels.keepInputOpen = run.pause && run.console;
    channels.discardOutput = !run.console;
    run.temporaries = std::make_unique<PrivateFolder>(QStringLiteral("morvane-run-XXXXXX"));
    if (run.temporaries->isValid()) {
        // MORVANE_RUN_FOLDER tells the script that TMPDIR is the run's alone:
        // it makes its temporary files there itself and leaves them to us.
        channels.environment.append(QStringLiteral("TMPDIR=") + run.temporaries->path());
        channels.environment.append(QStringLiteral("MORVANE_RUN_FOLDER=") +
                                    run.temporaries->path());
    }
    const QByteArray script = batchDriverOfRun(conversion, commandLine);
    channels.scriptInstead = privateScriptFor(script, *run.temporaries);
    if (!channels.scriptInstead.isEmpty())
        letScriptWatch(script, channels);
    // Every run has the limits in force when it starts (the preparation
    // step's run has its own).
    conversion.limits = runLimitsOf(ctx.settings.vars);
    channels.addressSpaceCap = addressSpaceBackstop(conversion.limits.memoryBytes);
    run.messages = messagesFollower(run, messagesLog);
    run.process.reset(ctx.seams.launcher->start(commandLine, workingDirectory, nullptr, channels));
    if (!run.process)
        return run;
    run.limits = std::make_unique<LimitWatch>(*run.process, conversion.limits);
    // Before the console's attach: the rest of the log is shown before the
    // console learns that the run has ended.
    if (run.messages)
        run.messages->follow(*run.process);
    if (run.console)
        run.console->attach(run.process.get(), run.pause);
    return run;
}

// Serves events (as `flags` allow) until the process has finished. Events
// may start further conversions whose own waits then run nested in this one.
void waitForEnd(QProcess& process, QEventLoop::ProcessEventsFlags flags) {
    if (process.state() == QProcess::NotRunning)
        return;
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    loop.exec(flags);
}

QString longLineQuestion(const QString& commandLine) {
    return QStringLiteral("The command line") + QLatin1Char('\n') + commandLine +
           QLatin1Char('\n') + QStringLiteral("has ") + QString::number(commandLine.length()) +
           QStringLiteral(" characters and is more than the maximum length of ") +
           QString::number(kMaxArgumentBytes) + QStringLiteral(" characters.") +
           QStringLiteral("\n\n") +
           QStringLiteral("The DOS program may therefore not work properly.") + QLatin1Char('\n') +
           QStringLiteral("Do you wish to continue?");
}

bool userAcceptsLongLine(AppContext& ctx, const QString& commandLine) {
    if (!ctx.model->isChecked(kWarning) || commandLine.toUtf8().size() <= kMaxArgumentBytes)
        return true;
    return ctx.seams.prompter->ask(longLineQuestion(commandLine),
                                   QStringLiteral("DOS Command Line"), Buttons::YesNo,
                                   Icon::Exclamation, Answer::No) == Answer::Yes;
}

// Single mode: the window takes no input until the process has ended; it may
// repaint, and a console window waiting for Enter still takes its answer.
void runBlocking(Conversion& conversion, const QString& commandLine,
                 const QString& workingDirectory, const QString& messagesLog) {
    if (!userAcceptsLongLine(conversion.app, commandLine))
        return;
    Run run = startRun(conversion, commandLine, workingDirectory, messagesLog);
    if (!run.process)
        return;
    Console* console = run.console.get();
    // The blocker keeps the window's input away; the console's own (Stop,
    // Esc, closing it, the answer to a pause) still reaches it, so every
    // event is served while the converter runs.
    const Prompter* prompter = conversion.app.seams.prompter;
    InputBlocker blocker([console, prompter](const QObject* target) {
        return (console && console->acceptsInput(target)) ||
               (prompter && prompter->isAsking(target));
    });
    // Known while it runs (single mode lists nothing), so that closing the
    // window asks about it.
    const QString outer = std::exchange(conversion.app.runningAlone, conversion.document);
    waitForEnd(*run.process, QEventLoop::AllEvents);
    conversion.app.runningAlone = outer;
    noteStop(conversion, run);
}

// Multiple mode: the process is listed while it runs and events are served,
// so further conversions can start inside the wait.
void trackProcess(AppContext& ctx, QProcess& process, const QString& document) {
    OptionsModel& model = *ctx.model;
    ++ctx.runningProcesses;
    model.setTag(kConvert, QStringLiteral("wait"));
    model.setItems(kProcesses, model.items(kProcesses) << document);

    waitForEnd(process, QEventLoop::AllEvents);

    --ctx.runningProcesses;
    // Entries are not removed one by one: the list empties with the last run.
    if (ctx.runningProcesses == 0)
        model.setItems(kProcesses, {});
    model.setTag(kConvert, QString());
}

void startTrackedProcess(Conversion& conversion, const QString& commandLine,
                         const QString& workingDirectory, const QString& messagesLog) {
    Run run = startRun(conversion, commandLine, workingDirectory, messagesLog);
    if (run.process) {
        trackProcess(conversion.app, *run.process, conversion.document);
        noteStop(conversion, run);
    }
}

} // namespace

void runCommand(Conversion& conversion, const QString& commandLine, const QString& workingDirectory,
                const QString& messagesLog) {
    if (conversion.app.model->isChecked(kMulti))
        startTrackedProcess(conversion, commandLine, workingDirectory, messagesLog);
    else
        runBlocking(conversion, commandLine, workingDirectory, messagesLog);
}

QString consoleTitle(const Conversion& conversion) {
    if (!conversion.stepTitle.isEmpty())
        return conversion.stepTitle;
    return QStringLiteral("Converting ") + fileNameOf(conversion.document) +
           QStringLiteral(" with ") + QLatin1String(conversion.route.caption);
}

void chkMulti_Click(AppContext& ctx) {
    const OptionsModel& model = *ctx.model;
    if (!model.isChecked(kMulti) || !model.tag(kMulti).isEmpty())
        return;
    QString caption = model.caption(kMulti);
    if (caption.isEmpty())
        caption = QStringLiteral("Allow multiple &conversions");
    caption.remove(QLatin1Char('&'));
    const QString text =
        QStringLiteral("There is a small chance that this facility (to convert more than one tex "
                       "file at the same time) could cause unusual effects.") +
        QStringLiteral("\n\n") +
        QStringLiteral("If you have problems with it then you can disable it by unchecking the '") +
        caption + QStringLiteral("' box.") + QStringLiteral("\n\n") +
        QStringLiteral("It can also be disabled by setting ") + QLatin1Char('\n') +
        QStringLiteral("AllowMultiProcess=No") + QLatin1Char('\n') +
        QStringLiteral("in the [Preferences] section of Morvane.ini") + QStringLiteral("\n\n");
    ctx.seams.prompter->tell(text, QStringLiteral("Allow Multiple Conversions"), Icon::Exclamation);
}

} // namespace morvane
