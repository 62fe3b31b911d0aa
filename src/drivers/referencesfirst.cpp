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
#include <initializer_list>

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

// The TeX files among the files of a document (itself and what it inputs).
QStringList texFilesAmong(const QStringList& documentFiles, const QString& document) {
    QStringList files;
    for (const QString& file : documentFiles)
        if (file == document || isTexFile(file))
            files.append(file);
    return files;
}

// The texts of the document's TeX files, comments skipped, each read once.
QStringList texTextsOf(const QStringList& documentFiles, const QString& document) {
    QStringList texts;
    for (const QString& file : texFilesAmong(documentFiles, document))
        texts.append(textWithoutComments(readAllOf(file)));
    return texts;
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

namespace {

// The needs of a TeX text whose comments are gone.
ReferenceNeeds referenceNeedsOfText(const QString& text) {
    static const QRegularExpression references(
        QStringLiteral("\\\\(?:(?:page|eq|auto|name|c|C|v)?ref|[a-zA-Z]*cite[a-zA-Z]*)\\*?"
                       "\\s*[\\[{]"));
    static const QRegularExpression bibliography(
        QStringLiteral("\\\\(?:bibliography|addbibresource)\\s*[\\[{]"));
    static const QRegularExpression index(QStringLiteral("\\\\(?:makeindex|printindex)\\b"));
    // Each expression runs only where its command's name occurs at all,
    // which is a plain search.
    const auto mentions = [&text](std::initializer_list<const char*> words) {
        return std::any_of(words.begin(), words.end(), [&text](const char* word) {
            return text.contains(QLatin1String(word));
        });
    };
    ReferenceNeeds needs;
    needs.bibliography =
        mentions({"\\bibliography", "\\addbibresource"}) && text.contains(bibliography);
    needs.index = mentions({"\\makeindex", "\\printindex"}) && text.contains(index);
    // A bibliography and an index are reached through the .aux too.
    needs.aux = needs.bibliography || needs.index ||
                (mentions({"ref", "cite"}) && text.contains(references));
    return needs;
}

ReferenceNeeds referenceNeedsOfTexts(const QStringList& texts) {
    ReferenceNeeds needs;
    for (const QString& text : texts) {
        const ReferenceNeeds of = referenceNeedsOfText(text);
        needs.aux = needs.aux || of.aux;
        needs.bibliography = needs.bibliography || of.bibliography;
        needs.index = needs.index || of.index;
    }
    return needs;
}

// The sources of a document whose files and TeX texts are known.
QStringList referenceSourcesAmong(const QStringList& documentFiles, const QStringList& texts,
                                  const QString& document) {
    QStringList sources = documentFiles;
    const QDir folder(QFileInfo(document).absolutePath());
    for (const QString& text : texts) {
        for (QString name : bibliographyNamesOf(text)) {
            if (!name.endsWith(QLatin1String(".bib"), Qt::CaseInsensitive))
                name += QStringLiteral(".bib");
            const QString path = QDir::cleanPath(folder.absoluteFilePath(name));
            if (QFileInfo(path).isFile() && !sources.contains(path))
                sources.append(path);
        }
    }
    return sources;
}

} // namespace

ReferenceNeeds referenceNeedsOf(const QByteArray& texText) {
    return referenceNeedsOfText(textWithoutComments(texText));
}

ReferenceNeeds referenceNeedsOfDocument(const QString& document) {
    return referenceNeedsOfTexts(texTextsOf(watchedFilesOf(document), document));
}

QStringList referenceSourcesOf(const QString& document) {
    const QStringList files = watchedFilesOf(document);
    return referenceSourcesAmong(files, texTextsOf(files, document), document);
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
    // The document's files are followed and read once; most documents need
    // nothing, and then no file's date is looked at.
    const QStringList files = watchedFilesOf(document);
    const QStringList texts = texTextsOf(files, document);
    ReferenceNeeds needs = referenceNeedsOfTexts(texts);
    needs.aux = needs.aux && reads.aux;
    needs.bibliography = needs.bibliography && reads.bibliography;
    needs.index = needs.index && reads.index;
    if (!needs.any())
        return false;
    const QStringList sources = referenceSourcesAmong(files, texts, document);
    // Without a .bib file beside it BibTeX can make no bibliography: the
    // .bbl a document ships with (as from a preprint server) is all there is.
    const bool bibFound = std::any_of(sources.cbegin(), sources.cend(), [](const QString& source) {
        return source.endsWith(QLatin1String(".bib"), Qt::CaseInsensitive);
    });
    needs.bibliography = needs.bibliography && bibFound;
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

namespace {

// The .aux of a document with \include'd files names theirs with
// "\@input{Chapter1/chapter1.aux}", which a converter running in the
// document's own folder (TtH) looks for there. In the private folder the
// main .aux takes their lines in place of those names.
void inlineIncludedAux(const QString& folder, const QString& mainAux) {
    QFile main(QDir(folder).filePath(mainAux));
    if (!main.open(QIODevice::ReadOnly))
        return;
    const QByteArrayList lines = main.readAll().split('\n');
    main.close();
    QByteArray merged;
    bool changed = false;
    for (const QByteArray& line : lines) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.startsWith("\\@input{") && trimmed.endsWith('}')) {
            const QString name = QString::fromUtf8(trimmed.mid(8, trimmed.size() - 9));
            QFile included(QDir(folder).filePath(name));
            if (!name.startsWith(QLatin1Char('/')) && !name.contains(QStringLiteral("..")) &&
                included.open(QIODevice::ReadOnly)) {
                merged += included.readAll();
                if (!merged.endsWith('\n'))
                    merged += '\n';
                changed = true;
                continue;
            }
        }
        merged += line + '\n';
    }
    if (changed && main.open(QIODevice::WriteOnly | QIODevice::Truncate))
        main.write(merged.chopped(1));
}

} // namespace

PrivatePreparation::PrivatePreparation(Conversion& conv, ctl::Control box,
                                       const ReferenceNeeds& reads) {
    const QString document = conv.source;
    const QFileInfo file(document);
    const QString base = withoutSourceExtension(file.fileName(), conv.sourceExtension);
    if (!referencesNeedPreparing(conv, box, document, file.absolutePath(), base, reads))
        return;
    // Made only for a preparation that runs: most conversions need none.
    m_dir = std::make_unique<PrivateFolder>(QStringLiteral("morvane-references-XXXXXX"));
    if (!m_dir->isValid())
        return;
    conv.documentFolder = file.absolutePath();
    // LaTeX writes the .aux of each \include'd file (Chapter1/chapter1.aux)
    // below the folder it runs in, and stops when the subfolder is not there.
    const QDir documentFolder(file.absolutePath());
    for (const QString& source : referenceSourcesOf(document)) {
        const QString relative = documentFolder.relativeFilePath(QFileInfo(source).absolutePath());
        if (relative != QStringLiteral(".") && !relative.startsWith(QStringLiteral("..")) &&
            !QDir::isAbsolutePath(relative))
            QDir(m_dir->path()).mkpath(relative);
    }
    runReferencePreparation(conv, file.absoluteFilePath(), m_dir->path(), PreparationEngine::Pdf);
    inlineIncludedAux(m_dir->path(), base + QStringLiteral(".aux"));
    conv.preparedFolder = m_dir->path();
}

} // namespace morvane
