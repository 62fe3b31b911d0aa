// The launcher's two costs: processor time burnt while the program waits for a
// converter in multiple mode, and the delay it adds before the converter
// starts. Each is reported next to a baseline measured in the same run: the
// old polling wait (event pump with a zero timeout, no sleep) and QProcess
// starting the same command directly.

#include "pipeline/appcontext.h"
#include "pipeline/commandrunner.h"
#include "platform/launcher.h"
#include "platform/prompter.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
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

    explicit Runner(bool multiple) {
        ctx.model = &model;
        ctx.prompter = &prompter;
        ctx.launcher = &launcher;
        model.setChecked(QStringLiteral("chkMulti"), multiple);
        model.setText(QStringLiteral("cmbTeX"), QStringLiteral("/docs/paper.tex"));
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
        ours = corePercentDuring(
            [&] { runCommand(runner.ctx, QStringLiteral("/bin/sleep 5"), QString()); });
        // The wait as first designed: poll with a zero timeout and pump events.
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
            runCommand(runner.ctx, QStringLiteral("/bin/sh -c \"") + script + QLatin1Char('"'),
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
