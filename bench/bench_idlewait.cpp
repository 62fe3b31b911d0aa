// Processor time the front end uses while a converter runs (goal: under 1 %
// of one core). A converter that only waits runs for MORVANE_IDLE_SECONDS
// (default 60) seconds:
//  - in the window's command runner, single and multiple mode, in this
//    process, with the window's console (elapsed time, quiet time) and the
//    run's time and memory watch; the converter is a group of processes
//    (sh, sleep, cat) as convert.sh makes one;
//  - in batch mode: morvane --convert=tth with a tth that sleeps, its own
//    processor time read from /proc/PID/stat between the second second and
//    the last but one.
// Each figure is the front end's processor time over the wall time it was
// measured for.

#include "pipeline/appcontext.h"
#include "pipeline/commandrunner.h"
#include "pipeline/conversion.h"
#include "platform/launcher.h"
#include "platform/prompter.h"
#include "settings/controlnames.h"
#include "support/doubles.h"
#include "ui/consolewindow.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <sys/resource.h>
#include <unistd.h>

using namespace morvane;

namespace {

int idleSeconds() {
    const int seconds = qEnvironmentVariableIntValue("MORVANE_IDLE_SECONDS");
    return seconds > 2 ? seconds : 60;
}

double ownProcessorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// User and system time of process `pid` alone (not its children), from
// /proc/PID/stat; -1 when it has gone.
double processorSecondsOf(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    // Fields 14 and 15 of the line; the list starts at field 3.
    if (fields.size() < 13)
        return -1;
    return (fields[11].toDouble() + fields[12].toDouble()) / double(sysconf(_SC_CLK_TCK));
}

void report(benchmark::State& state, double percent) {
    state.counters["front_end_cpu_pct"] = percent;
    state.SetLabel(QStringLiteral("%1 s converter; goal: under 1 % of a core")
                       .arg(idleSeconds())
                       .toStdString());
}

// The window's runner, single or multiple mode, with the window's console.
void windowWait(benchmark::State& state, bool multiple) {
    OptionsModel model;
    ScriptedPrompter prompter;
    QProcessLauncher launcher;
    QtConsoleFactory consoles;
    AppContext ctx;
    ctx.model = &model;
    ctx.seams.prompter = &prompter;
    ctx.seams.launcher = &launcher;
    ctx.seams.consoles = &consoles;
    model.setChecked(ctl::chkMulti, multiple);
    const Route& route = builtInRoutes().front();
    const QString command = QStringLiteral("/bin/sh -c \"sleep %1 | cat\"").arg(idleSeconds());
    for (auto _ : state) {
        Conversion conversion(ctx, route, QStringLiteral("/docs/paper.tex"));
        const double cpu = ownProcessorSeconds();
        QElapsedTimer wall;
        wall.start();
        runCommand(conversion, command, QDir::tempPath());
        report(state, 100.0 * (ownProcessorSeconds() - cpu) / (wall.nsecsElapsed() / 1e9));
    }
}

void BM_WindowSingleModeWait(benchmark::State& state) {
    windowWait(state, false);
}
BENCHMARK(BM_WindowSingleModeWait)->Iterations(1)->Unit(benchmark::kSecond);

void BM_WindowMultipleModeWait(benchmark::State& state) {
    windowWait(state, true);
}
BENCHMARK(BM_WindowMultipleModeWait)->Iterations(1)->Unit(benchmark::kSecond);

void BM_BatchModeWait(benchmark::State& state) {
    QTemporaryDir home;
    QTemporaryDir work;
    const QDir data(QStringLiteral(MORVANE_SOURCE_DIR "/data"));
    for (const QString& name : data.entryList(QDir::Files))
        QFile::copy(data.filePath(name), home.filePath(name));
    // A tth that sleeps, found through the TtH route's program location.
    QDir(home.path()).mkdir(QStringLiteral("fake"));
    const QString fake = home.filePath(QStringLiteral("fake/tth"));
    QFile script(fake);
    if (!script.open(QIODevice::WriteOnly)) {
        state.SkipWithError("cannot write the stand-in tth");
        return;
    }
    script.write("#!/bin/sh\nexec sleep " + QByteArray::number(idleSeconds()) + "\n");
    script.close();
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QFile ini(home.filePath(QStringLiteral("Morvane.ini")));
    ini.open(QIODevice::ReadOnly);
    QByteArray text = ini.readAll();
    ini.close();
    text.replace("\nTth=/usr/bin\n",
                 "\nTth=" + home.filePath(QStringLiteral("fake")).toUtf8() + "\n");
    ini.open(QIODevice::WriteOnly | QIODevice::Truncate);
    ini.write(text);
    ini.close();
    QFile tex(work.filePath(QStringLiteral("paper.tex")));
    tex.open(QIODevice::WriteOnly);
    tex.write("\\documentclass{article}\\begin{document}A\\end{document}\n");
    tex.close();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MORVANE_HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), work.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_STATE_HOME"), work.filePath(QStringLiteral("state")));
    for (auto _ : state) {
        QProcess morvane;
        morvane.setProcessEnvironment(env);
        morvane.setWorkingDirectory(work.path());
        morvane.setStandardOutputFile(QProcess::nullDevice());
        morvane.setStandardErrorFile(QProcess::nullDevice());
        morvane.start(QStringLiteral(MORVANE_BUILD_PROGRAM_DIR "/morvane"),
                      {QStringLiteral("--convert=tth"), QStringLiteral("paper.tex")});
        if (!morvane.waitForStarted()) {
            state.SkipWithError("morvane did not start");
            return;
        }
        // From the second second (the start and the converter's start are
        // behind) to the last but one (the ending is not yet).
        QThread::sleep(2);
        const double cpu = processorSecondsOf(morvane.processId());
        QElapsedTimer wall;
        wall.start();
        QThread::sleep(idleSeconds() - 3);
        const double after = processorSecondsOf(morvane.processId());
        const double seconds = wall.nsecsElapsed() / 1e9;
        morvane.waitForFinished(-1);
        if (cpu < 0 || after < 0) {
            state.SkipWithError("morvane ended before the converter");
            return;
        }
        report(state, 100.0 * (after - cpu) / seconds);
    }
}
BENCHMARK(BM_BatchModeWait)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv) {
    // The console windows need a screen; none is shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
