// Image fix-ups of produced pages: the image subdirectory, copies of the
// pictures left in the TeX file's folder, and TeX4ht's mouse-over scripts.

#include "fixups/firstlink.h"
#include "fixups/fixupfiles.h"
#include "fixups/htmlfixups.h"
#include "fixups/imagefolder.h"
#include "pipeline/appcontext.h"
#include "pipeline/conversion.h"
#include "platform/atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace morvane {

using namespace fixups;

namespace {

constexpr QByteArrayView fileUrl = "file:///";

// The value of an image opener at `valueStart`, up to its closing quote or
// the end of the line.
QByteArrayView attributeValue(QByteArrayView line, qsizetype valueStart) {
    const qsizetype close = line.indexOf('"', valueStart);
    return line.sliced(valueStart, (close < 0 ? line.size() : close) - valueStart);
}

// Puts `prefix` in front of every image source of the line. Addresses with a
// scheme and absolute paths do not lie beside the page and stay as they are.
std::optional<QByteArray> prefixImageSources(QByteArrayView line, const QByteArray& prefix) {
    QByteArray result;
    qsizetype copied = 0;
    bool changed = false;
    for (qsizetype at = indexOfAnyCase(line, imageOpener); at >= 0;
         at = indexOfAnyCase(line, imageOpener, at + imageOpener.size())) {
        const qsizetype valueStart = at + imageOpener.size();
        const QByteArrayView value = attributeValue(line, valueStart);
        if (value.startsWith('/') || value.contains(':'))
            continue;
        if (!changed) {
            result.reserve(line.size() + 4 * prefix.size());
            changed = true;
        }
        result.append(line.sliced(copied, valueStart - copied));
        result.append(prefix);
        copied = valueStart;
    }
    if (!changed)
        return std::nullopt;
    result.append(line.sliced(copied));
    return result;
}

QString withoutTrailingSlash(const QString& dir) {
    return dir.size() > 1 && dir.endsWith(QLatin1Char('/')) ? dir.chopped(1) : dir;
}

} // namespace

void fixImageSubdirectory(Conversion& conv, const LinkRules& rules, const QString& page,
                          const QString& subdir, bool keepOriginals) {
    const QFileInfo info(page);
    if (!info.isFile())
        return;
    // An empty or "." subdirectory would copy each picture onto itself and
    // then delete it; one reaching outside would scatter the output.
    if (!staysInside(subdir))
        return;
    BusyPointer busy;
    const QString name = QDir::cleanPath(subdir);
    const QString dir = info.absolutePath();
    const QString subdirPath = dir + QLatin1Char('/') + name;
    QDir().mkpath(subdirPath); // errors are ignored: the copies below then fail
    moveFolderImages(dir, subdirPath, keepOriginals);

    const QByteArray prefix = name.toUtf8() + '/';
    const QByteArray lowerPrefix = asciiLower(prefix);
    const QString destination = subdirPath + QLatin1Char('/');
    const QString pageName = info.fileName();
    editFileLines(page, [&](QByteArrayView line) -> std::optional<QByteArray> {
        if (!containsAnyCase(line, lowerPrefix) && isImageLine(line) &&
            !containsAnyCase(line, fileUrl)) {
            copySourceImages(conv, line, destination);
            // A picture inside a link (<a href="b.tex"><img ...></a>) gets
            // its link fixed in the same pass, as every other line does.
            if (const std::optional<QByteArray> prefixed = prefixImageSources(line, prefix))
                return rewriteFirstLink(conv, rules, *prefixed, pageName).value_or(*prefixed);
        }
        return rewriteFirstLink(conv, rules, line, pageName);
    });
}

void copySourceImages(Conversion& conv, QByteArrayView line, const QString& destinationDir) {
    const QString texFile = conv.app.convertFile();
    if (texFile.isEmpty() || !isImageLine(line))
        return;
    const qsizetype valueStart = indexOfAnyCase(line, imageOpener) + imageOpener.size();
    const qsizetype close = line.indexOf('"', valueStart);
    if (close < 0)
        return;
    const QString name = pathFromBytes(line.sliced(valueStart, close - valueStart));
    // Only pictures below the TeX file's folder are copied, and only to below
    // the destination: "../" or an absolute name could reach anywhere.
    if (!staysInside(name))
        return;
    const QString source = QFileInfo(texFile).absolutePath() + QLatin1Char('/') + name;
    if (!QFileInfo(source).isFile())
        return;
    const QString destination = withoutTrailingSlash(destinationDir) + QLatin1Char('/') + name;
    if (sameFile(source, destination))
        return;
    QDir().mkpath(QFileInfo(destination).absolutePath());
    copyFileAtomically(source, destination, Durability::NoWait);
}

void copySourceImages(Conversion& conv, const QString& line, const QString& destinationDir) {
    const QByteArray bytes = line.toUtf8();
    copySourceImages(conv, QByteArrayView(bytes), destinationDir);
}

void fixPlainImages(Conversion& conv, const QString& page, const QString& outputDir) {
    if (!QFileInfo(page).isFile())
        return;
    const std::optional<QByteArray> content = readFile(page);
    if (!content)
        return;
    BusyPointer busy;
    const QString destination = withoutTrailingSlash(outputDir) + QLatin1Char('/');
    // The page itself stays as it is: only its pictures are fetched.
    editLines(*content, [&](QByteArrayView line) -> std::optional<QByteArray> {
        if (isImageLine(line) && !containsAnyCase(line, fileUrl))
            copySourceImages(conv, line, destination);
        return std::nullopt;
    });
}

void fixPlainImagesAndLinks(Conversion& conv, const LinkRules& rules, const QString& page,
                            const QString& outputDir) {
    const QFileInfo info(page);
    if (!info.isFile())
        return;
    const std::optional<QByteArray> content = readFile(page);
    if (!content)
        return;
    BusyPointer busy;
    const QString destination = withoutTrailingSlash(outputDir) + QLatin1Char('/');
    const QString pageName = info.fileName();
    // One read and at most one write per page, however many rewrites it gets.
    const std::optional<QByteArray> edited =
        editLines(*content, [&](QByteArrayView line) -> std::optional<QByteArray> {
            if (isImageLine(line) && !containsAnyCase(line, fileUrl))
                copySourceImages(conv, line, destination);
            return rewriteFirstLink(conv, rules, line, pageName);
        });
    if (edited)
        replaceFile(page, *edited);
}

void fixJavaScript(const QString& script, const QString& subdir) {
    if (!QFileInfo(script).fileName().contains(QLatin1String("-js.js")) || !staysInside(subdir))
        return;
    const std::optional<QByteArray> content = readFile(script);
    if (!content)
        return;
    const QByteArray opener = QByteArrayLiteral("src=\\\"");
    const QByteArray name = QDir::cleanPath(subdir).toUtf8();
    if (content->contains(opener + name + '/') || content->contains(opener + name + "\\/"))
        return;
    if (!content->contains(opener))
        return; // nothing to point elsewhere: the file keeps its time
    QByteArray text = *content;
    text.replace(opener, opener + name + '/');
    replaceFile(script, text);
}

} // namespace morvane
