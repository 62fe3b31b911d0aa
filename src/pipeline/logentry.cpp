#include "pipeline/logentry.h"

#include <QDir>

namespace morvane {

QString compilerStyleLine(const LogEntry& entry) {
    const QString place = entry.line > 0 ? QDir::toNativeSeparators(entry.file) + QLatin1Char(':') +
                                               QString::number(entry.line)
                                         : QDir::toNativeSeparators(entry.file);
    const QLatin1String kind(entry.severity == LogEntry::Severity::Error ? "error" : "warning");
    return place + QStringLiteral(": ") + kind + QStringLiteral(": ") + entry.message;
}

QString entryCountText(const LogEntries& entries) {
    qsizetype errors = 0;
    for (const LogEntry& entry : entries)
        errors += entry.severity == LogEntry::Severity::Error;
    const qsizetype warnings = entries.size() - errors;
    auto counted = [](qsizetype n, const char* word) {
        return QString::number(n) + QLatin1Char(' ') + QLatin1String(word) +
               (n == 1 ? QString() : QStringLiteral("s"));
    };
    QStringList parts;
    if (errors > 0)
        parts.append(counted(errors, "error"));
    if (warnings > 0)
        parts.append(counted(warnings, "warning"));
    return parts.join(QStringLiteral(", "));
}

} // namespace morvane
