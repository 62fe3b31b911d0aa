// The atomic copies of the conversion pipeline against a plain QFile::copy
// of the same files, measured in the same run:
//  - copyTextFile on TeX sources just below the 60000-byte limit (read whole,
//    CR LF normalised, written through QSaveFile): counter "ratio_vs_qfile_copy";
//  - copyFileAtomically on a large file (chunked through QSaveFile): counter
//    "ratio_vs_qfile_copy" of the large-file benchmark.

#include "platform/atomicfile.h"
#include "platform/pathutils.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <functional>

using namespace morvane;

namespace {

constexpr int textFileCount = 200;
constexpr int textFileBytes = 59000;
constexpr qint64 largeFileBytes = 64LL * 1024 * 1024;

struct Files {
    QTemporaryDir dir;
    QStringList texts;
    QString large;

    Files() {
        QByteArray text;
        while (text.size() < textFileBytes - 80)
            text += "\\section{Lorem} ipsum dolor sit amet, consectetur adipiscing elit.\r\n";
        for (int i = 0; i < textFileCount; ++i) {
            texts.append(dir.filePath(QStringLiteral("t%1.tex").arg(i)));
            QFile f(texts.last());
            if (f.open(QIODevice::WriteOnly))
                f.write(text);
        }
        large = dir.filePath(QStringLiteral("large.bin"));
        QFile f(large);
        if (f.open(QIODevice::WriteOnly)) {
            const QByteArray block(1 << 20, 'x');
            for (qint64 written = 0; written < largeFileBytes; written += block.size())
                f.write(block);
        }
    }
};

Files& files() {
    static Files instance;
    return instance;
}

double seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// QFile::copy refuses an existing destination: remove it first, as a
// non-atomic copy would.
void plainCopy(const QString& from, const QString& to) {
    QFile::remove(to);
    QFile::copy(from, to);
}

void BM_TextFilesCopy(benchmark::State& state) {
    Files& f = files();
    double plain = 0;
    double ours = 0;
    for (auto _ : state) {
        plain += seconds([&] {
            for (const QString& t : f.texts)
                plainCopy(t, t + QStringLiteral(".plain"));
        });
        ours += seconds([&] {
            for (const QString& t : f.texts)
                benchmark::DoNotOptimize(copyTextFile(t, t + QStringLiteral(".out")));
        });
    }
    state.counters["ratio_vs_qfile_copy"] = ours / plain;
}
BENCHMARK(BM_TextFilesCopy)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_LargeFileCopy(benchmark::State& state) {
    Files& f = files();
    double plain = 0;
    double ours = 0;
    for (auto _ : state) {
        plain += seconds([&] { plainCopy(f.large, f.large + QStringLiteral(".plain")); });
        ours += seconds([&] {
            benchmark::DoNotOptimize(copyFileAtomically(f.large, f.large + QStringLiteral(".out"),
                                                        Durability::WaitForDisk));
        });
    }
    state.counters["ratio_vs_qfile_copy"] = ours / plain;
}
BENCHMARK(BM_LargeFileCopy)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

BENCHMARK_MAIN();
