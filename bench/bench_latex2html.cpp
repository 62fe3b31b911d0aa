// What the LaTeX2HTML route costs on top of latex2html itself, both timed in
// the same run: `morvane --convert=latex2html sample2e.tex` against
// `latex2html -init_file LaTeX2HTML.init sample2e.tex` run by hand with the
// init file the route wrote (the route's goal: at most 1.05).

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <algorithm>
#include <vector>

#include "benchsupport.h"

namespace {

using namespace morvane::bench;

constexpr int kRuns = 5;

void BM_Latex2htmlBatchVersusByHand(benchmark::State& state) {
    QTemporaryDir home, work, byHand;
    const QString sample2e = kpsewhich(QStringLiteral("sample2e.tex"));
    const QDir data(QStringLiteral(MORVANE_SOURCE_DIR "/data"));
    for (const QString& name : data.entryList(QDir::Files))
        QFile::copy(data.filePath(name), home.filePath(name));
    const QString out = work.filePath(QStringLiteral("out"));
    setSaveTo(home.filePath(QStringLiteral("Morvane.ini")), out);
    QDir().mkpath(out);
    if (sample2e.isEmpty() ||
        !QFile::copy(sample2e, work.filePath(QStringLiteral("sample2e.tex"))) ||
        !QFile::copy(sample2e, byHand.filePath(QStringLiteral("sample2e.tex")))) {
        state.SkipWithError("sample2e.tex not found");
        return;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MORVANE_HOME"), home.path());
    env.insert(QStringLiteral("L2HINIT_NAME"), QStringLiteral(".morvane-bench-l2h-init"));
    const auto batch = [&] {
        return secondsOf(QStringLiteral(MORVANE_BUILD_PROGRAM_DIR "/morvane"),
                         {QStringLiteral("--convert=latex2html"), QStringLiteral("sample2e.tex")},
                         work.path(), env);
    };
    // By hand with the init file the route wrote: the same output folder,
    // image type and settings.
    const QString init = home.filePath(QStringLiteral("LaTeX2HTML.init"));
    const auto direct = [&] {
        return secondsOf(QStringLiteral("latex2html"),
                         {QStringLiteral("-init_file"), init, QStringLiteral("sample2e.tex")},
                         byHand.path(), env);
    };
    compareAlternately(state, batch, direct, "latex2html_ms", kRuns);
}

BENCHMARK(BM_Latex2htmlBatchVersusByHand)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
