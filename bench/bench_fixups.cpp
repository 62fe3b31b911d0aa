// The link and image-subdirectory fix-ups of a large TeX4ht output folder
// against one `sed -i` pass making a comparable substitution over the same
// pages. The ratio (fix-ups / sed, wall time per pass over all pages) is
// reported as the counter "ratio_vs_sed" of the fix-up benchmarks.

#include "fixups/htmlfixups.h"
#include "pipeline/appcontext.h"
#include "settings/optionsmodel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>

using namespace morvane;

namespace {

constexpr int pageCount = 1000;
constexpr int pageBytes = 20 * 1024;

// A page like TeX4ht writes: text lines, a link to another TeX file now and
// then, and picture tags.
QByteArray makePage(int number) {
    QByteArray page = "<!DOCTYPE html>\n<html><head><title>Page</title></head><body>\n";
    for (int line = 0; page.size() < pageBytes; ++line) {
        if (line % 10 == 3)
            page += "<p>See <a href=\"chap" + QByteArray::number(line) + ".tex#s" +
                    QByteArray::number(number) + "\">chapter</a> for more.</p>\n";
        else if (line % 10 == 7)
            page += "<div><img src=\"fig" + QByteArray::number(line) +
                    ".png\" alt=\"figure\" class=\"graphics\"></div>\n";
        else
            page += "<p class=\"noindent\">Lorem ipsum dolor sit amet, consectetur "
                    "adipiscing elit, sed do eiusmod tempor.</p>\n";
    }
    return page + "</body></html>\n";
}

struct PageFolder {
    QTemporaryDir dir;
    QStringList pages;
    QVector<QByteArray> contents;

    PageFolder() {
        for (int i = 0; i < pageCount; ++i) {
            pages.append(dir.path() + QStringLiteral("/page%1.html").arg(i));
            contents.append(makePage(i));
        }
    }
    void reset() const {
        QDir(dir.path() + QStringLiteral("/images")).removeRecursively();
        for (int i = 0; i < pageCount; ++i) {
            QFile file(pages.at(i));
            if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
                file.write(contents.at(i));
        }
    }
};

PageFolder& folder() {
    static PageFolder instance;
    return instance;
}

double sedSecondsPerPass = 0;

void BM_SedBaseline(benchmark::State& state) {
    PageFolder& pages = folder();
    QStringList arguments{QStringLiteral("-i"), QStringLiteral("-e"),
                          QStringLiteral("s/href=\"\\([^\"]*\\)\\.tex/href=\"\\1.html/"),
                          QStringLiteral("-e"), QStringLiteral("s/src=\"/src=\"images\\//g")};
    arguments += pages.pages;
    double total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        pages.reset();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        QProcess sed;
        sed.start(QStringLiteral("sed"), arguments);
        sed.waitForFinished(-1);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (sed.exitCode() != 0)
            state.SkipWithError("sed failed");
    }
    sedSecondsPerPass = total / double(state.iterations());
}

void BM_LinkAndImageFixups(benchmark::State& state) {
    PageFolder& pages = folder();
    OptionsModel model;
    model.setIndex(QStringLiteral("tbstrip"), TabTex4ht);
    AppContext ctx;
    ctx.model = &model;
    double total = 0;
    double linkSeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        pages.reset();
        ctx.linkAnswer = 3; // yes to all: no question in a timed run
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        double links = 0;
        for (const QString& page : pages.pages) {
            const auto pageStart = std::chrono::steady_clock::now();
            fixLinks(ctx, page);
            links +=
                std::chrono::duration<double>(std::chrono::steady_clock::now() - pageStart).count();
            fixImageSubdirectory(ctx, page, QStringLiteral("images"), true);
        }
        linkSeconds += links;
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    QFile first(pages.pages.first());
    const QByteArray result = first.open(QIODevice::ReadOnly) ? first.readAll() : QByteArray();
    if (!result.contains("href=\"chap3.html#s0\"") || !result.contains("src=\"images/fig7.png\""))
        state.SkipWithError("the fix-ups did not rewrite the page");
    const double perPass = total / double(state.iterations());
    if (sedSecondsPerPass > 0)
        state.counters["ratio_vs_sed"] = perPass / sedSecondsPerPass;
    state.counters["pages"] = pageCount;
    state.counters["link_share"] = linkSeconds / total;
}

// The image-subdirectory fix-up alone: the one rewrite of each page that the
// TeX4ht route makes when pictures go into a subdirectory (it rewrites the
// links of the other lines as well).
void BM_ImageSubdirectoryFixupAlone(benchmark::State& state) {
    PageFolder& pages = folder();
    OptionsModel model;
    model.setIndex(QStringLiteral("tbstrip"), TabTex4ht);
    AppContext ctx;
    ctx.model = &model;
    double total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        pages.reset();
        ctx.linkAnswer = 3;
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        for (const QString& page : pages.pages)
            fixImageSubdirectory(ctx, page, QStringLiteral("images"), true);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    if (sedSecondsPerPass > 0)
        state.counters["ratio_vs_sed"] = total / double(state.iterations()) / sedSecondsPerPass;
}

} // namespace

BENCHMARK(BM_SedBaseline)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LinkAndImageFixups)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ImageSubdirectoryFixupAlone)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
