// The launcher's two costs: processor time burnt while the program waits for a
// converter in multiple mode, and the delay it adds before the converter
// starts. Each is reported next to a baseline measured in the same run: the
// old polling wait (event pump with a zero timeout, no sleep) and QProcess
// starting the same command directly. The delay is measured twice: from
// runCommand alone, and from the Convert command through its checks, the
// HeVeA driver, Writebat and convert.sh to the converter's first instruction.

#include "pipeline/appcontext.h"
#include "pipeline/commandrunner.h"
#include "pipeline/conversion.h"
#include "pipeline/convertcommand.h"
#include "platform/launcher.h"
#include "platform/prompter.h"
#include "settings/controlnames.h"
#include "support/doubles.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <time.h>
#include <vector>

using namespace morvane;

namespace {

double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double wallSeconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Nanoseconds since the epoch: the clock `date +%s%N` prints.
qint64 realtimeNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

struct Runner {
    OptionsModel model;
    ScriptedPrompter prompter;
    QProcessLauncher launcher;
    AppContext ctx;
    const QString document = QStringLiteral("/docs/paper.tex");

    explicit Runner(bool multiple) {
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        ctx.seams.launcher = &launcher;
        model.setChecked(ctl::chkMulti, multiple);
        model.setText(ctl::cmbTeX, document);
    }
};

// Share of one core used by this process while `wait` runs.
template <typename Wait> double corePercentDuring(Wait wait) {
    const double cpu0 = processorSeconds();
    const double wall0 = wallSeconds();
    wait();
    const double wall = wallSeconds() - wall0;
    return 100.0 * (processorSeconds() - cpu0) / wall;
}

void BM_MultipleModeWaitCpu(benchmark::State& state) {
    double ours = 0, polling = 0;
    for (auto _ : state) {
        Runner runner(true);
        ours = corePercentDuring([&] {
            Conversion conversion(runner.ctx, builtInRoutes().front(), runner.document);
            runCommand(conversion, QStringLiteral("/bin/sleep 5"), QString());
        });
        // The classic wait: poll with a zero timeout and pump events.
        polling = corePercentDuring([] {
            QProcess process;
            process.start(QStringLiteral("/bin/sleep"), {QStringLiteral("1")});
            process.waitForStarted();
            while (process.state() != QProcess::NotRunning)
                QCoreApplication::processEvents();
        });
        state.SetIterationTime(5.0);
    }
    state.counters["wait_cpu_pct"] = ours;
    state.counters["polling_baseline_cpu_pct"] = polling;
    state.counters["ratio_to_baseline"] = polling > 0 ? ours / polling : 0;
    std::printf("\nMultiple-mode wait for a 5 s process: %.3f %% of one core "
                "(polling baseline: %.1f %%, goal < 2 %%)\n",
                ours, polling);
}
BENCHMARK(BM_MultipleModeWaitCpu)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// Milliseconds from the call to the child's first instruction of interest:
// `date` prints the wall clock as soon as it runs.
double startDelayMs(const QString& stampFile, const std::function<void()>& launch) {
    QFile::remove(stampFile);
    const qint64 before = realtimeNanoseconds();
    launch();
    QFile stamp(stampFile);
    if (!stamp.open(QIODevice::ReadOnly))
        return -1;
    return double(stamp.readAll().trimmed().toLongLong() - before) / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void startDelay(benchmark::State& state, bool multiple) {
    QTemporaryDir dir;
    const QString stampFile = dir.filePath(QStringLiteral("stamp"));
    const QString script = QStringLiteral("date +%s%N > stamp");
    Runner runner(multiple);
    std::vector<double> ours, direct;
    for (auto _ : state) {
        // Interleaved, so that both see the same machine load.
        ours.push_back(startDelayMs(stampFile, [&] {
            Conversion conversion(runner.ctx, builtInRoutes().front(), runner.document);
            runCommand(conversion, QStringLiteral("/bin/sh -c \"") + script + QLatin1Char('"'),
                       dir.path());
        }));
        direct.push_back(startDelayMs(stampFile, [&] {
            QProcess process;
            process.setWorkingDirectory(dir.path());
            process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script});
            process.waitForFinished();
        }));
        state.SetIterationTime(ours.back() / 1000.0);
    }
    const double oursMs = median(ours), directMs = median(direct);
    state.counters["start_ms"] = oursMs;
    state.counters["direct_qprocess_ms"] = directMs;
    state.counters["added_ms"] = oursMs - directMs;
    state.counters["ratio_to_baseline"] = directMs > 0 ? oursMs / directMs : 0;
    std::printf("\n%s mode: child started %.2f ms after runCommand, %.2f ms after a direct "
                "QProcess start: %.2f ms added (goal < 20 ms)\n",
                multiple ? "Multiple" : "Single", oursMs, directMs, oursMs - directMs);
}

void BM_StartDelaySingleMode(benchmark::State& state) {
    startDelay(state, false);
}
void BM_StartDelayMultipleMode(benchmark::State& state) {
    startDelay(state, true);
}
BENCHMARK(BM_StartDelaySingleMode)->Iterations(25)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartDelayMultipleMode)
    ->Iterations(25)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The Convert command on the HeVeA tab, run to the converter's start: a
// stand-in `hevea` first on PATH stamps the clock, so the real script and
// driver run while the converter's own work is left out.
class ConvertRig {
public:
    ConvertRig() : m_stamp(m_dir.filePath(QStringLiteral("stamp"))) {
        QDir(m_dir.path()).mkpath(QStringLiteral("home"));
        QDir(m_dir.path()).mkpath(QStringLiteral("bin"));
        QDir(m_dir.path()).mkpath(QStringLiteral("docs"));
        QFile::copy(QStringLiteral(MORVANE_SOURCE_DIR "/data/convert.sh"),
                    m_dir.filePath(QStringLiteral("home/convert.sh")));
        m_hevea = m_dir.filePath(QStringLiteral("bin/hevea"));
        writeFile(m_hevea, "#!/bin/sh\ndate +%s%N > \"$MORVANE_BENCH_STAMP\"\n");
        QFile::setPermissions(m_hevea, QFile::permissions(m_hevea) | QFile::ExeOwner);
        m_source = m_dir.filePath(QStringLiteral("docs/paper.tex"));
        writeFile(m_source, "\\documentclass{article}\\begin{document}x\\end{document}\n");

        qputenv("MORVANE_BENCH_STAMP", m_stamp.toLocal8Bit());
        qputenv("PATH",
                m_dir.filePath(QStringLiteral("bin")).toLocal8Bit() + ':' + qgetenv("PATH"));

        m_ctx.programDir = m_dir.filePath(QStringLiteral("home"));
        m_ctx.model = &m_model;
        m_ctx.seams.prompter = &m_prompter;
        m_ctx.seams.launcher = &m_launcher;
        m_ctx.settings.vars.hevea = QStringLiteral("/usr/bin");
        m_model.setIndex(ctl::tbstrip, TabHevea);
        m_model.setText(ctl::cmbTeX, m_source);
    }

    QString stamp() const { return m_stamp; }
    void convert() { cmdConvert_Click(m_ctx); }
    // The same converter with the argument convert.sh gives it.
    void startDirectly() const {
        QProcess process;
        process.setWorkingDirectory(m_dir.filePath(QStringLiteral("docs")));
        process.start(m_hevea, {QStringLiteral("paper.tex")});
        process.waitForFinished();
    }
    // Prompts would mean the Convert command stopped before the converter.
    int prompts() const { return int(m_prompter.prompts().size()); }

private:
    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }

    QTemporaryDir m_dir;
    QString m_stamp;
    QString m_hevea;
    QString m_source;
    OptionsModel m_model;
    ScriptedPrompter m_prompter;
    QProcessLauncher m_launcher;
    AppContext m_ctx;
};

void BM_ConvertToConverterStart(benchmark::State& state) {
    const QByteArray path = qgetenv("PATH");
    std::vector<double> ours, direct;
    {
        ConvertRig rig;
        for (auto _ : state) {
            ours.push_back(startDelayMs(rig.stamp(), [&] { rig.convert(); }));
            direct.push_back(startDelayMs(rig.stamp(), [&] { rig.startDirectly(); }));
            state.SetIterationTime(ours.back() / 1000.0);
        }
        if (rig.prompts() > 0)
            state.SkipWithError("the Convert command stopped with a message");
    }
    qputenv("PATH", path);
    const double oursMs = median(ours), directMs = median(direct);
    state.counters["convert_to_start_ms"] = oursMs;
    state.counters["direct_qprocess_ms"] = directMs;
    state.counters["added_ms"] = oursMs - directMs;
    state.counters["ratio_to_baseline"] = directMs > 0 ? oursMs / directMs : 0;
    std::printf("\nConvert (HeVeA tab, convert.sh): converter started %.2f ms after the click, "
                "%.2f ms after a direct QProcess start: %.2f ms added (goal < 20 ms)\n",
                oursMs, directMs, oursMs - directMs);
}
BENCHMARK(BM_ConvertToConverterStart)
    ->Iterations(25)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
