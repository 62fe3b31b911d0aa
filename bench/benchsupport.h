#pragma once

// What the route benchmarks share: medians, timing a program run and the
// settings of the program directory they convert with.

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <functional>
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
