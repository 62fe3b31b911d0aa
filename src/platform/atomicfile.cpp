#include "platform/atomicfile.h"

#include "platform/runjournal.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace morvane {

namespace {

bool fail(QString* error, const QString& why) {
    if (error)
        *error = why;
    return false;
}

// A file being written beside the one it will replace. Renaming it over the
// original is atomic, so a crash part-way leaves the old file or the new one.
class Replacement {
public:
    explicit Replacement(const QString& path) : m_target(resolved(path)) {
        static quint64 counter = 0;
        // A token of this process: PIDs repeat (in containers every program
        // is process 1), and a killed run's temporary is removed by the next
        // start only because its journal names it.
        static const quint32 token = QRandomGenerator::global()->generate();
        const QString folder = QFileInfo(m_target).absolutePath();
        // The temporary name does not repeat the target's, so that a name
        // near the file system's length limit still leaves room for it.
        m_temp.setFileName(folder + QStringLiteral("/.morvane-%1-%2.tmp")
                                        .arg(token, 8, 16, QLatin1Char('0'))
                                        .arg(++counter));
        m_entry = journal::recordTemporary(m_temp.fileName());
    }
    ~Replacement() {
        if (!m_done)
            m_temp.remove();
        journal::done(m_entry);
    }
    Replacement(const Replacement&) = delete;
    Replacement& operator=(const Replacement&) = delete;

    // A fresh name every time: an existing file is never opened.
    bool open() { return m_temp.open(QIODevice::WriteOnly | QIODevice::NewOnly); }
    bool write(const QByteArray& bytes) { return m_temp.write(bytes) == bytes.size(); }
    QString errorString() const { return m_temp.errorString(); }

    bool commit(Durability durability, QString* error) {
        // The file keeps its mode (read from one status call; a new file
        // gets rw-r--r--).
        std::error_code code;
        const auto status =
            std::filesystem::status(QFile::encodeName(m_target).toStdString(), code);
        const auto mode = !code && std::filesystem::exists(status) ? status.permissions()
                                                                   : std::filesystem::perms(0644);
        std::filesystem::permissions(QFile::encodeName(m_temp.fileName()).toStdString(), mode,
                                     code);
        if (!m_temp.flush())
            return fail(error, m_temp.errorString());
        if (durability == Durability::WaitForDisk && ::fsync(m_temp.handle()) != 0)
            return fail(error, QString::fromLocal8Bit(std::strerror(errno)));
        m_temp.close();
        if (m_temp.error() != QFileDevice::NoError)
            return fail(error, m_temp.errorString());
        std::filesystem::rename(QFile::encodeName(m_temp.fileName()).toStdString(),
                                QFile::encodeName(m_target).toStdString(), code);
        if (code)
            return fail(error, QString::fromStdString(code.message()));
        m_done = true;
        return true;
    }

private:
    // A link is written through to the file it names, as an editor would.
    static QString resolved(const QString& path) {
        const QFileInfo info(path);
        return info.isSymLink() ? info.symLinkTarget() : path;
    }

    QString m_target;
    QFile m_temp;
    bool m_done = false;
    journal::Entry m_entry = 0;
};

bool sameExistingFile(const QString& a, const QString& b) {
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

} // namespace

namespace {

std::vector<ReplacementFailures*>& recorders() {
    static std::vector<ReplacementFailures*> stack;
    return stack;
}

bool replaceNow(const QString& path, const QByteArray& content, Durability durability,
                QString* error) {
    Replacement file(path);
    if (!file.open())
        return fail(error, file.errorString());
    if (!file.write(content))
        return fail(error, file.errorString());
    return file.commit(durability, error);
}

} // namespace

ReplacementFailures::ReplacementFailures() {
    recorders().push_back(this);
}

ReplacementFailures::~ReplacementFailures() {
    std::erase(recorders(), this);
}

void ReplacementFailures::record(const QString& path, const QString& reason) {
    m_entries.append(path + QStringLiteral(": ") + reason);
}

bool replaceFileAtomically(const QString& path, const QByteArray& content, Durability durability,
                           QString* error) {
    QString why;
    if (replaceNow(path, content, durability, &why))
        return true;
    if (durability == Durability::NoWait && !recorders().empty())
        recorders().back()->record(path, why);
    return fail(error, why);
}

bool replaceFileIfChanged(const QString& path, const QByteArray& content, Durability durability,
                          QString* error) {
    QFile current(path);
    if (current.size() == content.size() && current.open(QIODevice::ReadOnly) &&
        current.readAll() == content)
        return true;
    return replaceFileAtomically(path, content, durability, error);
}

bool copyFileAtomically(const QString& source, const QString& destination, Durability durability,
                        QString* error) {
    if (QFileInfo(source).isDir())
        return fail(error, QStringLiteral("Is a directory"));
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return fail(error, in.errorString());
    if (sameExistingFile(source, destination))
        return true;
    Replacement out(destination);
    if (!out.open())
        return fail(error, out.errorString());
    constexpr qint64 chunk = 1 << 20;
    while (!in.atEnd()) {
        const QByteArray block = in.read(chunk);
        if (in.error() != QFileDevice::NoError)
            return fail(error, in.errorString());
        if (!out.write(block))
            return fail(error, out.errorString());
    }
    return out.commit(durability, error);
}

} // namespace morvane
