#include "pipeline/nothingproduced.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace morvane {

namespace {
// Less than this is no room for a page, a log and their temporary copies.
constexpr qint64 kFullDiskBytes = 1 << 20;
} // namespace

QString causeOfNothingProduced(const QString& batchDriver, const QString& expectedOutput,
                               const QString& scriptRoute) {
    QFile script(batchDriver);
    const QByteArray text = script.open(QIODevice::ReadOnly) ? script.readAll() : QByteArray();
    if (text.contains("\r\n"))
        return QDir::toNativeSeparators(batchDriver) +
               QStringLiteral(" has Windows line ends (CR LF), which the shell cannot read: "
                              "replace it with an original copy");
    // A convert.sh kept from before the route was added cannot run it (one
    // without its settings block was already reported when it was written).
    if (text.contains("REM Morvane will be writing text here automatically") &&
        !scriptRoute.isEmpty() &&
        !text.contains("\nroute_" + scriptRoute.toUtf8() + "() {"))
        return QDir::toNativeSeparators(batchDriver) +
               QStringLiteral(" is older than Morvane and has no %1 route: replace it with the "
                              "convert.sh Morvane was installed with")
                   .arg(scriptRoute);
    if (expectedOutput.isEmpty())
        return {};
    const QFileInfo folder(QFileInfo(expectedOutput).absolutePath());
    if (folder.isDir() && !folder.isWritable())
        return QStringLiteral("the folder ") + QDir::toNativeSeparators(folder.filePath()) +
               QStringLiteral(" cannot be written");
    const QStorageInfo disk(folder.isDir() ? folder.filePath() : QDir::rootPath());
    if (disk.isValid() && disk.bytesAvailable() >= 0 && disk.bytesAvailable() < kFullDiskBytes)
        return QStringLiteral("the disk that holds ") +
               QDir::toNativeSeparators(folder.filePath()) + QStringLiteral(" is full");
    return {};
}

} // namespace morvane
