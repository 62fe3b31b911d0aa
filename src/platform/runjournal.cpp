#include "platform/runjournal.h"

#include "platform/pathutils.h"

#include "platform/filelinks.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QRandomGenerator>
#include <QSet>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace morvane::journal {

namespace {

const QString kSuffix = QStringLiteral(".journal");

// Names travel as the bytes the file system holds, percent-encoded, so that
// blanks, line breaks and names that are not UTF-8 survive a line format.
QByteArray encoded(const QString& path) {
    return QFile::encodeName(path).toPercentEncoding();
}

QString decoded(const QByteArray& field) {
    return QFile::decodeName(QByteArray::fromPercentEncoding(field));
}

struct Identity {
    quint64 device = 0;
    quint64 inode = 0;
    bool valid = false;
};

Identity identityOf(const QString& path) {
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return {quint64(info.st_dev), quint64(info.st_ino), true};
}

QByteArray identityFields(const Identity& id) {
    return QByteArray::number(id.device) + ' ' + QByteArray::number(id.inode);
}

// This process's journal, opened on the first record and locked for its
// whole life. When every record is done the file is emptied, so it never
// grows with the number of conversions; it goes when the process ends.
class OwnJournal {
public:
    ~OwnJournal() {
        if (m_fd < 0)
            return;
        if (m_open == 0)
            ::unlink(QFile::encodeName(m_path).constData());
        ::close(m_fd);
    }

    Entry append(const QByteArray& kindAndFields) {
        if (!ensureOpen())
            return 0;
        const Entry entry = ++m_last;
        if (!writeLine(QByteArray::number(entry) + ' ' + kindAndFields))
            return 0;
        m_pending.insert(entry);
        ++m_open;
        return entry;
    }

    void done(Entry entry) {
        if (entry == 0 || m_fd < 0 || !m_pending.remove(entry))
            return;
        --m_open;
        if (m_open == 0) [[maybe_unused]]
            const int ignored = ::ftruncate(m_fd, 0);
        else
            writeLine(QByteArray::number(entry) + " done");
    }

    QString path() const { return m_path; }

private:
    bool ensureOpen() {
        if (m_fd >= 0)
            return true;
        if (m_failed || !QDir().mkpath(folder()))
            return false;
        // A fresh name each time (a PID repeats in containers): created
        // exclusively, so no one else's file is ever opened.
        for (int attempt = 0; attempt < 8 && m_fd < 0; ++attempt) {
            m_path = folder() +
                     QStringLiteral("/%1-%2")
                         .arg(QCoreApplication::applicationPid())
                         .arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0')) +
                     kSuffix;
            m_fd = ::open(QFile::encodeName(m_path).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0600);
        }
        if (m_fd < 0 || ::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            m_failed = true;
            return false;
        }
        return true;
    }

    bool writeLine(const QByteArray& line) {
        const QByteArray bytes = line + '\n';
        return ::write(m_fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }

    QString m_path;
    int m_fd = -1;
    bool m_failed = false;
    Entry m_last = 0;
    int m_open = 0;
    QSet<Entry> m_pending;
};

OwnJournal& own() {
    static OwnJournal journal;
    return journal;
}

// One record of a dead process's journal.
struct Record {
    QByteArray kind;
    QList<QByteArray> fields;
};

bool stillTheSame(const QString& path, const QList<QByteArray>& fields, int at) {
    const Identity now = identityOf(path);
    return now.valid && fields.size() > at + 1 && QByteArray::number(now.device) == fields[at] &&
           QByteArray::number(now.inode) == fields[at + 1];
}

void removeIfStillOurs(const QString& path, const QList<QByteArray>& fields) {
    if (!stillTheSame(path, fields, 1))
        return;
    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    if (::lstat(native.constData(), &info) == 0 && S_ISDIR(info.st_mode))
        ::rmdir(native.constData()); // only when the run left it empty
    else
        ::unlink(native.constData());
}

void removeOwned(const QString& folder, const QString& prefix) {
    if (prefix.isEmpty())
        return;
    const QDir dir(folder);
    for (const QString& name :
         dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (!name.startsWith(prefix))
            continue;
        const QString path = dir.filePath(name);
        // A folder of the run's (texi2dvi's NAME.t2d) goes with what is in it;
        // a link is removed, never followed.
        if (QFileInfo(path).isDir() && !QFileInfo(path).isSymLink())
            QDir(path).removeRecursively();
        else
            ::unlink(QFile::encodeName(path).constData());
    }
}

// Undoes a dead process's open records, newest first; says what it renamed
// back.
QStringList undo(const QList<Record>& records) {
    QStringList restored;
    for (auto it = records.crbegin(); it != records.crend(); ++it) {
        const Record& r = *it;
        if (r.fields.isEmpty())
            continue;
        const QString first = decoded(r.fields[0]);
        if (r.kind == "link" || r.kind == "made") {
            removeIfStillOurs(first, r.fields);
        } else if (r.kind == "owned" && r.fields.size() >= 2) {
            removeOwned(first, decoded(r.fields[1]));
        } else if (r.kind == "kept" && r.fields.size() >= 2) {
            const QString kept = decoded(r.fields[1]);
            if (identityOf(kept).valid && renameReplacing(kept, first))
                restored.append(first);
        } else if (r.kind == "scratch" && QFileInfo(first).isDir() &&
                   !QFileInfo(first).isSymLink()) {
            QDir(first).removeRecursively();
        } else if (r.kind == "temp" || r.kind == "scratch") {
            ::unlink(QFile::encodeName(first).constData());
        } else if (r.kind == "rename" && r.fields.size() >= 2) {
            const QString to = decoded(r.fields[1]);
            if (!identityOf(first).valid && identityOf(to).valid && renameNoReplace(to, first))
                restored.append(first);
        }
    }
    return restored;
}

QList<Record> openRecords(const QByteArray& text) {
    QList<Record> records;
    QList<QByteArray> numbers;
    QSet<QByteArray> finished;
    for (const QByteArray& line : text.split('\n')) {
        QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 2)
            continue; // a line cut short by the crash
        const QByteArray number = fields.takeFirst();
        const QByteArray kind = fields.takeFirst();
        if (kind == "done") {
            finished.insert(number);
            continue;
        }
        numbers.append(number);
        records.append({kind, fields});
    }
    QList<Record> open;
    for (qsizetype i = 0; i < records.size(); ++i)
        if (!finished.contains(numbers[i]))
            open.append(records[i]);
    return open;
}

} // namespace

QString folder() {
    return userStateFolder() + QStringLiteral("/journal");
}

Entry recordLink(const QString& link, const QString& target) {
    const Identity id = identityOf(target);
    if (!id.valid)
        return 0;
    return own().append("link " + encoded(link) + ' ' + identityFields(id));
}

Entry recordMade(const QString& made) {
    const Identity id = identityOf(made);
    if (!id.valid)
        return 0;
    return own().append("made " + encoded(made) + ' ' + identityFields(id));
}

Entry recordRename(const QString& from, const QString& to) {
    return own().append("rename " + encoded(from) + ' ' + encoded(to));
}

Entry recordOwnedPrefix(const QString& folder, const QString& prefix) {
    return own().append("owned " + encoded(folder) + ' ' + encoded(prefix));
}

Entry recordKept(const QString& path, const QString& kept) {
    return own().append("kept " + encoded(path) + ' ' + encoded(kept));
}

Entry recordScratch(const QString& path) {
    return own().append("scratch " + encoded(path));
}

Entry recordTemporary(const QString& path) {
    return own().append("temp " + encoded(path));
}

void done(Entry entry) {
    own().done(entry);
}

QStringList recoverDeadRuns() {
    QStringList restored;
    const QString mine = own().path();
    // Every start looks here: the suffix is compared as text, since a name
    // filter would first build a regular expression.
    for (QDirIterator it(folder(), QDir::Files); it.hasNext();) {
        const QString path = it.next();
        if (!path.endsWith(kSuffix) || path == mine)
            continue;
        const QByteArray native = QFile::encodeName(path);
        const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0)
            continue;
        // Held: its process still runs.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            continue;
        }
        QFile file;
        QByteArray text;
        if (file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
            text = file.readAll();
        restored += undo(openRecords(text));
        ::unlink(native.constData());
        ::close(fd);
    }
    return restored;
}

} // namespace morvane::journal
