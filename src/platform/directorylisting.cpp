#include "platform/directorylisting.h"

#include <QDirIterator>
#include <QFile>

#include <algorithm>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace morvane {

namespace {

EntryKind kindOfMode(mode_t mode) {
    if (S_ISDIR(mode))
        return EntryKind::Directory;
    if (S_ISREG(mode))
        return EntryKind::File;
    if (S_ISLNK(mode))
        return EntryKind::SymbolicLink;
    return EntryKind::Other;
}

// Most file systems name the kind in the entry itself; the others need a
// look at the entry, which must not follow a link either.
EntryKind kindOf(int dirFd, const dirent* entry) {
    switch (entry->d_type) {
    case DT_DIR:
        return EntryKind::Directory;
    case DT_REG:
        return EntryKind::File;
    case DT_LNK:
        return EntryKind::SymbolicLink;
    case DT_UNKNOWN: {
        struct stat st {};
        if (fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            return EntryKind::Other;
        return kindOfMode(st.st_mode);
    }
    default:
        return EntryKind::Other;
    }
}

} // namespace

bool listDirectory(const QString& dir, DirectoryIdentity& identity,
                   QList<DirectoryEntry>& entries) {
    entries.clear();
    // O_NOFOLLOW refuses a link even when it was put there after the parent
    // was listed.
    const int fd =
        ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    if (fstat(fd, &st) != 0) {
        ::close(fd);
        return false;
    }
    identity = {quint64(st.st_dev), quint64(st.st_ino)};
    DIR* stream = fdopendir(fd);
    if (!stream) {
        ::close(fd);
        return false;
    }
    while (const dirent* entry = readdir(stream)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
            continue;
        entries.append({QFile::decodeName(name), kindOf(fd, entry)});
    }
    closedir(stream);
    return true;
}

bool isRegularFile(const QString& path) {
    struct stat st {};
    return stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isExecutableFile(const QString& path) {
    return isRegularFile(path) && access(QFile::encodeName(path).constData(), X_OK) == 0;
}

QStringList fileNamesIn(const QString& dir, const std::function<bool(const QString&)>& wanted,
                        Qt::CaseSensitivity sorting) {
    QStringList names;
    for (QDirIterator it(dir, QDir::Files); it.hasNext();) {
        it.next();
        if (QString name = it.fileName(); wanted(name))
            names.append(std::move(name));
    }
    std::sort(names.begin(), names.end(),
              [sorting](const QString& a, const QString& b) { return a.compare(b, sorting) < 0; });
    return names;
}

} // namespace morvane
