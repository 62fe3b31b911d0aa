#include "pipeline/safealias.h"

#include "pipeline/appcontext.h"
#include "pipeline/conversion.h"
#include "pipeline/convertcommand.h"
#include "platform/atomicfile.h"
#include "platform/filelinks.h"
#include "platform/pathutils.h"
#include "platform/runjournal.h"

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

// The names Morvane gave the document and its companions for one run.
struct AliasLinks {
    QString alias;
    QStringList links;             // the alias names made: links to (or copies of) companions
    QList<journal::Entry> entries; // the journal records of the alias
    QStringList copies;            // alias names that are copies (no links possible)
};

// True when some entry of `dir`, or the output folder the alias would take,
// already carries the alias: another run's or a user's file.
bool aliasIsTaken(const QString& dir, const QString& alias, const QString& outputRoot) {
    for (const QString& name : filesIn(dir))
        if (name.startsWith(alias) || name.startsWith(kBackupPrefix + alias))
            return true;
    for (const QString& name : QDir(dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (name.startsWith(alias))
            return true;
    return !outputRoot.isEmpty() && QFileInfo::exists(joinPath(outputRoot, alias));
}

void removeLinks(AliasLinks& made) {
    for (const QString& link : std::as_const(made.links))
        QFile::remove(link);
    for (const journal::Entry entry : std::as_const(made.entries))
        journal::done(entry);
    made.links.clear();
    made.entries.clear();
    made.copies.clear();
}

// Gives one companion its alias name, never over an existing file. False
// when the name was taken meanwhile.
bool linkCompanion(AliasLinks& made, const QString& original, const QString& link) {
    const journal::Entry entry = journal::recordLink(link, original);
    if (linkExclusive(original, link)) {
        made.links.append(link);
        made.entries.append(entry);
        return true;
    }
    journal::done(entry);
    if (QFileInfo::exists(link) || QFileInfo(link).isSymLink())
        return false;
    // A file system without hard links: a copy, which QFile never writes
    // over an existing file.
    if (!QFile::copy(original, link))
        return true; // the converter then reports the missing file
    made.links.append(link);
    made.entries.append(journal::recordMade(link));
    made.copies.append(link);
    return true;
}

// The document and its companions (base.aux, base.bbl, base.cfg, ..., and
// the in-place backup) under an alias in the same folder that nothing there
// carries yet.
AliasLinks linkCompanions(const QString& dir, const QString& base, const QString& outputRoot) {
    AliasLinks made;
    for (int attempt = 0; attempt < 100; ++attempt) {
        made.alias = newAliasName();
        if (aliasIsTaken(dir, made.alias, outputRoot))
            continue;
        // Free now, so whatever carries it after a killed run is the run's.
        made.entries.append(journal::recordOwnedPrefix(dir, made.alias));
        made.entries.append(journal::recordOwnedPrefix(dir, kBackupPrefix + made.alias));
        bool clash = false;
        for (const QString& name : filesIn(dir)) {
            const QString prefix = name.startsWith(kBackupPrefix) ? kBackupPrefix : QString();
            if (!name.mid(prefix.size()).startsWith(base))
                continue;
            const QString rest = name.mid(prefix.size() + base.size());
            if (!rest.isEmpty() && !rest.startsWith(QLatin1Char('.')))
                continue;
            clash = !linkCompanion(made, dir + QLatin1Char('/') + name,
                                   dir + QLatin1Char('/') + prefix + made.alias + rest);
            if (clash)
                break;
        }
        if (!clash)
            return made;
        removeLinks(made);
    }
    return made;
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

bool sameContents(const QString& a, const QString& b) {
    QFile first(a);
    QFile second(b);
    return first.open(QIODevice::ReadOnly) && second.open(QIODevice::ReadOnly) &&
           first.size() == second.size() && first.readAll() == second.readAll();
}

// Every file named after the alias gets the real name: a link to a companion
// that the converter left as it was (or wrote through) simply goes; a file it
// wrote anew replaces the one of the real name, except the document itself,
// which nothing ever replaces.
void restoreNames(const QString& dir, const QString& base, const QString& alias,
                  const QString& document, const AliasLinks* made) {
    for (const QString& name : filesIn(dir)) {
        if (!name.startsWith(alias) && !name.startsWith(kBackupPrefix + alias))
            continue;
        const QString from = dir + QLatin1Char('/') + name;
        const QString to = dir + QLatin1Char('/') + replaceAll(name, alias, base);
        const bool unchangedCopy = made && made->copies.contains(from) && sameContents(from, to);
        if (sameFileOnDisk(from, to) || unchangedCopy || to == document)
            QFile::remove(from);
        else
            renameReplacing(from, to);
        rewriteText(to, alias.toUtf8(), base);
    }
}

// The output folder and its subfolders (images): names and page links.
void restoreOutputFolder(const QString& dir, const QString& base, const QString& alias,
                         const QString& document) {
    QStringList folders{dir};
    QDirIterator it(dir, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        folders.append(it.next());
    for (const QString& folder : folders) {
        restoreNames(folder, base, alias, document, nullptr);
        for (const QString& name : QDir(folder).entryList(QDir::Files))
            rewriteText(folder + QLatin1Char('/') + name, alias.toUtf8(), base);
    }
}

// Moves the output folder's files back under the real folder's name.
void restoreOutputFolderName(const QString& aliasDir, const QString& realDir) {
    if (!QFileInfo::exists(aliasDir))
        return;
    if (renameNoReplace(aliasDir, realDir))
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
    const QString root = route.outputRoot ? ctx.settings.vars.*route.outputRoot : QString();
    AliasLinks made = linkCompanions(dir, base, root);
    const QString alias = made.alias;
    // Routes with an output root keep their folder named after the document:
    // it takes the alias's name while the converter runs. The journal names
    // the rename first, so that the next start renames it back should this
    // run be killed.
    QString realOutput;
    QString aliasOutput;
    journal::Entry folderRename = 0;
    if (route.outputRoot) {
        realOutput = joinPath(root, base);
        aliasOutput = joinPath(root, alias);
        // Recorded before the rename, so that recovery renames the folder
        // back first and then removes what the run wrote into it.
        made.entries.append(journal::recordOwnedPrefix(realOutput, alias));
        folderRename = journal::recordRename(realOutput, aliasOutput);
        if (QFileInfo(realOutput).isDir() && !renameNoReplace(realOutput, aliasOutput)) {
            journal::done(folderRename);
            folderRename = 0;
        }
    }

    // A document in its own output folder moved with the folder.
    const bool inOutputFolder =
        route.outputRoot && QDir::cleanPath(dir) == QDir::cleanPath(realOutput);
    conversion.source =
        joinPath(inOutputFolder ? aliasOutput : dir, alias + fileName.mid(base.size()));
    ConversionResult result = route.driver(conversion);
    conversion.source = source;

    if (!inOutputFolder)
        restoreNames(dir, base, alias, source, &made);
    if (route.outputRoot) {
        // While the folder has the alias's name, so has the path of a
        // document inside it.
        restoreOutputFolder(aliasOutput, base, alias,
                            inOutputFolder ? joinPath(aliasOutput, fileName) : source);
        restoreOutputFolderName(aliasOutput, realOutput);
    }
    journal::done(folderRename);
    for (const journal::Entry entry : made.entries)
        journal::done(entry);
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
