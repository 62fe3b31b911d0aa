// Conversions side by side: twenty copies of LaTeX's sample2e.tex converted
// on the TeX4ht route two at a time (`--jobs=2`) against the same twenty one
// after another (the goal is at least 1.8 times as fast on two cores), and a
// comparison of the routes on sample2e (`--compare --jobs=2`) against the
// times of its routes (the goal is at most the sum of the routes' times
// divided by the jobs, plus 10 %, reported as `of_goal`, at most 1).

#include "benchsupport.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace {

using morvane::bench::kpsewhich;
using morvane::bench::secondsOf;

constexpr int kDocuments = 20;
constexpr int kJobs = 2;

struct Home {
    QTemporaryDir home;
    QTemporaryDir work;
    QTemporaryDir roots;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();

    Home() {
        const QDir data(QStringLiteral(MORVANE_SOURCE_DIR "/data"));
        for (const QString& name : data.entryList(QDir::Files))
            QFile::copy(data.filePath(name), home.filePath(name));
        // Every output root in a folder of the benchmark's own.
        QFile ini(home.filePath(QStringLiteral("Morvane.ini")));
        ini.open(QIODevice::ReadOnly);
        QByteArray text = ini.readAll();
        ini.close();
        text.replace("SaveTo=\n", "SaveTo=" + roots.path().toUtf8() + "\n");
        ini.open(QIODevice::WriteOnly | QIODevice::Truncate);
        ini.write(text);
        env.insert(QStringLiteral("MORVANE_HOME"), home.path());
        env.insert(QStringLiteral("HOME"), roots.path());
    }
};

QString program() {
    return QStringLiteral(MORVANE_BUILD_PROGRAM_DIR "/morvane");
}

void BM_JobsVersusOneAfterAnother(benchmark::State& state) {
    Home setup;
    const QString sample = kpsewhich(QStringLiteral("sample2e.tex"));
    QStringList files;
    for (int i = 1; i <= kDocuments; ++i) {
        files << QStringLiteral("doc%1.tex").arg(i);
        QFile::copy(sample, setup.work.filePath(files.last()));
    }
    const QStringList serial = QStringList{QStringLiteral("--convert=tex4ht")} + files;
    const QStringList parallel =
        QStringList{QStringLiteral("--convert=tex4ht"), QStringLiteral("--jobs=%1").arg(kJobs)} +
        files;
    // Once untimed, so that both start from the same files.
    secondsOf(program(), serial, setup.work.path(), setup.env);
    double oneAfterAnother = 0;
    double sideBySide = 0;
    for (auto _ : state) {
        oneAfterAnother = secondsOf(program(), serial, setup.work.path(), setup.env);
        sideBySide = secondsOf(program(), parallel, setup.work.path(), setup.env);
    }
    state.counters["one_after_another_s"] = oneAfterAnother;
    state.counters["jobs2_s"] = sideBySide;
    state.counters["speedup"] = oneAfterAnother / sideBySide;
    state.counters["goal"] = 1.8;
}

void BM_CompareVersusItsRoutes(benchmark::State& state) {
    Home setup;
    QFile::copy(kpsewhich(QStringLiteral("sample2e.tex")),
                setup.work.filePath(QStringLiteral("sample2e.tex")));
    double wall = 0;
    for (auto _ : state)
        wall = secondsOf(program(),
                         {QStringLiteral("--compare"), QStringLiteral("--jobs=%1").arg(kJobs),
                          QStringLiteral("sample2e.tex")},
                         setup.work.path(), setup.env);
    QFile report(setup.roots.filePath(QStringLiteral("sample2e-compare/compare.json")));
    report.open(QIODevice::ReadOnly);
    double sum = 0;
    double slowest = 0;
    for (const QJsonValue& route :
         QJsonDocument::fromJson(report.readAll()).object()[QStringLiteral("routes")].toArray()) {
        const double seconds = route[QStringLiteral("seconds")].toDouble();
        sum += seconds;
        slowest = std::max(slowest, seconds);
    }
    state.counters["compare_s"] = wall;
    state.counters["slowest_route_s"] = slowest;
    state.counters["sum_of_routes_s"] = sum;
    const double goal = sum / kJobs * 1.1;
    state.counters["goal_s"] = goal;
    state.counters["of_goal"] = goal > 0 ? wall / goal : 0;
}

BENCHMARK(BM_JobsVersusOneAfterAnother)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_CompareVersusItsRoutes)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
