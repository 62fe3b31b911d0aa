#include "drivers/latexml.h"

#include "drivers/workingcopy.h"
#include "pipeline/appcontext.h"
#include "pipeline/batchdriver.h"
#include "pipeline/commandrunner.h"
#include "pipeline/conversion.h"
#include "pipeline/convertcommand.h"
#include "pipeline/logparsers.h"
#include "pipeline/outputplace.h"
#include "pipeline/resultdisplay.h"
#include "platform/pathutils.h"
#include "settings/limitsettings.h"
#include "settings/optionsmodel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace morvane {

namespace {

QString S(const char* text) {
    return QString::fromLatin1(text);
}

bool sameFolder(const QString& a, const QString& b) {
    if (QDir::cleanPath(a) == QDir::cleanPath(b))
        return true;
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

// The names of one conversion: the output folder, the page latexmlc writes
// there and its log beside it (latexmlc's own NAME.latexml.log).
struct LatexmlNames {
    QString outputDir;
    QString page;
    QString log;
};

LatexmlNames namesFor(const AppContext& ctx, const QString& source, LatexmlFormat format) {
    const QString base = withoutSourceExtension(fileNameOf(source), ctx.sourceExtension);
    LatexmlNames names;
    names.outputDir = latexmlOutputDirectory(ctx, source);
    names.page = joinPath(names.outputDir, base + latexmlResultExtension(format));
    names.log = joinPath(names.outputDir, base + S(".latexml.log"));
    return names;
}

bool listsAnError(const LogEntries& entries) {
    return std::any_of(entries.cbegin(), entries.cend(), [](const LogEntry& entry) {
        return entry.severity == LogEntry::Severity::Error;
    });
}

} // namespace

LatexmlOptions LatexmlOptions::from(const OptionsModel& model) {
    LatexmlOptions options;
    options.format = latexmlFormatAt(model.index(ctl::cmbLatexmlFormat));
    options.split = latexmlSplitAt(model.index(ctl::cmbLatexmlSplit));
    options.mathImages = model.index(ctl::optLatexmlMath) == 1;
    options.bibliography = model.isChecked(ctl::chkLatexmlBibliography);
    return options;
}

QStringList latexmlArguments(const LatexmlOptions& options) {
    QStringList arguments{S("--format=") + latexmlFormatWord(options.format)};
    // A JATS article is one file.
    if (options.split != LatexmlSplit::OnePage && options.format != LatexmlFormat::Jats)
        arguments.append(S("--splitat=") + latexmlSplitWord(options.split));
    if (options.mathImages)
        arguments.append({S("--mathimages"), S("--nopresentationmathml")});
    if (!options.bibliography)
        arguments.append(S("--preload=[nobibtex]latexml.sty"));
    if (options.timeoutSeconds > 0)
        arguments.append(S("--timeout=") + QString::number(options.timeoutSeconds));
    return arguments;
}

QString latexmlSettings(const AppContext& ctx, const OptionsModel&, const QString& commandLine) {
    return settingLine(S("progpath"), ctx.settings.vars.latexml) +
           settingLine(S("cmdline"), commandLine);
}

QString latexmlOutputDirectory(const AppContext& ctx, const QString& file) {
    const QString name = withoutSourceExtension(fileNameOf(file), ctx.sourceExtension);
    const QString dir = joinPath(ctx.settings.vars.latexmlSaveTo, name);
    if (sameFolder(dir, QFileInfo(file).absolutePath()))
        return dir + S("-latexml");
    return dir;
}

OutputPlace latexmlPlace(const AppContext& ctx, const QString& file) {
    const LatexmlFormat format = latexmlFormatAt(ctx.model->index(ctl::cmbLatexmlFormat));
    const LatexmlNames names = namesFor(ctx, file, format);
    return placeInNewDirectory(ctx.settings.vars.latexmlSaveTo, fileNameOf(names.outputDir),
                               fileNameOf(names.page));
}

QString latexmlResultWord(const AppContext& ctx) {
    switch (latexmlFormatAt(ctx.model->index(ctl::cmbLatexmlFormat))) {
    case LatexmlFormat::Xhtml:
        return S("XHTML");
    case LatexmlFormat::Jats:
        return S("XML");
    case LatexmlFormat::Html5:
        break;
    }
    return S("HTML");
}

bool latexmlOpensWithDesktop(const QString& result) {
    return QFileInfo(result).suffix().compare(S("xml"), Qt::CaseInsensitive) == 0;
}

ConversionResult Latexml(Conversion& conv) {
    AppContext& ctx = conv.app;
    const QString source = QFileInfo(conv.source).absoluteFilePath();
    LatexmlOptions options = LatexmlOptions::from(conv.options);
    options.timeoutSeconds = runLimitsOf(ctx.settings.vars).seconds;
    const LatexmlNames n = namesFor(ctx, source, options.format);
    ConversionResult result;
    if (!makeOutputDirectory(ctx, n.outputDir,
                             S("Choose another directory with the LaTeXML tab's Change "
                               "Directory button, or check that the directory can be written.")))
        return result;
    // An earlier run's log would be read as this run's should latexmlc not
    // start.
    QFile::remove(n.log);
    // LaTeX, run by latexmlc for pictures of formulas, finds the document's
    // own packages in its folder too.
    conv.documentFolder = QFileInfo(source).absolutePath();
    if (!Writebat(conv, latexmlArguments(options).join(QLatin1Char(' '))))
        return result;
    runCommand(conv,
               quoteForCommandLine(ctx.batchDriverPath()) + routeWord(conv) +
                   quoteForCommandLine(source) + QLatin1Char(' ') +
                   quoteForCommandLine(fileNameOf(n.page)),
               n.outputDir);

    if (!QFileInfo::exists(n.log))
        return result;
    result.log = n.log;
    if (conv.stopped)
        return result;
    prependLogHeader(n.log, S("LaTeXML log file for ") + longPathOf(source));
    result.output = n.page;
    // LaTeXML warns of every formula its grammar cannot parse; only errors
    // mark View Log.
    result.verdict = listsAnError(readRouteLog(parseLatexmlLog, n.log, source)) ? LogVerdict::Errors
                                                                                : LogVerdict::Clean;
    return result;
}

} // namespace morvane
