#include "drivers/dvipdf.h"

#include "pipeline/appcontext.h"
#include "pipeline/batchdriver.h"
#include "pipeline/commandrunner.h"
#include "pipeline/conversion.h"
#include "pipeline/convertcommand.h"
#include "pipeline/outputplace.h"
#include "pipeline/resultdisplay.h"
#include "platform/pathutils.h"
#include "platform/prompter.h"
#include "settings/optionsmodel.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <optional>

namespace morvane {

namespace {

// The parts every method shares: result and log beside the source.
DviPdfRun runBeside(const QString& source, const QString& sourceExtension,
                    const QString& resultExtension) {
    DviPdfRun run;
    const QString base = withoutSourceExtension(source, sourceExtension);
    run.result = base + resultExtension;
    run.log = base + QStringLiteral(".log");
    return run;
}

// The file goes to the script by its bare name (the script runs in its
// folder): TeX and texi2dvi cannot read a path through a folder whose name
// has a blank, a quote, "%", "$" or letters that are not ASCII.
QString driverCommand(const QString& batchDriver, const QString& routeWord, const QString& file) {
    return quoteForCommandLine(batchDriver) + QLatin1Char(' ') + routeWord + QLatin1Char(' ') +
           quoteForCommandLine(fileNameOf(file));
}

void composeTexify(DviPdfRun& run, const QString& settings, const QString& batchDriver,
                   const QString& source, const QString& sourceExtension) {
    run.method = DviPdfMethod::Texify;
    run.writesSettings = true;
    run.settings = settings;
    run.commandLine = driverCommand(batchDriver, QStringLiteral("texify"),
                                    withoutSourceExtension(source, sourceExtension));
}

// A file as it was before a run: whether the run wrote it is told by its
// time and size afterwards.
struct FileState {
    bool existed = false;
    QDateTime modified;
    qint64 size = 0;
};

FileState stateOf(const QString& path) {
    const QFileInfo info(path);
    return {info.exists(), info.exists() ? info.lastModified() : QDateTime(), info.size()};
}

bool writtenSince(const QString& path, const FileState& before) {
    const QFileInfo info(path);
    return info.exists() && (!before.existed || info.lastModified() != before.modified ||
                             info.size() != before.size);
}

// Runs a composed conversion and judges LaTeX's log.
ConversionResult runDviPdf(Conversion& conv, const DviPdfRun& run, const QString& source) {
    ConversionResult result;
    if (run.commandLine.isEmpty())
        return result;
    if (run.writesSettings && !Writebat(conv, run.settings, texifySettings))
        return result;
    // The log of an earlier run stays while the converter runs: texi2dvi
    // reads it to decide how often LaTeX must run, and without it runs LaTeX
    // once more. One this run did not write is not this run's log, and goes.
    const FileState before = stateOf(run.log);
    runCommand(conv, run.commandLine, PathOnly(source));

    result.output = run.result;
    if (!writtenSince(run.log, before)) {
        QFile::remove(run.log);
        return result;
    }
    result.log = run.log;
    result.verdict =
        judgeLatexLog(run.log, QStringLiteral("Latex log file for ") + longPathOf(source));
    return result;
}

} // namespace

LogVerdict judgeLatexLog(const QString& log, const QString& header) {
    const std::optional<QByteArray> messages = prependLogHeader(log, header);
    if (!messages)
        return LogVerdict::Unchanged;
    return latexLogHasErrors(*messages) ? LogVerdict::Errors : LogVerdict::Clean;
}

DviPdfOptions DviPdfOptions::from(const OptionsModel& model) {
    DviPdfOptions options;
    options.dviTexify = model.isChecked(ctl::chkTexify(0));
    options.dviReport = model.isChecked(ctl::chkReport(0));
    options.pdfTexify = model.isChecked(ctl::chkTexify(1));
    options.pdfReport = model.isChecked(ctl::chkReport(1));
    options.swpgs = model.isChecked(ctl::chkSWPGS);
    options.passesIndex = model.index(ctl::cmbpdfPasses);
    return options;
}

DviPdfMethod dviMethod(const DviPdfOptions& options) {
    return options.dviTexify ? DviPdfMethod::Texify : DviPdfMethod::Latex;
}

DviPdfMethod pdfMethod(const DviPdfOptions& options) {
    switch (10 * int(options.pdfTexify) + int(options.swpgs)) {
    case 0:
        return DviPdfMethod::Pdflatex;
    case 10:
        return DviPdfMethod::Texify;
    case 1:
        return DviPdfMethod::Chain;
    default:
        return DviPdfMethod::None;
    }
}

QString dviTexifyOptions(const DviPdfOptions& options) {
    return options.dviReport ? QStringLiteral(" -V ") : QString();
}

QString pdfTexifyOptions(const DviPdfOptions& options) {
    QString line = QStringLiteral("-p");
    if (options.pdfReport)
        line += QStringLiteral(" -V ");
    return line.trimmed();
}

DviPdfRun composeDviRun(const DviPdfOptions& options, const QString& batchDriver,
                        const QString& source, const QString& sourceExtension) {
    DviPdfRun run = runBeside(source, sourceExtension, QStringLiteral(".dvi"));
    if (dviMethod(options) == DviPdfMethod::Texify) {
        composeTexify(run, dviTexifyOptions(options), batchDriver, source, sourceExtension);
    } else {
        run.method = DviPdfMethod::Latex;
        run.commandLine = driverCommand(batchDriver, QStringLiteral("dvi"), source);
    }
    return run;
}

DviPdfRun composePdfRun(const DviPdfOptions& options, const QString& batchDriver,
                        const QString& source, const QString& sourceExtension) {
    DviPdfRun run = runBeside(source, sourceExtension, QStringLiteral(".pdf"));
    run.method = pdfMethod(options);
    switch (run.method) {
    case DviPdfMethod::Pdflatex:
        run.commandLine = driverCommand(batchDriver, QStringLiteral("pdf"), source);
        break;
    case DviPdfMethod::Texify:
        composeTexify(run, pdfTexifyOptions(options), batchDriver, source, sourceExtension);
        break;
    default:
        // The chain needs TrueTeX; with both boxes ticked nothing runs.
        break;
    }
    return run;
}

bool latexLogHasErrors(const QByteArray& messages) {
    // texi2dvi (and a TeX set up so) writes errors as "file:line: message".
    static const QRegularExpression fileLineError(QStringLiteral("^[^\\s].*:\\d+: "));
    qsizetype start = 0;
    while (start < messages.size()) {
        qsizetype end = messages.indexOf('\n', start);
        if (end < 0)
            end = messages.size();
        const QByteArrayView line(messages.constData() + start, end - start);
        // The expression runs only on lines that could hold such an error,
        // which a plain search finds: most of a log's lines are not.
        const bool placed =
            !line.isEmpty() && line.front() != ' ' && line.front() != '\t' && line.contains(": ");
        if (line.startsWith('!') ||
            (placed && fileLineError.match(QString::fromUtf8(line.data(), line.size())).hasMatch()))
            return true;
        start = end + 1;
    }
    return false;
}

OutputPlace dviPlace(const AppContext& ctx, const QString& file) {
    return placeBesideSource(ctx, file, QStringLiteral(".dvi"));
}

OutputPlace pdfPlace(const AppContext& ctx, const QString& file) {
    return placeBesideSource(ctx, file, QStringLiteral(".pdf"));
}

QString trueTexUnavailableText() {
    return QStringLiteral("TrueTeX and Ghostscript from Scientific WorkPlace are not available "
                          "on this system.\n\nUntick \"Use SWP + Ghostscript\" to make the PDF "
                          "file with pdfLaTeX or TeXify.");
}

ConversionResult TeXtoDVI(Conversion& conv) {
    AppContext& ctx = conv.app;
    const QString& source = conv.source;
    const DviPdfRun run = composeDviRun(DviPdfOptions::from(conv.options), ctx.batchDriverPath(),
                                        source, conv.sourceExtension);
    return runDviPdf(conv, run, source);
}

ConversionResult TeXtoPDF(Conversion& conv) {
    AppContext& ctx = conv.app;
    const QString& source = conv.source;
    const DviPdfRun run = composePdfRun(DviPdfOptions::from(conv.options), ctx.batchDriverPath(),
                                        source, conv.sourceExtension);
    if (run.method == DviPdfMethod::Chain && ctx.seams.prompter) {
        // The passes box shows only while pdfmakegstc.bat passed its check;
        // otherwise the label says what is wrong with it.
        const OptionsModel& model = *ctx.model;
        const QString text = model.isVisible(ctl::cmbpdfPasses)
                                 ? trueTexUnavailableText()
                                 : QString(model.caption(ctl::Label7))
                                           .replace(QStringLiteral(". "), QStringLiteral(".\n")) +
                                       QStringLiteral("\n\n") + model.tag(ctl::Label34) +
                                       QStringLiteral("\n\n");
        ctx.seams.prompter->tell(text, QStringLiteral("Convert to PDF"), Icon::Critical);
    }
    return runDviPdf(conv, run, source);
}

} // namespace morvane
