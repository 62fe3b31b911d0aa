#include "fixups/fixupfiles.h"

#include "fixups/imagefolder.h"
#include "platform/atomicfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace morvane::fixups {

namespace {

constexpr char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}
constexpr char upperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
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

bool replaceFile(const QString& path, const QByteArray& content) {
    const QString dir = QFileInfo(path).absolutePath();
    const std::optional<FolderTime> before = folderTime(dir);
    if (!replaceFileAtomically(path, content, Durability::NoWait))
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

} // namespace morvane::fixups
