#include "fixups/pagepictures.h"

#include "fixups/fixupfiles.h"
#include "fixups/workingcopyfiles.h"
#include "platform/atomicfile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace morvane {

using fixups::readFile;
using fixups::staysInside;

namespace {

const QStringList& webExtensions() {
    static const QStringList extensions = {
        QStringLiteral(".png"), QStringLiteral(".jpg"), QStringLiteral(".jpeg"),
        QStringLiteral(".gif"), QStringLiteral(".svg"), QStringLiteral(".webp"),
        QStringLiteral(".PNG"), QStringLiteral(".JPG"), QStringLiteral(".JPEG")};
    return extensions;
}

bool isWebPicture(const QString& name) {
    for (const QString& extension : webExtensions())
        if (name.endsWith(extension))
            return true;
    return false;
}

// A source that names a file of this computer by a relative path.
bool isLocalRelative(const QString& source) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    return !source.isEmpty() && !source.startsWith(QLatin1Char('/')) &&
           !source.startsWith(QLatin1Char('#')) && !scheme.match(source).hasMatch();
}

QString attributeText(const QByteArray& value) {
    QString text = QString::fromUtf8(value);
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return QUrl::fromPercentEncoding(text.toUtf8());
}

QByteArray attributeValue(const QString& path) {
    QByteArray value = QUrl::toPercentEncoding(path, "/");
    value.replace('&', "&amp;");
    return value;
}

// The path below the document's folder, if the picture `name` is there.
QString existingBelow(const QDir& documentFolder, const QString& name) {
    const QString path = QDir::cleanPath(name);
    if (!staysInside(path))
        return {};
    return QFileInfo(documentFolder.filePath(path)).isFile() ? path : QString();
}

} // namespace

QString webPictureFor(const PictureSearch& search, const QString& name) {
    const QDir documentFolder(search.documentFolder);
    QStringList places{QString()};
    for (const QString& folder : search.folders)
        places.append(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'));
    for (const QString& place : places) {
        if (isWebPicture(name)) {
            if (const QString found = existingBelow(documentFolder, place + name); !found.isEmpty())
                return found;
            continue;
        }
        for (const QString& extension : webExtensions())
            if (const QString found = existingBelow(documentFolder, place + name + extension);
                !found.isEmpty())
                return found;
    }
    return {};
}

QByteArray withPicturesBroughtIn(const QByteArray& page, const QString& outputDir,
                                 const PictureSearch& search) {
    static const QRegularExpression image(QStringLiteral("<img\\b[^>]*?\\ssrc=\"([^\"]*)\""),
                                          QRegularExpression::CaseInsensitiveOption);
    const QString text = QString::fromUtf8(page);
    const QDir output(outputDir);
    const QDir documentFolder(search.documentFolder);
    QByteArray fixed;
    qsizetype copiedUpTo = 0;
    for (auto it = image.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QString source = attributeText(match.captured(1).toUtf8());
        if (!isLocalRelative(source) || QFileInfo(output.filePath(source)).isFile())
            continue;
        const QString found = webPictureFor(search, source);
        if (found.isEmpty())
            continue;
        const QString copy = output.filePath(found);
        QDir().mkpath(QFileInfo(copy).absolutePath());
        copyIfDifferent(documentFolder.filePath(found), copy);
        if (!QFileInfo(copy).isFile())
            continue;
        fixed += text.mid(copiedUpTo, match.capturedStart(1) - copiedUpTo).toUtf8();
        fixed += attributeValue(found);
        copiedUpTo = match.capturedEnd(1);
    }
    if (copiedUpTo == 0)
        return page;
    return fixed + text.mid(copiedUpTo).toUtf8();
}

bool bringPicturesIn(const QString& page, const PictureSearch& search) {
    const std::optional<QByteArray> text = readFile(page);
    if (!text)
        return false;
    const QByteArray fixed = withPicturesBroughtIn(*text, QFileInfo(page).absolutePath(), search);
    if (fixed == *text)
        return true;
    return replaceFileAtomically(page, fixed, Durability::NoWait);
}

} // namespace morvane
