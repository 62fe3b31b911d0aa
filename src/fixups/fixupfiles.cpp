#include "fixups/fixupfiles.h"

#include "fixups/imagefolder.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <filesystem>

namespace morvane::fixups {

namespace {

constexpr char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}
constexpr char upperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

bool inGuiApplication() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

} // namespace

qsizetype indexOfAnyCase(QByteArrayView haystack, QByteArrayView lowerNeedle, qsizetype from) {
    const qsizetype n = lowerNeedle.size();
    if (from < 0)
        from = 0;
    if (n == 0)
        return from <= haystack.size() ? from : -1;
    const char* h = haystack.data();
    const char* needle = lowerNeedle.data();
    const char first = needle[0];
    const char firstUpper = upperAscii(first);
    const qsizetype last = haystack.size() - n;
    for (qsizetype i = from; i <= last; ++i) {
        const char c = h[i];
        if (c != first && c != firstUpper)
            continue;
        qsizetype k = 1;
        while (k < n && lowerAscii(h[i + k]) == needle[k])
            ++k;
        if (k == n)
            return i;
    }
    return -1;
}

QByteArray asciiLower(QByteArrayView text) {
    QByteArray result(text.data(), text.size());
    for (char& c : result)
        c = lowerAscii(c);
    return result;
}

std::optional<QByteArray> editLines(const QByteArray& content, const LineEdit& edit) {
    QByteArray out;
    bool changed = false;
    qsizetype copiedUpTo = 0; // bytes of `content` before this are already in `out`
    qsizetype pos = 0;
    const qsizetype size = content.size();
    while (pos < size) {
        const qsizetype newline = content.indexOf('\n', pos);
        const qsizetype end = newline < 0 ? size : newline;
        qsizetype lineEnd = end;
        if (newline >= 0 && end > pos && content.at(end - 1) == '\r')
            --lineEnd;
        const QByteArrayView line(content.constData() + pos, lineEnd - pos);
        if (std::optional<QByteArray> replacement = edit(line);
            replacement && QByteArrayView(*replacement) != line) {
            if (!changed) {
                out.reserve(size + size / 8);
                changed = true;
            }
            out.append(content.constData() + copiedUpTo, pos - copiedUpTo);
            out.append(*replacement);
            copiedUpTo = lineEnd;
        }
        pos = newline < 0 ? size : newline + 1;
    }
    if (!changed)
        return std::nullopt;
    out.append(content.constData() + copiedUpTo, size - copiedUpTo);
    return out;
}

std::optional<QByteArray> readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

namespace {

// A file being written beside the one it will replace. Renaming it over the
// original is atomic, so a crash part-way leaves the old file or the new one.
// Unlike QSaveFile it does not wait for the disk: a TeX4ht folder has
// hundreds of pages, and syncing each one made the fix-ups many times slower
// than the conversion's own tools, which do not sync either.
class Replacement {
public:
    explicit Replacement(const QString& path) : m_target(resolved(path)) {
        static quint64 counter = 0;
        const QFileInfo target(m_target);
        m_temp.setFileName(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                           QStringLiteral(".morvane-%1-%2")
                               .arg(QCoreApplication::applicationPid())
                               .arg(++counter));
    }
    ~Replacement() {
        if (!m_done)
            m_temp.remove();
    }
    // A fresh name every time: an existing file is never opened.
    bool open() { return m_temp.open(QIODevice::WriteOnly | QIODevice::NewOnly); }
    bool write(const QByteArray& bytes) { return m_temp.write(bytes) == bytes.size(); }
    bool commit() {
        // The page keeps its mode (read from one status call; a new file
        // gets rw-r--r--).
        std::error_code error;
        const auto status =
            std::filesystem::status(QFile::encodeName(m_target).toStdString(), error);
        const auto mode = !error && std::filesystem::exists(status) ? status.permissions()
                                                                    : std::filesystem::perms(0644);
        std::filesystem::permissions(QFile::encodeName(m_temp.fileName()).toStdString(), mode,
                                     error);
        m_temp.close();
        if (m_temp.error() != QFileDevice::NoError)
            return false;
        std::filesystem::rename(QFile::encodeName(m_temp.fileName()).toStdString(),
                                QFile::encodeName(m_target).toStdString(), error);
        m_done = !error;
        return m_done;
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
};

} // namespace

bool replaceFile(const QString& path, const QByteArray& content) {
    const QString dir = QFileInfo(path).absolutePath();
    const std::optional<FolderTime> before = folderTime(dir);
    Replacement file(path);
    if (!file.open() || !file.write(content) || !file.commit())
        return false;
    noteOwnReplacement(dir, before, folderTime(dir));
    return true;
}

void editFileLines(const QString& path, const LineEdit& edit) {
    const std::optional<QByteArray> content = readFile(path);
    if (!content)
        return;
    if (const std::optional<QByteArray> edited = editLines(*content, edit))
        replaceFile(path, *edited);
}

bool copyFileReplacing(const QString& source, const QString& destination) {
    QFile in(source);
    if (!QFileInfo(source).isFile() || !in.open(QIODevice::ReadOnly))
        return false;
    Replacement out(destination);
    if (!out.open())
        return false;
    constexpr qint64 chunk = 1 << 20;
    while (!in.atEnd()) {
        const QByteArray block = in.read(chunk);
        if (in.error() != QFileDevice::NoError || !out.write(block))
            return false;
    }
    return out.commit();
}

bool sameFile(const QString& a, const QString& b) {
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

bool staysInside(const QString& name) {
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')))
        return false;
    const QStringList parts = name.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return false;
    for (const QString& part : parts)
        if (part == QLatin1String(".") || part == QLatin1String(".."))
            return false;
    return true;
}

QString pathFromBytes(QByteArrayView bytes) {
    return QFile::decodeName(QByteArray(bytes.data(), bytes.size()));
}

BusyPointer::BusyPointer() {
    if (inGuiApplication()) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        m_set = true;
    }
}

BusyPointer::~BusyPointer() {
    if (m_set)
        QGuiApplication::restoreOverrideCursor();
}

NormalPointer::NormalPointer() {
    if (inGuiApplication()) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
        m_set = true;
    }
}

NormalPointer::~NormalPointer() {
    if (m_set)
        QGuiApplication::restoreOverrideCursor();
}

} // namespace morvane::fixups
