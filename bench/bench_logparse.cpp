// Reading a 50 MB LaTeX log as errors and warnings against `grep -c '^!'`
// over the same file, measured in the same run: counter "ratio_vs_grep"
// (goal: at most 3).

#include "pipeline/logparsers.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>

using namespace morvane;

namespace {

constexpr qint64 kLogBytes = 50LL * 1024 * 1024;

// A log of a long document: the real log of the broken test document with
// its errors and warnings left out, repeated, and the whole log at the end.
struct BigLog {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("big.log"));

    BigLog() {
        QFile real(QStringLiteral(MORVANE_SOURCE_DIR "/tests/data/logs/latex.log"));
        if (!real.open(QIODevice::ReadOnly))
            return;
        const QByteArray whole = real.readAll();
        QByteArray quiet;
        for (const QByteArray& line : whole.split('\n')) {
            if (!line.startsWith("!") && !line.startsWith("l.") && !line.contains("Warning"))
                quiet += line + '\n';
        }
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly))
            return;
        for (qint64 written = 0; written < kLogBytes; written += quiet.size())
            out.write(quiet);
        out.write(whole);
    }
};

double grepSeconds(const QString& path) {
    const auto start = std::chrono::steady_clock::now();
    QProcess grep;
    grep.start(QStringLiteral("grep"), {QStringLiteral("-c"), QStringLiteral("^!"), path});
    grep.waitForFinished(-1);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_ParseLatexLog(benchmark::State& state) {
    static BigLog log;
    double parse = 0;
    double grep = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(readRouteLog(parseLatexLog, log.path, QStringLiteral("doc")));
        parse += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        grep += grepSeconds(log.path);
    }
    state.counters["ratio_vs_grep"] = parse / grep;
}
BENCHMARK(BM_ParseLatexLog)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

BENCHMARK_MAIN();
