// The link and image-subdirectory fix-ups of a large TeX4ht output folder
// against one `sed -i` pass making a comparable substitution over the same
// pages. The ratio (fix-ups / sed, wall time of the fastest pass over all
// pages) is reported as the counter "ratio_vs_sed".

#include "fixups/htmlfixups.h"
#include "pipeline/appcontext.h"
#include "pipeline/conversion.h"
#include "settings/controlnames.h"
#include "settings/optionsmodel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
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

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// One sed process over all pages: the links to TeX files and every image
// source, like the two fix-ups.
double runSed(const PageFolder& pages) {
    QStringList arguments{QStringLiteral("-i"), QStringLiteral("-e"),
                          QStringLiteral("s/href=\"\\([^\"]*\\)\\.tex/href=\"\\1.html/"),
                          QStringLiteral("-e"), QStringLiteral("s/src=\"/src=\"images\\//g")};
    arguments += pages.pages;
    const auto start = Clock::now();
    QProcess sed;
    sed.start(QStringLiteral("sed"), arguments);
    sed.waitForFinished(-1);
    const double seconds = secondsSince(start);
    return sed.exitCode() == 0 ? seconds : -1;
}

double runFixups(AppContext& ctx, const PageFolder& pages, bool withLinkFixup) {
    Conversion conv(ctx, *routeForKey(ctx.routes, QStringLiteral("tex4ht")), pages.pages.first());
    conv.linkAnswer = 3; // yes to all: no question in a timed run
    const auto start = Clock::now();
    for (const QString& page : pages.pages) {
        if (withLinkFixup)
            fixLinks(conv, LinkRules{}, page);
        fixImageSubdirectory(conv, LinkRules{}, page, QStringLiteral("images"), true);
    }
    return secondsSince(start);
}

bool pageWasRewritten(const PageFolder& pages) {
    QFile first(pages.pages.first());
    const QByteArray page = first.open(QIODevice::ReadOnly) ? first.readAll() : QByteArray();
    return page.contains("href=\"chap3.html#s0\"") && page.contains("src=\"images/fig7.png\"");
}

// Each iteration times sed, the link fix-up followed by the image-subdirectory
// fix-up, and the image-subdirectory fix-up alone (the one rewrite per page
// the TeX4ht route makes when pictures go into a subdirectory; it rewrites
// the other lines' links too), each on freshly written pages. The machine is
// shared, so the fastest pass of each kind is compared: interleaving the three
// exposes them to the same load.
void BM_FixupsVsSed(benchmark::State& state) {
    PageFolder& pages = folder();
    OptionsModel model;
    AppContext ctx;
    ctx.routes = builtInRoutes();
    model.setIndex(ctl::tbstrip,
                   tabOf(ctx.routes, *routeForKey(ctx.routes, QStringLiteral("tex4ht"))));
    ctx.model = &model;
    double sedBest = 1e9, bothBest = 1e9, imageBest = 1e9;
    // The order turns round each iteration: creating files right after many
    // were deleted costs the file system more, and no side should always
    // pay for the other's deletions.
    int turn = 0;
    bool failed = false;
    for (auto _ : state) {
        double both = 0;
        for (int step = 0; step < 3 && !failed; ++step) {
            pages.reset();
            switch ((step + turn) % 3) {
            case 0: {
                const double sed = runSed(pages);
                if (sed < 0) {
                    state.SkipWithError("sed failed");
                    failed = true;
                } else {
                    sedBest = std::min(sedBest, sed);
                }
                break;
            }
            case 1:
                both = runFixups(ctx, pages, true);
                if (!pageWasRewritten(pages)) {
                    state.SkipWithError("the fix-ups did not rewrite the page");
                    failed = true;
                }
                bothBest = std::min(bothBest, both);
                break;
            default:
                imageBest = std::min(imageBest, runFixups(ctx, pages, false));
            }
        }
        if (failed)
            break;
        ++turn;
        state.SetIterationTime(both);
    }
    state.counters["sed_ms"] = sedBest * 1000;
    state.counters["fixups_ms"] = bothBest * 1000;
    state.counters["image_only_ms"] = imageBest * 1000;
    state.counters["ratio_vs_sed"] = bothBest / sedBest;
    state.counters["image_only_ratio_vs_sed"] = imageBest / sedBest;
    state.counters["pages"] = pageCount;
}

} // namespace

BENCHMARK(BM_FixupsVsSed)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(15);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
