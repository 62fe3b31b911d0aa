// What batch mode costs on top of the converter: `morvane --convert=hevea`
// on LaTeX's sample2e.tex against the very hevea command it runs, started
// directly. Both are timed alternately in the same run, ten times each; the
// counters report the medians of wall time and their ratio (the goal is at
// most 1.10), and the same for the processor time of the started processes,
// which a busy machine disturbs less. Two more timings show where the extra
// time goes: the program alone (it starts, reads its settings and refuses a
// .ltx file at the Convert command's check, running no converter) and the
// driver script alone (it starts, reads its settings block and refuses an
// unknown route).

#include "benchsupport.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <algorithm>
#include <sys/resource.h>
#include <vector>

namespace {

using morvane::bench::childCpuSeconds;
using morvane::bench::Timing;

constexpr int kRuns = 10;

QString sample2e() {
    QProcess which;
    which.start(QStringLiteral("kpsewhich"), {QStringLiteral("sample2e.tex")});
    which.waitForFinished();
    return QString::fromLocal8Bit(which.readAllStandardOutput()).trimmed();
}

// The options batch mode wrote into the driver script's settings block.
QString settingsCmdline(const QString& home) {
    QFile script(home + QStringLiteral("/convert.sh"));
    if (!script.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> lines = script.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (line.startsWith("set cmdline="))
            return QString::fromUtf8(line.mid(12));
    }
    return {};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

struct Setup {
    QTemporaryDir home;
    QTemporaryDir work;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    bool ok = false;

    Setup() {
        const QDir data(QStringLiteral(MORVANE_SOURCE_DIR "/data"));
        for (const QString& name : data.entryList(QDir::Files))
            QFile::copy(data.filePath(name), home.filePath(name));
        ok = QFile::copy(sample2e(), work.filePath(QStringLiteral("sample2e.tex"))) &&
             QFile::copy(sample2e(), work.filePath(QStringLiteral("sample2e.ltx")));
        env.insert(QStringLiteral("MORVANE_HOME"), home.path());
    }

    // Seconds taken by one run of `program args` in the work directory.
    Timing time(const QString& program, const QStringList& args, const QString& errorFile) {
        QProcess process;
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(work.path());
        process.setStandardInputFile(QProcess::nullDevice());
        process.setStandardOutputFile(QProcess::nullDevice());
        if (!errorFile.isEmpty())
            process.setStandardErrorFile(errorFile, QIODevice::Append);
        const double cpuBefore = childCpuSeconds();
        QElapsedTimer timer;
        timer.start();
        process.start(program, args);
        process.waitForFinished(-1);
        const double wall = timer.nsecsElapsed() / 1e9;
        return {wall, childCpuSeconds() - cpuBefore};
    }

    Timing batch() {
        return time(QStringLiteral(MORVANE_BUILD_PROGRAM_DIR "/morvane"),
                    {QStringLiteral("--convert=hevea"), QStringLiteral("sample2e.tex")}, {});
    }

    Timing programOnly() {
        return time(QStringLiteral(MORVANE_BUILD_PROGRAM_DIR "/morvane"),
                    {QStringLiteral("--convert=hevea"), QStringLiteral("sample2e.ltx")}, {});
    }

    Timing scriptOnly() {
        return time(QStringLiteral("/bin/sh"),
                    {home.filePath(QStringLiteral("convert.sh")), QStringLiteral("none"),
                     QStringLiteral("sample2e")},
                    {});
    }

    Timing direct(const QStringList& heveaCommand) {
        return time(heveaCommand.first(), heveaCommand.mid(1) << QStringLiteral("sample2e.tex"),
                    work.filePath(QStringLiteral("direct.log")));
    }
};

void BM_BatchModeVersusDirectHevea(benchmark::State& state) {
    Setup setup;
    if (!setup.ok) {
        state.SkipWithError("sample2e.tex not found");
        return;
    }
    // A first run writes the settings block and the .haux file, so that every
    // timed run does the same work.
    setup.batch();
    const QStringList heveaCommand = QStringList{QStringLiteral("hevea")} +
                                     QProcess::splitCommand(settingsCmdline(setup.home.path()));

    std::vector<double> batchWall, directWall, batchCpu, directCpu, programWall, scriptWall;
    for (auto _ : state) {
        for (int run = 0; run < kRuns; ++run) {
            const Timing direct = setup.direct(heveaCommand);
            const Timing batch = setup.batch();
            directWall.push_back(direct.wall);
            directCpu.push_back(direct.cpu);
            batchWall.push_back(batch.wall);
            batchCpu.push_back(batch.cpu);
            programWall.push_back(setup.programOnly().wall);
            scriptWall.push_back(setup.scriptOnly().wall);
        }
    }
    state.counters["batch_ms"] = median(batchWall) * 1000.0;
    state.counters["direct_ms"] = median(directWall) * 1000.0;
    state.counters["ratio"] = median(batchWall) / median(directWall);
    state.counters["batch_cpu_ms"] = median(batchCpu) * 1000.0;
    state.counters["direct_cpu_ms"] = median(directCpu) * 1000.0;
    state.counters["cpu_ratio"] = median(batchCpu) / median(directCpu);
    state.counters["program_only_ms"] = median(programWall) * 1000.0;
    state.counters["script_only_ms"] = median(scriptWall) * 1000.0;
    state.SetLabel(heveaCommand.join(QLatin1Char(' ')).toStdString() + " sample2e.tex");
}

BENCHMARK(BM_BatchModeVersusDirectHevea)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
