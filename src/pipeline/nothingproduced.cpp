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
                               const char* scriptRoute) {
    QFile script(batchDriver);
    const QByteArray text = script.open(QIODevice::ReadOnly) ? script.read(1 << 20) : QByteArray();
    if (text.contains("\r\n"))
        return QDir::toNativeSeparators(batchDriver) +
               QStringLiteral(" has Windows line ends (CR LF), which the shell cannot read: "
                              "replace it with an original copy");
    // The program directory keeps a user's convert.sh across updates, so a
    // route added since has no function in it. (A script with no route at
    // all is damaged, and Writebat has said so.)
    if (scriptRoute && *scriptRoute && text.contains("\nroute_") &&
        !text.contains(QByteArray("\nroute_") + scriptRoute + "() {"))
        return QDir::toNativeSeparators(batchDriver) +
               QStringLiteral(" is older than this version of Morvane and has no route_%1 "
                              "function for this route: replace it with the convert.sh "
                              "Morvane installs (%2), after keeping a copy of yours if you "
                              "changed it")
                   .arg(QLatin1String(scriptRoute), QDir::toNativeSeparators(QStringLiteral(
                                                        MORVANE_DATA_INSTALL_DIR "/convert.sh")));
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
