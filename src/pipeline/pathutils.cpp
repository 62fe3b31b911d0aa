#include "pipeline/pathutils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace morvane {

namespace {

// Files up to this size are read whole and have their line ends normalised;
// larger ones are copied as they are.
constexpr qint64 kTextCopyLimit = 60000;

QString replaceAllWith(const QString& text, const QString& search, const QString& replacement,
                       Qt::CaseSensitivity cs) {
    if (search.isEmpty())
        return text;
    QString result = text;
    qsizetype from = 0;
    for (;;) {
        const qsizetype hit = result.indexOf(search, from, cs);
        if (hit < 0)
            return result;
        result.replace(hit, search.size(), replacement);
        // Go on after the inserted text so that it is never searched again.
        from = hit + replacement.size();
    }
}

QByteArray withPlatformLineEnds(QByteArray bytes) {
#ifdef Q_OS_WIN
    // Bare line feeds get their carriage return; existing pairs stay.
    QByteArray out;
    out.reserve(bytes.size() + bytes.size() / 16);
    char previous = 0;
    for (const char c : std::as_const(bytes)) {
        if (c == '\n' && previous != '\r')
            out.append('\r');
        out.append(c);
        previous = c;
    }
    return out;
#else
    return bytes.replace("\r\n", "\n");
#endif
}

bool sameExistingFile(const QString& a, const QString& b) {
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

} // namespace

QString replaceAll(const QString& text, const QString& search, const QString& replacement) {
    return replaceAllWith(text, search, replacement, Qt::CaseSensitive);
}

QString replaceAllAnyCase(const QString& text, const QString& search, const QString& replacement) {
    return replaceAllWith(text, search, replacement, Qt::CaseInsensitive);
}

QString fileNameOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.mid(slash + 1);
}

QString dropTrailingSeparator(const QString& path) {
    if (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        return path.chopped(1);
    return path;
}

QString longPathOf(const QString& path) {
    if (!path.startsWith(QLatin1Char('/')))
        return {};
    // Each prefix is looked up on its own, so that a missing middle directory
    // is noticed even when ".." further on would step over it.
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString built;
    for (const QString& part : parts) {
        const QString candidate = built + QLatin1Char('/') + part;
        // QFileInfo sees hidden entries too; a dangling link counts as missing.
        if (!QFileInfo::exists(candidate))
            return {};
        built = candidate;
    }
    return built.isEmpty() ? QStringLiteral("/") : built;
}

QString quoteForCommandLine(const QString& path) {
    bool needsQuotes = false;
    for (const QChar c : path) {
        if (c.isSpace() || c == QLatin1Char('"')) {
            needsQuotes = true;
            break;
        }
    }
    if (!needsQuotes)
        return path;
    QString quoted = path;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

bool copyTextFile(const QString& source, const QString& destination) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    if (in.size() > kTextCopyLimit) {
        in.close();
        return copyFileAtomically(source, destination);
    }
    const QByteArray bytes = withPlatformLineEnds(in.readAll());
    in.close();
    QSaveFile out(destination);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (out.write(bytes) != bytes.size()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

bool copyFileAtomically(const QString& source, const QString& destination, QString* error) {
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (QFileInfo(source).isDir())
        return fail(QStringLiteral("Is a directory"));
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return fail(in.errorString());
    if (sameExistingFile(source, destination))
        return true;
    QSaveFile out(destination);
    if (!out.open(QIODevice::WriteOnly))
        return fail(out.errorString());
    QByteArray chunk;
    while (!(chunk = in.read(1 << 16)).isEmpty()) {
        if (out.write(chunk) != chunk.size()) {
            out.cancelWriting();
            return fail(out.errorString());
        }
    }
    if (in.error() != QFileDevice::NoError) {
        out.cancelWriting();
        return fail(in.errorString());
    }
    if (!out.commit())
        return fail(out.errorString());
    return true;
}

qsizetype sourceExtensionIndex(const QString& path, const QString& extension) {
    if (extension.isEmpty())
        return -1;
    const qsizetype nameStart = path.lastIndexOf(QLatin1Char('/')) + 1;
    return path.indexOf(extension, nameStart, Qt::CaseInsensitive);
}

QString withoutSourceExtension(const QString& path, const QString& extension) {
    const qsizetype at = sourceExtensionIndex(path, extension);
    return at < 0 ? path : path.left(at);
}

QString joinPath(const QString& dir, const QString& name) {
    if (dir.endsWith(QLatin1Char('/')))
        return dir + name;
    return dir + QLatin1Char('/') + name;
}

} // namespace morvane
