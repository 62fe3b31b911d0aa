#include "drivers/pandoc.h"

#include "drivers/workingcopy.h"
#include "fixups/graphicspath.h"
#include "fixups/missingpictures.h"
#include "fixups/pagepictures.h"
#include "pipeline/appcontext.h"
#include "pipeline/batchdriver.h"
#include "pipeline/commandrunner.h"
#include "pipeline/conversion.h"
#include "pipeline/convertcommand.h"
#include "pipeline/logparsers.h"
#include "pipeline/outputplace.h"
#include "pipeline/resultdisplay.h"
#include "platform/pathutils.h"
#include "settings/optionsmodel.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace morvane {

namespace {

QString S(const char* text) {
    return QString::fromLatin1(text);
}

QString documentName(const QString& file, const QString& sourceExtension) {
    return withoutSourceExtension(fileNameOf(file), sourceExtension);
}

QString resultExtension(const OptionsModel& model) {
    return pandocExtension(pandocFormatAt(model.index(ctl::cmbPandocFormat)));
}

bool isNewSince(const QString& path, const QDateTime& started) {
    const QFileInfo info(path);
    // File times come from a coarse clock that may lag the wall clock a little.
    return info.exists() && info.lastModified() >= started.addSecs(-1);
}

void appendToLog(const QString& log, const QByteArray& line) {
    QFile file(log);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        file.write(line);
}

} // namespace

PandocOptions PandocOptions::from(const OptionsModel& model) {
    PandocOptions options;
    options.format = pandocFormatAt(model.index(ctl::cmbPandocFormat));
    options.standalone = model.isChecked(ctl::chkPandocStandalone);
    options.tableOfContents = model.isChecked(ctl::chkPandocToc);
    options.numberSections = model.isChecked(ctl::chkPandocNumber);
    options.citations = model.isChecked(ctl::chkPandocCiteproc);
    options.citationStyle = model.text(ctl::txtPandocCsl).trimmed();
    return options;
}

QString pandocArguments(const PandocOptions& options) {
    QStringList words{S("--to=") + pandocFormatWord(options.format)};
    switch (options.format) {
    case PandocFormat::Html5:
        if (options.standalone)
            words.append(S("--standalone"));
        words.append(S("--mathml"));
        break;
    case PandocFormat::Epub3:
        words.append(S("--mathml"));
        [[fallthrough]];
    case PandocFormat::Docx:
    case PandocFormat::Odt:
        // A document or book holds its pictures: pandoc must find the file
        // of a picture named without an extension.
        words.append(S("--default-image-extension=png"));
        break;
    }
    if (options.tableOfContents)
        words.append(S("--toc"));
    if (options.numberSections)
        words.append(S("--number-sections"));
    if (options.citations)
        words.append(S("--citeproc"));
    return words.join(QLatin1Char(' '));
}

QString pandocOutputDirectory(const AppContext& ctx, const QString& file) {
    return joinPath(ctx.settings.vars.pandocSaveTo, documentName(file, ctx.sourceExtension));
}

OutputPlace pandocPlace(const AppContext& ctx, const QString& file) {
    const QString name = documentName(file, ctx.sourceExtension);
    return placeInNewDirectory(ctx.settings.vars.pandocSaveTo, name,
                               name + resultExtension(*ctx.model));
}

ConversionResult Pandoc(Conversion& conv) {
    AppContext& ctx = conv.app;
    const QString& source = conv.source;
    const PandocOptions options = PandocOptions::from(conv.options);
    const QString name = documentName(source, conv.sourceExtension);
    const QString outputDir = joinPath(ctx.settings.vars.pandocSaveTo, name);
    const QString output = outputDir + QLatin1Char('/') + name + pandocExtension(options.format);
    ConversionResult result;
    if (!makeOutputDirectory(ctx, outputDir,
                             S("Choose another directory with the pandoc tab's Change Directory "
                               "button, or check that the directory can be written.")))
        return result;
    const QString log = outputDir + QLatin1Char('/') + name + S(".plog");
    // A failed run must not leave the log of an earlier one behind.
    QFile::remove(log);
    if (!Writebat(conv, pandocArguments(options)))
        return result;

    // pandoc reads the files the document inputs, its .bib and its pictures
    // from the folder it runs in, the document's; the \graphicspath folders
    // follow as further places to find pictures.
    const QString documentFolder = PathOnly(source);
    const QStringList pictureFolders = graphicsFoldersOf(source);
    QString command = quoteForCommandLine(ctx.batchDriverPath()) + routeWord(conv) +
                      quoteForCommandLine(source) + QLatin1Char(' ') + quoteForCommandLine(output);
    for (const QString& folder : pictureFolders)
        command += QLatin1Char(' ') + quoteForCommandLine(folder);
    const QDateTime started = QDateTime::currentDateTime();
    runCommand(conv, command, documentFolder, log);

    if (!QFileInfo::exists(log))
        return result;
    prependLogHeader(log, S("Pandoc log file for ") + longPathOf(source));
    result.log = log;
    if (conv.stopped || !isNewSince(output, started))
        return result;
    if (options.format == PandocFormat::Html5) {
        bringPicturesIn(output, {documentFolder, pictureFolders});
        // A picture only LaTeX can read (PDF, EPS) leaves a hole in the page.
        const QStringList missing = missingPicturesOf(outputDir, {fileNameOf(output)});
        if (!missing.isEmpty())
            appendToLog(log, missingPicturesLogLine(missing));
    }
    result.output = output;
    result.verdict = readRouteLog(parsePandocLog, log, source).isEmpty() ? LogVerdict::Clean
                                                                         : LogVerdict::Errors;
    return result;
}

} // namespace morvane
