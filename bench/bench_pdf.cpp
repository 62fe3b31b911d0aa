// What the PDF route costs on top of pdfLaTeX: `morvane --convert=pdf
// sample2e.tex` against `pdflatex -interaction=nonstopmode sample2e.tex` run
// by hand in a folder of its own, alternately in the same run (the goal is at
// most 1.05).

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

void BM_PdfBatchVersusPdflatex(benchmark::State& state) {
    QTemporaryDir home, work, byHand;
    if (!prepareSample2e(state, home.path(), work.path(), byHand.path()))
        return;
    // The route's one-pdflatex method, as run by hand (texi2dvi is the default).
    editSettings(home.filePath(QStringLiteral("Morvane.ini")), "\nUsePDF=Yes", "\nUsePDF=No");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MORVANE_HOME"), home.path());
    const auto batch = [&] {
        return secondsOf(QStringLiteral(MORVANE_BUILD_PROGRAM_DIR "/morvane"),
                         {QStringLiteral("--convert=pdf"), QStringLiteral("sample2e.tex")},
                         work.path(), env);
    };
    const auto direct = [&] {
        return secondsOf(
            QStringLiteral("pdflatex"),
            {QStringLiteral("-interaction=nonstopmode"), QStringLiteral("sample2e.tex")},
            byHand.path(), env);
    };
    compareAlternately(state, batch, direct, "pdflatex_ms", kRuns);
}

BENCHMARK(BM_PdfBatchVersusPdflatex)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
