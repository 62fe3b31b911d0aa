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

QString causeOfNothingProduced(const QString& batchDriver, const QString& expectedOutput) {
    QFile script(batchDriver);
    if (script.open(QIODevice::ReadOnly) && script.read(1 << 16).contains("\r\n"))
        return QDir::toNativeSeparators(batchDriver) +
               QStringLiteral(" has Windows line ends (CR LF), which the shell cannot read: "
                              "replace it with an original copy");
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
