#include "settings/editorcheck.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace morvane {

QString editorProblem(const QString& entry) {
    if (entry.isEmpty())
        return {};
    if (!entry.contains(QLatin1Char('/')) && !QStandardPaths::findExecutable(entry).isEmpty())
        return {};
    const QFileInfo file(entry);
    if (!file.exists())
        return QStringLiteral("Can't find ") + entry + QLatin1Char('\n');
    // The file dialog offers every file; only a program can be started.
    if (!file.isFile() || !file.isExecutable())
        return QStringLiteral("Can't run ") + entry + QLatin1Char('\n');
    return {};
}

} // namespace morvane
