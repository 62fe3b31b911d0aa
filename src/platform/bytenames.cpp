#include "platform/bytenames.h"

#include "platform/pathutils.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace morvane {

bool decodesWhole(const QByteArray& raw) {
    return QFile::encodeName(QFile::decodeName(raw)) == raw;
}

namespace {

// The folder of the links: the user's own, beside the run journal, so that
// a name the journal recorded through a link still leads somewhere after a
// restart.
QByteArray linkFolder() {
    const QString folder = userStateFolder() + QStringLiteral("/folders");
    QDir().mkpath(folder);
    const QByteArray native = QFile::encodeName(folder);
    struct stat info {};
    // A folder someone else made (or a link put in its place) is not used.
    if (::lstat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::geteuid())
        return {};
    ::chmod(native.constData(), 0700);
    return native;
}

QByteArray absolute(const QByteArray& raw) {
    if (raw.startsWith('/'))
        return raw;
    char here[PATH_MAX];
    if (!::getcwd(here, sizeof here))
        return {};
    return QByteArray(here) + '/' + raw;
}

bool isFolder(const QByteArray& path) {
    struct stat info {};
    return ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

// A link named after the folder's bytes: made once, then found again by
// every later start (a hand-over to the running window included). A name
// taken by anything else is passed over for the next one.
QByteArray linkTo(const QByteArray& folder) {
    const QByteArray links = linkFolder();
    if (links.isEmpty())
        return {};
    const QByteArray hash =
        QCryptographicHash::hash(folder, QCryptographicHash::Sha256).toHex().left(16);
    for (int attempt = 1; attempt <= 8; ++attempt) {
        const QByteArray link =
            links + '/' + hash + (attempt > 1 ? '-' + QByteArray::number(attempt) : "");
        if (::symlink(folder.constData(), link.constData()) == 0)
            return link;
        if (errno != EEXIST)
            return {};
        char target[PATH_MAX];
        const ssize_t length = ::readlink(link.constData(), target, sizeof target);
        if (length >= 0 && QByteArray(target, int(length)) == folder)
            return link;
    }
    return {};
}

} // namespace

ReachableName reachableName(const QByteArray& raw) {
    if (decodesWhole(raw))
        return {QFile::decodeName(raw), {}};
    const QByteArray path = absolute(raw);
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = path.left(slash > 0 ? slash : 1);
    const QByteArray file = path.mid(slash + 1);
    if (!decodesWhole(file))
        return {{},
                QStringLiteral("The name of %1 is not valid text in this system's encoding, "
                               "and the results would be named after it: rename the file "
                               "to convert it.")
                    .arg(QFile::decodeName(raw))};
    if (!isFolder(folder))
        return {{}, QStringLiteral("%1 doesn't exist.").arg(QFile::decodeName(raw))};
    const QByteArray link = linkTo(folder);
    if (link.isEmpty())
        return {{},
                QStringLiteral("The folder of %1 has a name that is not valid text in this "
                               "system's encoding, and no link to it could be made in %2.")
                    .arg(QFile::decodeName(raw), QFile::decodeName(linkFolder()))};
    return {QFile::decodeName(link + '/' + file), {}};
}

} // namespace morvane
