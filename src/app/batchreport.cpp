#include "app/batchreport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

namespace morvane {

namespace {

void complain(const QString& text) {
    std::fprintf(stderr, "morvane: %s\n", text.toUtf8().constData());
}

int countOf(const LogEntries& entries, LogEntry::Severity severity) {
    return int(std::count_if(entries.cbegin(), entries.cend(),
                             [severity](const LogEntry& e) { return e.severity == severity; }));
}

} // namespace

QByteArray reportLine(const QString& file, const QString& routeWord, int status,
                      const std::optional<ConversionResult>& result, double seconds) {
    QJsonObject line{{"file", file}, {"route", routeWord}, {"status", status}};
    const bool produced = result && result->produced;
    line.insert("result", produced ? result->output : QString());
    line.insert("log", result ? result->log : QString());
    const LogEntries entries = result ? result->entries : LogEntries();
    line.insert("errors", countOf(entries, LogEntry::Severity::Error));
    line.insert("warnings", countOf(entries, LogEntry::Severity::Warning));
    line.insert("seconds", qRound(seconds * 100) / 100.0);
    line.insert("peak_mb", result ? qRound64(result->peakMemoryBytes / (1024.0 * 1024.0)) : 0);
    return QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n';
}

bool takeReportOption(QStringList& args, bool& bad) {
    bool report = false;
    for (auto arg = args.begin(); arg != args.end();) {
        if (!arg->startsWith(QLatin1String("--report="))) {
            ++arg;
            continue;
        }
        if (*arg != QLatin1String("--report=json")) {
            complain(QStringLiteral("%1: the only report is --report=json.").arg(*arg));
            bad = true;
        }
        report = true;
        arg = args.erase(arg);
    }
    return report;
}

int takeJobsOption(QStringList& args) {
    int jobs = 0;
    for (auto arg = args.begin(); arg != args.end();) {
        if (!arg->startsWith(QLatin1String("--jobs="))) {
            ++arg;
            continue;
        }
        bool ok = false;
        jobs = arg->mid(7).toInt(&ok);
        if (!ok || jobs <= 0) {
            complain(QStringLiteral("--jobs needs a whole number above 0: %1").arg(*arg));
            return -1;
        }
        arg = args.erase(arg);
    }
    return jobs;
}

} // namespace morvane
