// The program search against find(1) looking for the same names on the same
// generated tree of 100,000 files in 10,000 folders, measured in one run:
//  - counter "ratio_vs_find": search time / find time (goal: at most 1.5);
//  - counter "stop_ms": time from Stop to the search having ended;
//  - counter "serves_per_second": how often the window gets its events
//    (and repaints) while the search runs.

#include "pipeline/route.h"
#include "settings/programlocations.h"
#include "settings/programsearch.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace morvane;

namespace {

struct GeneratedTree {
    QTemporaryDir dir;
    GeneratedTree() {
        for (int a = 0; a < 100; ++a) {
            for (int b = 0; b < 100; ++b) {
                const QString folder = dir.path() + QStringLiteral("/p%1/q%2").arg(a).arg(b);
                QDir().mkpath(folder);
                for (int f = 0; f < 10; ++f) {
                    QFile file(folder + QStringLiteral("/file%1.dat").arg(f));
                    (void)file.open(QIODevice::WriteOnly);
                }
            }
        }
        QFile hevea(dir.path() + QStringLiteral("/p42/q17/hevea"));
        (void)hevea.open(QIODevice::WriteOnly);
        hevea.setPermissions(hevea.permissions() | QFileDevice::ExeOwner);
    }
};

GeneratedTree& tree() {
    static GeneratedTree generated;
    return generated;
}

QStringList findArguments(const QString& root) {
    QStringList args{root, QStringLiteral("-xdev"), QStringLiteral("(")};
    bool first = true;
    for (const SearchTarget& target : searchTargets(allLocationRows(builtInRoutes()))) {
        for (const QString& name : target.names) {
            if (!first)
                args << QStringLiteral("-o");
            args << QStringLiteral("-iname") << name;
            first = false;
        }
    }
    return args << QStringLiteral(")");
}

double searchSeconds(const QString& root) {
    QElapsedTimer timer;
    timer.start();
    ProgramSearch search(searchTargets(allLocationRows(builtInRoutes())));
    search.serve = [](const QString&) {};
    search.searchTree(root);
    benchmark::DoNotOptimize(search.candidates());
    return timer.nsecsElapsed() / 1e9;
}

double findSeconds(const QString& root) {
    QElapsedTimer timer;
    timer.start();
    QProcess find;
    find.start(QStringLiteral("find"), findArguments(root));
    find.waitForFinished(-1);
    benchmark::DoNotOptimize(find.readAllStandardOutput());
    return timer.nsecsElapsed() / 1e9;
}

void BM_SearchAgainstFind(benchmark::State& state) {
    const QString root = tree().dir.path();
    searchSeconds(root); // warm the file system's caches for both
    double search = 0, find = 0;
    for (auto _ : state) {
        search += searchSeconds(root);
        find += findSeconds(root);
    }
    state.counters["search_s"] = search / state.iterations();
    state.counters["find_s"] = find / state.iterations();
    state.counters["ratio_vs_find"] = search / find;
}
BENCHMARK(BM_SearchAgainstFind)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_StopAndServeRate(benchmark::State& state) {
    const QString root = tree().dir.path();
    double stopMs = 0, servesPerSecond = 0;
    for (auto _ : state) {
        ProgramSearch search(searchTargets(allLocationRows(builtInRoutes())));
        QElapsedTimer running, sinceStop;
        running.start();
        int serves = 0;
        search.serve = [&](const QString&) {
            ++serves;
            // Each serve stands for a window that draws for 2 ms.
            QElapsedTimer paint;
            paint.start();
            while (paint.elapsed() < 2) {
            }
            if (running.elapsed() >= 60 && !search.isStopped()) {
                search.stop();
                sinceStop.start();
            }
        };
        search.searchTree(root);
        stopMs += sinceStop.nsecsElapsed() / 1e6;
        servesPerSecond += serves / (running.nsecsElapsed() / 1e9);
    }
    state.counters["stop_ms"] = stopMs / state.iterations();
    state.counters["serves_per_second"] = servesPerSecond / state.iterations();
}
BENCHMARK(BM_StopAndServeRate)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

BENCHMARK_MAIN();
