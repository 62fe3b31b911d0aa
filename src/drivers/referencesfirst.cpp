#include "drivers/referencesfirst.h"
#include "pipeline/logparsers.h"

#include "pipeline/appcontext.h"
#include "pipeline/batchdriver.h"
#include "pipeline/commandrunner.h"
#include "pipeline/conversion.h"
#include "pipeline/watchedfiles.h"
#include "platform/pathutils.h"
#include "settings/optionsmodel.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace morvane {

namespace {

QString textWithoutComments(const QByteArray& texText) {
    QByteArray text;
    for (const QByteArray& line : texText.split('\n'))
        text += withoutTexComment(line) + '\n';
    return QString::fromUtf8(text);
}

QByteArray readAllOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool isTexFile(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("tex") || suffix == QLatin1String("ltx");
}

// The TeX files of the document: itself and what it inputs.
QStringList texFilesOf(const QString& document) {
    QStringList files;
    for (const QString& file : watchedFilesOf(document))
        if (file == document || isTexFile(file))
            files.append(file);
    return files;
}

// The names of \bibliography{a,b} and \addbibresource{c.bib}.
QStringList bibliographyNamesOf(const QString& text) {
    static const QRegularExpression names(QStringLiteral(
        "\\\\(?:bibliography|addbibresource)\\s*(?:\\[[^\\]]*\\])?\\s*\\{([^}]*)\\}"));
    QStringList found;
    for (auto it = names.globalMatch(text); it.hasNext();)
        for (const QString& name : it.next().captured(1).split(QLatin1Char(',')))
            if (!name.trimmed().isEmpty())
                found.append(name.trimmed());
    return found;
}

// The preparation's settings block: the TeX programs' folder and the
// engine's switch.
QString preparationSettings(const AppContext& ctx, const OptionsModel&,
                            const QString& engineSwitch) {
    return QStringLiteral("set progpath=") + ctx.settings.vars.texify +
           QStringLiteral("\nset cmdline=") + engineSwitch + QLatin1Char('\n');
}

} // namespace

QStringList ReferenceNeeds::products(const QString& base) const {
    QStringList files;
    if (aux)
        files.append(base + QStringLiteral(".aux"));
    if (bibliography)
        files.append(base + QStringLiteral(".bbl"));
    if (index)
        files.append(base + QStringLiteral(".ind"));
    return files;
}

ReferenceNeeds referenceNeedsOf(const QByteArray& texText) {
    static const QRegularExpression references(
        QStringLiteral("\\\\(?:(?:page|eq|auto|name|c|C|v)?ref|[a-zA-Z]*cite[a-zA-Z]*)\\*?"
                       "\\s*[\\[{]"));
    static const QRegularExpression bibliography(
        QStringLiteral("\\\\(?:bibliography|addbibresource)\\s*[\\[{]"));
    static const QRegularExpression index(QStringLiteral("\\\\(?:makeindex|printindex)\\b"));
    const QString text = textWithoutComments(texText);
    ReferenceNeeds needs;
    needs.bibliography = text.contains(bibliography);
    needs.index = text.contains(index);
    // A bibliography and an index are reached through the .aux too.
    needs.aux = needs.bibliography || needs.index || text.contains(references);
    return needs;
}

ReferenceNeeds referenceNeedsOfDocument(const QString& document) {
    ReferenceNeeds needs;
    for (const QString& file : texFilesOf(document)) {
        const ReferenceNeeds of = referenceNeedsOf(readAllOf(file));
        needs.aux = needs.aux || of.aux;
        needs.bibliography = needs.bibliography || of.bibliography;
        needs.index = needs.index || of.index;
    }
    return needs;
}

QStringList referenceSourcesOf(const QString& document) {
    QStringList sources = watchedFilesOf(document);
    const QDir folder(QFileInfo(document).absolutePath());
    for (const QString& file : texFilesOf(document)) {
        for (QString name : bibliographyNamesOf(textWithoutComments(readAllOf(file)))) {
            if (!name.endsWith(QLatin1String(".bib"), Qt::CaseInsensitive))
                name += QStringLiteral(".bib");
            const QString path = QDir::cleanPath(folder.absoluteFilePath(name));
            if (QFileInfo(path).isFile() && !sources.contains(path))
                sources.append(path);
        }
    }
    return sources;
}

bool productsOutOfDate(const QStringList& products, const QStringList& sources) {
    QDateTime newestSource;
    for (const QString& source : sources) {
        const QDateTime time = QFileInfo(source).lastModified();
        if (time.isValid() && (!newestSource.isValid() || time > newestSource))
            newestSource = time;
    }
    for (const QString& product : products) {
        const QFileInfo file(product);
        if (!file.isFile() || (newestSource.isValid() && file.lastModified() < newestSource))
            return true;
    }
    return false;
}

bool referencesNeedPreparing(const Conversion& conv, ctl::Control box, const QString& document,
                             const QString& folder, const QString& base,
                             const ReferenceNeeds& reads) {
    if (!conv.options.isChecked(box))
        return false;
    const QStringList sources = referenceSourcesOf(document);
    // Without a .bib file beside it BibTeX can make no bibliography: the
    // .bbl a document ships with (as from a preprint server) is all there is.
    const bool bibFound = std::any_of(sources.cbegin(), sources.cend(), [](const QString& source) {
        return source.endsWith(QLatin1String(".bib"), Qt::CaseInsensitive);
    });
    ReferenceNeeds needs = referenceNeedsOfDocument(document);
    needs.aux = needs.aux && reads.aux;
    needs.bibliography = needs.bibliography && reads.bibliography && bibFound;
    needs.index = needs.index && reads.index;
    if (!needs.any())
        return false;
    // A product the driver copied from beside the document (TeX4ht's and
    // LaTeX2HTML's .bbl) is as old as the author's file, not as its copy.
    QStringList products = needs.products(QDir(folder).filePath(base));
    const QDir documentFolder(QFileInfo(document).absolutePath());
    for (QString& product : products) {
        const QString original = documentFolder.filePath(QFileInfo(product).fileName());
        if (original != product && QFileInfo(original).isFile() &&
            readAllOf(original) == readAllOf(product))
            product = original;
    }
    return productsOutOfDate(products, sources);
}

void runReferencePreparation(Conversion& conv, const QString& file, const QString& folder,
                             PreparationEngine engine) {
    AppContext& ctx = conv.app;
    const QString engineSwitch =
        engine == PreparationEngine::Dvi ? QStringLiteral("-dvi") : QStringLiteral("-pdf");
    if (!Writebat(conv, engineSwitch, preparationSettings))
        return;
    conv.stepTitle = QStringLiteral("Preparing references, bibliography and index of ") +
                     fileNameOf(conv.document);
    const QDateTime started = QDateTime::currentDateTime().addSecs(-1);
    runCommand(conv,
               quoteForCommandLine(ctx.batchDriverPath()) + QStringLiteral(" prepare ") +
                   quoteForCommandLine(file),
               folder);
    conv.stepTitle.clear();
    // The log this LaTeX run wrote (not one an earlier run left there).
    const QString log = folder + QLatin1Char('/') +
                        withoutSourceExtension(QFileInfo(file).fileName(), conv.sourceExtension) +
                        QStringLiteral(".log");
    if (QFileInfo(log).lastModified() >= started)
        conv.preparationEntries = readRouteLog(parseLatexLog, log, conv.document);
}

bool prepareBesideWorkingCopy(Conversion& conv, ctl::Control box, const QString& workingCopy,
                              const ReferenceNeeds& reads, PreparationEngine engine) {
    const QFileInfo copy(workingCopy);
    const QString folder = copy.absolutePath();
    const QString base = withoutSourceExtension(copy.fileName(), conv.sourceExtension);
    if (QFileInfo(conv.source).absolutePath() == folder ||
        !referencesNeedPreparing(conv, box, conv.source, folder, base, reads))
        return true;
    runReferencePreparation(conv, copy.fileName(), folder, engine);
    return !conv.stopped;
}

PrivatePreparation::PrivatePreparation(Conversion& conv, ctl::Control box,
                                       const ReferenceNeeds& reads)
    : m_dir(QStringLiteral("morvane-references-XXXXXX")) {
    const QString document = conv.source;
    const QFileInfo file(document);
    const QString base = withoutSourceExtension(file.fileName(), conv.sourceExtension);
    if (!m_dir.isValid() ||
        !referencesNeedPreparing(conv, box, document, file.absolutePath(), base, reads))
        return;
    conv.documentFolder = file.absolutePath();
    runReferencePreparation(conv, file.absoluteFilePath(), m_dir.path(), PreparationEngine::Pdf);
    conv.preparedFolder = m_dir.path();
}

} // namespace morvane
