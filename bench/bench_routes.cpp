// What a conversion through Morvane costs on top of its converter, route by
// route: `morvane --convert=ROUTE sample2e.tex` against the converter's own
// command run by hand on a copy of LaTeX's sample2e.tex. Each pair is timed
// alternately, after one untimed run of each (so that both find the same
// auxiliary files), ten times; the counters are the medians of the whole
// processes' wall and processor time, their ratio and the fixed cost (the
// difference of the wall times). Goals: TtH at most 3.5 times tth, HeVeA at
// most 1.10 times hevea, every route a fixed cost of at most 8 ms. A first
// benchmark times the parts that fixed cost is made of.

#include "benchsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstring>

namespace {

using namespace morvane::bench;

constexpr int kRuns = 10;
constexpr double kFixedCostGoalMs = 8.0;

Timing timed(const QString& program, const QStringList& args, const QString& dir,
             const QProcessEnvironment& env) {
    const double cpu = childCpuSeconds();
    const double wall = secondsOf(program, args, dir, env);
    return {wall, childCpuSeconds() - cpu};
}

// The value of a setting in the settings block the batch run wrote.
QString blockSetting(const QString& home, const QByteArray& name) {
    QFile script(home + QStringLiteral("/convert.sh"));
    if (!script.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray& line : script.readAll().split('\n'))
        if (line.startsWith("set " + name + "="))
            return QString::fromUtf8(line.mid(name.size() + 5));
    return {};
}

struct RouteCase {
    const char* word;
    double ratioGoal; // 0: the fixed cost's goal only
    // The converter's command by hand, from the program directory the batch
    // run used (its settings block, its init file).
    QStringList (*direct)(const QString& home);
};

const RouteCase kRoutes[] = {
    {"tth", 3.5,
     [](const QString&) {
         return QStringList{"tth", "sample2e.tex"};
     }},
    {"hevea", 1.10,
     [](const QString& home) {
         return QStringList{"hevea"} + QProcess::splitCommand(blockSetting(home, "cmdline")) +
                QStringList{"sample2e.tex"};
     }},
    {"dvi", 0,
     [](const QString&) {
         return QStringList{"latex", "-interaction=nonstopmode", "sample2e.tex"};
     }},
    {"pdf", 0,
     [](const QString&) {
         return QStringList{"pdflatex", "-interaction=nonstopmode", "sample2e.tex"};
     }},
    {"texify", 0,
     [](const QString&) {
         return QStringList{"texi2dvi", "--batch", "sample2e.tex"};
     }},
    {"tex4ht", 0,
     [](const QString& home) {
         QStringList words = QProcess::splitCommand(blockSetting(home, "cmdline"));
         words.replaceInStrings(QStringLiteral("%2"), QStringLiteral("sample2e"));
         return words;
     }},
    {"latex2html", 0,
     [](const QString& home) {
         return QStringList{"latex2html", "-init_file", home + "/LaTeX2HTML.init", "sample2e.tex"};
     }},
};

void BM_Route(benchmark::State& state, const RouteCase& route) {
    QTemporaryDir home, work, byHand;
    if (!prepareSample2e(state, home.path(), work.path(), byHand.path()))
        return;
    const QString ini = home.filePath(QStringLiteral("Morvane.ini"));
    // The DVI and PDF routes' one-program methods; "texify" names texi2dvi.
    editSettings(ini, "\nUseDVI=Yes", "\nUseDVI=No");
    editSettings(ini, "\nUsePDF=Yes", "\nUsePDF=No");
    const QString out = work.filePath(QStringLiteral("out"));
    QDir().mkpath(out);
    setSaveTo(ini, out);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MORVANE_HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_STATE_HOME"), home.filePath(QStringLiteral("state")));
    // texi2dvi as the route runs it: TeX goes on past errors.
    env.insert(QStringLiteral("LATEX"), QStringLiteral("latex -interaction=nonstopmode"));

    const QString morvane = QStringLiteral(MORVANE_BUILD_PROGRAM_DIR "/morvane");
    const QStringList batchArgs{QStringLiteral("--convert=") + QLatin1String(route.word),
                                QStringLiteral("sample2e.tex")};
    timed(morvane, batchArgs, work.path(), env);
    QStringList direct = route.direct(home.path());
    const QString program = direct.takeFirst();
    timed(program, direct, byHand.path(), env);

    std::vector<double> batchWall, batchCpu, directWall, directCpu;
    for (auto _ : state) {
        for (int run = 0; run < kRuns; ++run) {
            const Timing d = timed(program, direct, byHand.path(), env);
            const Timing b = timed(morvane, batchArgs, work.path(), env);
            directWall.push_back(d.wall);
            directCpu.push_back(d.cpu);
            batchWall.push_back(b.wall);
            batchCpu.push_back(b.cpu);
        }
    }
    const double batchMs = median(batchWall) * 1000.0;
    const double directMs = median(directWall) * 1000.0;
    const double ratio = batchMs / directMs;
    const double fixedMs = batchMs - directMs;
    state.counters["batch_ms"] = batchMs;
    state.counters["direct_ms"] = directMs;
    state.counters["ratio"] = ratio;
    state.counters["fixed_ms"] = fixedMs;
    state.counters["batch_cpu_ms"] = median(batchCpu) * 1000.0;
    state.counters["direct_cpu_ms"] = median(directCpu) * 1000.0;
    QString goal =
        QStringLiteral("goal: fixed cost at most %1 ms (%2)")
            .arg(kFixedCostGoalMs)
            .arg(fixedMs <= kFixedCostGoalMs ? QStringLiteral("met") : QStringLiteral("NOT met"));
    if (route.ratioGoal > 0)
        goal +=
            QStringLiteral(", ratio at most %1 (%2)")
                .arg(route.ratioGoal)
                .arg(ratio <= route.ratioGoal ? QStringLiteral("met") : QStringLiteral("NOT met"));
    state.SetLabel((QStringLiteral("vs ") + program + QLatin1Char(' ') +
                    direct.join(QLatin1Char(' ')) + QStringLiteral("; ") + goal)
                       .toStdString());
}

// What a conversion's fixed cost is made of: the medians of programs that
// do only one part of it. Starting any program (/bin/true); starting a bare
// Qt Core program (this benchmark with --bare-core, which constructs its
// application object and ends); Morvane's own start without a conversion
// (--help, no application object); the batch driver's shell reading the
// script and its settings block (an unknown route, which ends there); and
// tth run as the route runs it (-L, its input and output redirected) against
// plain tth. The rest of a conversion's fixed cost is Morvane's own work.
constexpr const char* kBareCoreSwitch = "--bare-core";

void BM_FixedCostParts(benchmark::State& state) {
    QTemporaryDir home, work, byHand;
    if (!prepareSample2e(state, home.path(), work.path(), byHand.path()))
        return;
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString shell = QStringLiteral("/bin/sh");
    const QString script = home.filePath(QStringLiteral("convert.sh"));
    struct Part {
        const char* counter;
        QString program;
        QStringList args;
    };
    const QList<Part> parts{
        {"true_ms", QStringLiteral("/bin/true"), {}},
        {"bare_qt_core_ms",
         QCoreApplication::applicationFilePath(),
         {QLatin1String(kBareCoreSwitch)}},
        {"morvane_help_ms",
         QStringLiteral(MORVANE_BUILD_PROGRAM_DIR "/morvane"),
         {QStringLiteral("--help")}},
        {"script_start_ms", shell, {script, QStringLiteral("no-such-route"), QStringLiteral("x")}},
        {"tth_ms", QStringLiteral("tth"), {QStringLiteral("sample2e.tex")}},
        {"tth_as_routed_ms",
         shell,
         {QStringLiteral("-c"),
          QStringLiteral("tth -Lsample2e <sample2e.tex >sample2e.htm 2>>sample2e.tlog")}},
    };
    for (auto _ : state) {
        for (const Part& part : parts) {
            std::vector<double> walls;
            secondsOf(part.program, part.args, work.path(), env);
            for (int run = 0; run < kRuns; ++run)
                walls.push_back(secondsOf(part.program, part.args, work.path(), env));
            state.counters[part.counter] = median(walls) * 1000.0;
        }
    }
    state.SetLabel("the parts of a conversion's fixed cost; the rest is Morvane's own work");
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], kBareCoreSwitch) == 0) {
        QCoreApplication bare(argc, argv);
        return 0;
    }
    QCoreApplication app(argc, argv);
    benchmark::RegisterBenchmark("BM_FixedCostParts", BM_FixedCostParts)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    for (const RouteCase& route : kRoutes)
        benchmark::RegisterBenchmark((std::string("BM_Route/") + route.word).c_str(), BM_Route,
                                     route)
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
