#include "platform/pathutils.h"

#include "platform/atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace morvane {

namespace {

// Files up to this size are read whole and have their line ends normalised;
// larger ones are copied as they are.
constexpr qint64 kTextCopyLimit = 60000;

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

} // namespace

QString replaceAll(const QString& text, const QString& search, const QString& replacement) {
    if (search.isEmpty())
        return text;
    QString result = text;
    qsizetype from = 0;
    for (;;) {
        const qsizetype hit = result.indexOf(search, from);
        if (hit < 0)
            return result;
        result.replace(hit, search.size(), replacement);
        // Go on after the inserted text so that it is never searched again.
        from = hit + replacement.size();
    }
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
        return copyFileAtomically(source, destination, Durability::NoWait);
    }
    const QByteArray bytes = withPlatformLineEnds(in.readAll());
    in.close();
    return replaceFileAtomically(destination, bytes, Durability::NoWait);
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

QByteArray readFileStart(const QString& file, qsizetype bytes) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    return in.read(bytes);
}

QString userStateFolder() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/morvane");
}

} // namespace morvane
