#pragma once

// What the route benchmarks share: medians, timing a program run and the
// settings of the program directory they convert with.

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <functional>
#include <sys/resource.h>
#include <vector>

namespace morvane::bench {

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

// Times the route in batch mode against the converter run by hand, each once
// untimed first so that both start from the same auxiliary files, then `runs`
// times alternately; reports both medians (the converter's under
// `directName`) and their ratio.
inline void compareAlternately(benchmark::State& state, const std::function<double()>& batch,
                               const std::function<double()>& direct, const char* directName,
                               int runs) {
    batch();
    direct();
    std::vector<double> batchTimes, directTimes;
    for (auto _ : state) {
        for (int run = 0; run < runs; ++run) {
            directTimes.push_back(direct());
            batchTimes.push_back(batch());
        }
    }
    state.counters["batch_ms"] = median(batchTimes) * 1000.0;
    state.counters[directName] = median(directTimes) * 1000.0;
    state.counters["ratio"] = median(batchTimes) / median(directTimes);
}

// Seconds taken by one run of `program args` in `dir`, its output discarded.
inline double secondsOf(const QString& program, const QStringList& args, const QString& dir,
                        const QProcessEnvironment& env) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(dir);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(program, args);
    process.waitForFinished(-1);
    return timer.nsecsElapsed() / 1e9;
}

inline QString kpsewhich(const QString& name) {
    QProcess which;
    which.start(QStringLiteral("kpsewhich"), {name});
    which.waitForFinished();
    return QString::fromLocal8Bit(which.readAllStandardOutput()).trimmed();
}

// Replaces `from` by `to` in a settings file (the shipped Morvane.ini).
// Processor time (user and system) of all waited-for child processes so far.
inline double childCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// A run's wall and processor time.
struct Timing {
    double wall = 0;
    double cpu = 0;
};

// A program directory of the shipped files in `home`, and LaTeX's sample2e.tex
// in each of `work` and `byHand`; false (the benchmark told) when it is missing.
inline bool prepareSample2e(benchmark::State& state, const QString& home, const QString& work,
                            const QString& byHand) {
    const QString sample = kpsewhich(QStringLiteral("sample2e.tex"));
    const QDir data(QStringLiteral(MORVANE_SOURCE_DIR "/data"));
    for (const QString& name : data.entryList(QDir::Files))
        QFile::copy(data.filePath(name), home + QLatin1Char('/') + name);
    if (sample.isEmpty() || !QFile::copy(sample, work + QStringLiteral("/sample2e.tex")) ||
        !QFile::copy(sample, byHand + QStringLiteral("/sample2e.tex"))) {
        state.SkipWithError("sample2e.tex not found");
        return false;
    }
    return true;
}

inline void editSettings(const QString& ini, const QByteArray& from, const QByteArray& to) {
    QFile file(ini);
    file.open(QIODevice::ReadOnly);
    QByteArray text = file.readAll();
    file.close();
    text.replace(from, to);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(text);
}

// The output roots of the TeX4ht and LaTeX2HTML tabs.
inline void setSaveTo(const QString& ini, const QString& dir) {
    editSettings(ini, "\nSaveTo=\n", "\nSaveTo=" + dir.toUtf8() + "\n");
}

} // namespace morvane::bench
