// What the TeX4ht route costs on top of TeX4ht itself, both timed in the
// same run:
// - `morvane --convert=tex4ht small2e.tex` against `htlatex small2e` run by
//   hand in a folder of its own (the route's goal: at most 1.05);
// - the route's post-processing of 500 generated pages (pictures fetched
//   and links to TeX files rewritten, every page read once and written only
//   when it changed) against one `sed -i` pass over the same pages (goal: at
//   most 1.5).

#include "drivers/tex4ht.h"
#include "pipeline/appcontext.h"
#include "pipeline/conversion.h"
#include "settings/optionsmodel.h"

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

using namespace morvane;

constexpr int kRuns = 5;
constexpr int kPages = 500;

void BM_Tex4htBatchVersusHtlatex(benchmark::State& state) {
    QTemporaryDir home, work, byHand;
    const QString small2e = kpsewhich(QStringLiteral("small2e.tex"));
    const QDir data(QStringLiteral(MORVANE_SOURCE_DIR "/data"));
    for (const QString& name : data.entryList(QDir::Files))
        QFile::copy(data.filePath(name), home.filePath(name));
    setSaveTo(home.filePath(QStringLiteral("Morvane.ini")), work.filePath(QStringLiteral("out")));
    QDir().mkpath(work.filePath(QStringLiteral("out")));
    if (small2e.isEmpty() || !QFile::copy(small2e, work.filePath(QStringLiteral("small2e.tex"))) ||
        !QFile::copy(small2e, byHand.filePath(QStringLiteral("small2e.tex")))) {
        state.SkipWithError("small2e.tex not found");
        return;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MORVANE_HOME"), home.path());
    const auto batch = [&] {
        return secondsOf(QStringLiteral(MORVANE_BUILD_PROGRAM_DIR "/morvane"),
                         {QStringLiteral("--convert=tex4ht"), QStringLiteral("small2e.tex")},
                         work.path(), env);
    };
    const auto direct = [&] {
        return secondsOf(QStringLiteral("htlatex"), {QStringLiteral("small2e")}, byHand.path(),
                         env);
    };
    compareAlternately(state, batch, direct, "htlatex_ms", kRuns);
}

// A page as TeX4ht writes them: a head, paragraphs, a picture and links, one
// of them to a TeX file.
QByteArray generatedPage(int number) {
    QByteArray page = "<!DOCTYPE html>\n<html><head><title>Page</title>\n"
                      "<link rel=\"stylesheet\" type=\"text/css\" href=\"doc.css\" />\n"
                      "</head><body>\n";
    for (int p = 0; p < 40; ++p)
        page += "<p class=\"noindent\">Some text of paragraph " + QByteArray::number(p) +
                " with <span class=\"cmti-10\">emphasis</span> and a <a href=\"#x" +
                QByteArray::number(p) + "\">reference</a>.</p>\n";
    page += "<img src=\"doc" + QByteArray::number(number) + "x.png\" alt=\"picture\" />\n";
    page += "<a href=\"chapter.tex\">the chapter</a>\n</body></html>\n";
    return page;
}

void writePages(const QString& dir) {
    for (int i = 0; i < kPages; ++i) {
        QFile page(dir + QStringLiteral("/doc%1.html").arg(i));
        page.open(QIODevice::WriteOnly);
        page.write(generatedPage(i));
    }
}

void BM_PostProcessVersusSed(benchmark::State& state) {
    QTemporaryDir source, ours, sed;
    QFile tex(source.filePath(QStringLiteral("doc.tex")));
    tex.open(QIODevice::WriteOnly);
    tex.close();
    OptionsModel model;
    AppContext ctx;
    ctx.model = &model;
    ctx.routes = builtInRoutes();
    model.setText(ctl::cmbTeX, tex.fileName());
    Conversion conv(ctx, *routeForKey(ctx.routes, QStringLiteral("tex4ht")), tex.fileName());

    QStringList pages;
    for (int i = 0; i < kPages; ++i)
        pages << QStringLiteral("doc%1.html").arg(i);
    std::vector<double> oursTimes, sedTimes;
    for (auto _ : state) {
        for (int run = 0; run < kRuns; ++run) {
            writePages(ours.path());
            writePages(sed.path());
            QElapsedTimer timer;
            timer.start();
            conv.linkAnswer = 3; // yes to all: every page is rewritten
            postProcessTex4htPages(conv, ours.path(), QStringLiteral(".html"));
            oursTimes.push_back(timer.nsecsElapsed() / 1e9);
            sedTimes.push_back(secondsOf(
                QStringLiteral("sed"),
                QStringList{QStringLiteral("-i"), QStringLiteral("s/chapter\\.tex/chapter.html/")} +
                    pages,
                sed.path(), QProcessEnvironment::systemEnvironment()));
        }
    }
    state.counters["ours_ms"] = median(oursTimes) * 1000.0;
    state.counters["sed_ms"] = median(sedTimes) * 1000.0;
    state.counters["ratio"] = median(oursTimes) / median(sedTimes);
}

BENCHMARK(BM_Tex4htBatchVersusHtlatex)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PostProcessVersusSed)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
