#include "platform/filelinks.h"

#include <QFile>
#include <filesystem>
#include <system_error>

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

} // namespace morvane
