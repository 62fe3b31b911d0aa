#include "platform/privatefile.h"

#include <QDir>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace morvane {

QString randomName(const QString& folder, const QString& pattern) {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString name = pattern;
    const qsizetype at = name.indexOf(QStringLiteral("XXXXXX"));
    for (qsizetype i = 0; at >= 0 && i < 6; ++i)
        name[at + i] = QLatin1Char(letters[QRandomGenerator::global()->bounded(62)]);
    return folder + QLatin1Char('/') + name;
}

namespace {

// A name in the temporary folder, chosen (and written in the journal) before
// anything is created, so that a kill at any moment leaves nothing the
// journal does not name.
QString freshName(const QString& pattern) {
    return randomName(QDir::tempPath(), pattern);
}

constexpr int kAttempts = 16;

} // namespace

PrivateFile::PrivateFile(const QString& pattern, const QByteArray& content) {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        m_file.setFileName(freshName(pattern));
        m_entry = journal::recordTemporary(m_file.fileName());
        // Never an existing file: another name is tried instead.
        if (m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            break;
        journal::done(m_entry);
        m_entry = 0;
    }
    if (!m_file.isOpen())
        return;
    // What the run was given is the user's business alone.
    m_file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    m_written = m_file.write(content) == content.size() && m_file.flush();
    m_file.close();
}

PrivateFile::~PrivateFile() {
    if (m_entry)
        m_file.remove();
    journal::done(m_entry);
}

PrivateFolder::PrivateFolder(const QString& pattern) {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const QString path = freshName(pattern);
        m_entry = journal::recordOwnedPrefix(QDir::tempPath(), QDir(path).dirName());
        if (::mkdir(QFile::encodeName(path).constData(), 0700) == 0) {
            m_path = path;
            return;
        }
        journal::done(m_entry);
        m_entry = 0;
    }
}

QString PrivateFolder::writeNewFile(const QString& name, const QByteArray& content) const {
    if (m_path.isEmpty())
        return {};
    const QString path = filePath(name);
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return {};
    qsizetype done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.constData() + done, size_t(content.size() - done));
        if (n <= 0)
            break;
        done += n;
    }
    ::close(fd);
    return done == content.size() ? path : QString();
}

PrivateFolder::~PrivateFolder() {
    if (!m_path.isEmpty())
        QDir(m_path).removeRecursively();
    journal::done(m_entry);
}

} // namespace morvane
