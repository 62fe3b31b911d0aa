#include "pipeline/safealias.h"

#include "pipeline/appcontext.h"
#include "pipeline/conversion.h"
#include "pipeline/convertcommand.h"
#include "platform/atomicfile.h"
#include "platform/filelinks.h"
#include "platform/pathutils.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace morvane {

namespace {

const QStringList kPageSuffixes{QStringLiteral("html"),  QStringLiteral("htm"),
                                QStringLiteral("xml"),   QStringLiteral("xht"),
                                QStringLiteral("xhtml"), QStringLiteral("css")};
const QStringList kLogSuffixes{QStringLiteral("log"), QStringLiteral("tlog"),
                               QStringLiteral("hlog"), QStringLiteral("ilg"),
                               QStringLiteral("blg")};

bool isPlainNameCharacter(QChar c) {
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('_') ||
           c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('.');
}

// A name of its own for every run, that no document is likely to have.
QString newAliasName() {
    static quint64 counter = 0;
    return QStringLiteral("morvane-alias-%1-%2")
        .arg(QCoreApplication::applicationPid())
        .arg(++counter);
}

// The backup of a document converted in its own output folder.
const QString kBackupPrefix = QStringLiteral("Backup of ");

QStringList filesIn(const QString& dir) {
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// The document and its companions (base.aux, base.bbl, base.cfg, ..., and
// the in-place backup) under the alias in the same folder.
void linkCompanions(const QString& dir, const QString& base, const QString& alias) {
    for (const QString& name : filesIn(dir)) {
        const QString prefix = name.startsWith(kBackupPrefix) ? kBackupPrefix : QString();
        if (!name.mid(prefix.size()).startsWith(base))
            continue;
        const QString rest = name.mid(prefix.size() + base.size());
        if (rest.isEmpty() || rest.startsWith(QLatin1Char('.')))
            linkOrCopyFile(dir + QLatin1Char('/') + name,
                           dir + QLatin1Char('/') + prefix + alias + rest);
    }
}

// A log or page that speaks of the alias speaks of the real name again.
void rewriteText(const QString& file, const QByteArray& alias, const QString& base) {
    const QString suffix = QFileInfo(file).suffix().toLower();
    const bool page = kPageSuffixes.contains(suffix);
    if (!page && !kLogSuffixes.contains(suffix))
        return;
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return;
    const QByteArray text = in.readAll();
    in.close();
    if (text.contains(alias))
        replaceFileAtomically(file, withRealName(text, alias, base, page), Durability::NoWait);
}

// Every file named after the alias gets the real name: a link to a companion
// that the converter left as it was simply goes; a file it wrote replaces the
// one of the real name.
void restoreNames(const QString& dir, const QString& base, const QString& alias) {
    for (const QString& name : filesIn(dir)) {
        if (!name.contains(alias))
            continue;
        const QString from = dir + QLatin1Char('/') + name;
        const QString to = dir + QLatin1Char('/') + replaceAll(name, alias, base);
        if (sameFileOnDisk(from, to))
            QFile::remove(from);
        else
            renameReplacing(from, to);
        rewriteText(to, alias.toUtf8(), base);
    }
}

// The output folder and its subfolders (images): names and page links.
void restoreOutputFolder(const QString& dir, const QString& base, const QString& alias) {
    QStringList folders{dir};
    QDirIterator it(dir, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        folders.append(it.next());
    for (const QString& folder : folders) {
        restoreNames(folder, base, alias);
        for (const QString& name : QDir(folder).entryList(QDir::Files))
            rewriteText(folder + QLatin1Char('/') + name, alias.toUtf8(), base);
    }
}

// Moves the output folder's files back under the real folder's name.
void restoreOutputFolderName(const QString& aliasDir, const QString& realDir) {
    if (!QFileInfo::exists(aliasDir))
        return;
    if (!QFileInfo::exists(realDir) && renameReplacing(aliasDir, realDir))
        return;
    // A folder of the real name appeared meanwhile: the files move into it.
    QDir().mkpath(realDir);
    for (const QString& name :
         QDir(aliasDir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
        renameReplacing(aliasDir + QLatin1Char('/') + name, realDir + QLatin1Char('/') + name);
    QDir().rmdir(aliasDir);
}

} // namespace

bool needsSafeAlias(const QString& baseName) {
    if (baseName.isEmpty() || baseName.startsWith(QLatin1Char('-')) ||
        baseName.startsWith(QLatin1Char('.')))
        return true;
    for (const QChar c : baseName)
        if (!isPlainNameCharacter(c))
            return true;
    return false;
}

QByteArray withRealName(const QByteArray& text, const QByteArray& alias, const QString& base,
                        bool page) {
    // In a page the name is a link target: what a link would misread (blank,
    // quote, "#", "%", "&", angle brackets, line breaks) and non-ASCII
    // letters (pages declare various character sets) are percent-encoded.
    const QByteArray real =
        page ? QUrl::toPercentEncoding(base, QByteArrayLiteral("!$'()*+,;=@~[]")) : base.toUtf8();
    QByteArray result = text;
    return result.replace(alias, real);
}

ConversionResult runUnderSafeAlias(Conversion& conversion) {
    AppContext& ctx = conversion.app;
    const Route& route = conversion.route;
    const QString source = conversion.source;
    const QString fileName = fileNameOf(source);
    const QString base = withoutSourceExtension(fileName, conversion.sourceExtension);
    if (!needsSafeAlias(base))
        return route.driver(conversion);

    const QString dir = dropTrailingSeparator(PathOnly(source));
    const QString alias = newAliasName();
    linkCompanions(dir, base, alias);
    // Routes with an output root keep their folder named after the document:
    // it takes the alias's name while the converter runs.
    QString realOutput;
    QString aliasOutput;
    if (route.outputRoot) {
        const QString root = ctx.settings.vars.*route.outputRoot;
        realOutput = joinPath(root, base);
        aliasOutput = joinPath(root, alias);
        if (QFileInfo(realOutput).isDir())
            renameReplacing(realOutput, aliasOutput);
    }

    // A document in its own output folder moved with the folder.
    const bool inOutputFolder =
        route.outputRoot && QDir::cleanPath(dir) == QDir::cleanPath(realOutput);
    conversion.source =
        joinPath(inOutputFolder ? aliasOutput : dir, alias + fileName.mid(base.size()));
    ConversionResult result = route.driver(conversion);
    conversion.source = source;

    if (!inOutputFolder)
        restoreNames(dir, base, alias);
    if (route.outputRoot) {
        restoreOutputFolder(aliasOutput, base, alias);
        restoreOutputFolderName(aliasOutput, realOutput);
    }
    const auto real = [&](const QString& path) { return replaceAll(path, alias, base); };
    result.output = real(result.output);
    // A first page of another name (hacha's index.html) links to the others.
    if (!result.output.isEmpty())
        rewriteText(result.output, alias.toUtf8(), base);
    result.log = real(result.log);
    ctx.logs[route] = real(ctx.logs[route]);
    return result;
}

} // namespace morvane
