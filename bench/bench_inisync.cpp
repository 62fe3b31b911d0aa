// readini and writeini over the full key table of the shipped Morvane.ini,
// against two baselines measured in the same run on the same file: a plain
// QFile read plus rewrite, and a QFile read plus an atomic QSaveFile rewrite
// (what every settings save must cost at least). The counters "x_plain" and
// "x_savefile" are the ratios of each benchmark's time to these baselines.
// Goal: readini + writeini under 5 ms.

#include "app/inicommands.h"
#include "pipeline/appcontext.h"
#include "platform/prompter.h"
#include "settings/controlnames.h"
#include "settings/inisync.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>

using namespace morvane;

namespace {

using Clock = std::chrono::steady_clock;

struct Home {
    QTemporaryDir dir;
    QString ini;
    OptionsModel model;
    DefaultAnswerPrompter prompter;
    AppContext ctx;

    Home() : ini(dir.path() + QStringLiteral("/Morvane.ini")) {
        QFile::copy(QStringLiteral(MORVANE_SOURCE_DIR "/data/Morvane.ini"), ini);
        QFile::setPermissions(ini, QFile::ReadOwner | QFile::WriteOwner);
        ctx.programDir = dir.path();
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        readini(ctx);
        // Save Preferences ticked: every key of the table is written.
        model.setCheckValue(ctl::chkSave, 1);
    }
};

Home& home() {
    static Home instance;
    return instance;
}

void plainReadWrite(const QString& path) {
    QFile in(path);
    in.open(QIODevice::ReadOnly);
    const QByteArray bytes = in.readAll();
    in.close();
    QFile out(path);
    out.open(QIODevice::WriteOnly | QIODevice::Truncate);
    out.write(bytes);
}

void saveFileReadWrite(const QString& path) {
    QFile in(path);
    in.open(QIODevice::ReadOnly);
    const QByteArray bytes = in.readAll();
    in.close();
    QSaveFile out(path);
    out.open(QIODevice::WriteOnly);
    out.write(bytes);
    out.commit();
}

double elapsedNs(Clock::time_point start) {
    return std::chrono::duration<double, std::nano>(Clock::now() - start).count();
}

// Times `call` and, outside the benchmark's timing, both baselines in the
// same iterations, so that disk load from other processes hits all three
// alike.
template <typename F> void run(benchmark::State& state, F&& call) {
    double total = 0;
    double plain = 0;
    double saveFile = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        call();
        total += elapsedNs(start);
        state.PauseTiming();
        start = Clock::now();
        plainReadWrite(home().ini);
        plain += elapsedNs(start);
        start = Clock::now();
        saveFileReadWrite(home().ini);
        saveFile += elapsedNs(start);
        state.ResumeTiming();
    }
    state.counters["x_plain"] = total / plain;
    state.counters["x_savefile"] = total / saveFile;
}

void BM_ReadiniWriteini(benchmark::State& state) {
    run(state, [] {
        readini(home().ctx);
        home().model.setCheckValue(ctl::chkSave, 1);
        benchmark::DoNotOptimize(writeini(home().ctx));
    });
}
BENCHMARK(BM_ReadiniWriteini)->Unit(benchmark::kMicrosecond);

void BM_Readini(benchmark::State& state) {
    run(state, [] { readini(home().ctx); });
}
BENCHMARK(BM_Readini)->Unit(benchmark::kMicrosecond);

void BM_Writeini(benchmark::State& state) {
    run(state, [] { benchmark::DoNotOptimize(writeini(home().ctx)); });
}
BENCHMARK(BM_Writeini)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
