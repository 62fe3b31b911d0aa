#include "platform/filelinks.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace morvane {

namespace {
std::filesystem::path native(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}
} // namespace

bool linkOrCopyFile(const QString& existing, const QString& newName) {
    std::error_code code;
    std::filesystem::create_hard_link(native(existing), native(newName), code);
    if (!code)
        return true;
    return QFile::copy(existing, newName);
}

bool sameFileOnDisk(const QString& a, const QString& b) {
    std::error_code code;
    const bool same = std::filesystem::equivalent(native(a), native(b), code);
    return !code && same;
}

bool renameReplacing(const QString& from, const QString& to) {
    std::error_code code;
    std::filesystem::rename(native(from), native(to), code);
    return !code;
}

int hardLinkCount(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_nlink) : 0;
}

bool renameNoReplace(const QString& from, const QString& to) {
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the flag: the check and the rename are two
    // steps, which is the best it allows.
    struct stat info {};
    if (::lstat(target.constData(), &info) == 0)
        return false;
    return ::rename(source.constData(), target.constData()) == 0;
}

bool linkExclusive(const QString& existing, const QString& newName) {
    return ::link(QFile::encodeName(existing).constData(),
                  QFile::encodeName(newName).constData()) == 0;
}

} // namespace morvane
