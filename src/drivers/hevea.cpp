#include "drivers/hevea.h"

#include "fixups/fixupfiles.h"
#include "fixups/htmlfixups.h"
#include "pipeline/appcontext.h"
#include "pipeline/batchdriver.h"
#include "pipeline/commandrunner.h"
#include "pipeline/convertcommand.h"
#include "pipeline/pathutils.h"
#include "pipeline/resultdisplay.h"
#include "settings/optionsmodel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace morvane {

namespace {

const QString kHeaderStart = QStringLiteral("Hevea log file for ");

// The line that ends the used part of the style list.
const QString kStyleSeparator(26, QLatin1Char('-'));

// Only the first five rows of the style list are ever passed to HeVeA.
constexpr int kStyleRows = 5;

// A clean run leaves at most this much beyond the header and the directory.
constexpr qint64 kQuietLogBytes = 31;
// What HeVeA may say within the first 500 bytes without it counting as errors.
constexpr qsizetype kLogProbeBytes = 500;
constexpr qsizetype kErrorChars = 51;

QString styleFiles(const OptionsModel& model) {
    QString pieces;
    const QStringList rows = model.items(QStringLiteral("List1"));
    for (int row = 0; row < kStyleRows && row < rows.size(); ++row) {
        if (rows.at(row) == kStyleSeparator)
            break;
        pieces += rows.at(row) + QLatin1Char(' ');
    }
    const QString excluded = model.text(QStringLiteral("txtExclude"));
    if (!excluded.isEmpty())
        pieces += QStringLiteral("-e ") + excluded + QLatin1Char(' ');
    return pieces;
}

// The log is written anew with its header; HeVeA's messages are appended by
// the batch driver. Errors are ignored: the conversion goes on without it.
// It is replaced by a rename without waiting for the disk: a log is rewritten
// on every run, and a sync would hold up each conversion.
void writeLogHeader(const QString& logFile, const QString& header) {
    fixups::replaceFile(logFile, header.toUtf8());
}

QByteArray readStart(const QString& file, qsizetype bytes) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    return in.read(bytes);
}

} // namespace

QString heveaOptions(const OptionsModel& model) {
    QString options;
    if (model.checkValue(QStringLiteral("chkFrench")) == 1)
        options += QStringLiteral(" -francais ");
    switch (model.index(QStringLiteral("cmbHeveaVerbose"))) {
    case 1:
        options += QStringLiteral(" -v ");
        break;
    case 2:
        options += QStringLiteral(" -v -v ");
        break;
    default:
        break;
    }
    if (model.checkValue(QStringLiteral("chkStyle")) == 1)
        options += styleFiles(model);
    if (model.checkValue(QStringLiteral("chkFix")) == 1)
        options += QStringLiteral(" -fix ");
    if (model.checkValue(QStringLiteral("chkVersion")) == 1)
        options.prepend(QStringLiteral("-exec xxdate.exe "));
    if (model.checkValue(QStringLiteral("chkEsponja")) == 1)
        options += QStringLiteral(" -O ");
    return replaceAll(options, QStringLiteral("  "), QStringLiteral(" "));
}

QString heveaOutputTypePiece(const OptionsModel& model) {
    switch (model.index(QStringLiteral("optOutput"))) {
    case 1:
        return QStringLiteral(" -text ");
    case 2:
        return QStringLiteral(" -info ");
    default:
        return QString();
    }
}

QString heveaResultFile(const QString& dir, const QString& name, const QString& extension,
                        bool hacha) {
    return dir + (hacha ? QStringLiteral("index") : name) + QLatin1Char('.') + extension;
}

QStringList hachaPages(const QString& dir, const QString& name) {
    QDir folder(dir);
    // Exact letter case: on Linux Paper001.html is not paper001.html.
    folder.setFilter(QDir::Files | QDir::CaseSensitive);
    folder.setSorting(QDir::Name);
    folder.setNameFilters({QStringLiteral("index.html"), name + QStringLiteral("???.html")});
    return folder.entryList();
}

LogVerdict judgeHeveaLog(qint64 logSize, const QByteArray& logStart, qint64 headerLength,
                         qint64 dirLength) {
    if (logSize - headerLength - dirLength < kQuietLogBytes)
        return LogVerdict::Clean;
    QByteArray probe = logStart.left(kLogProbeBytes);
    // The header is ours, not HeVeA's: only what follows it counts.
    probe.remove(0, qMin<qsizetype>(headerLength, probe.size()));
    probe.replace(QByteArrayLiteral("hevea is using the .hvb file"), QByteArray());
    return probe.size() >= kErrorChars ? LogVerdict::Errors : LogVerdict::Unchanged;
}

void Hevea(AppContext& ctx, const QString& source) {
    OptionsModel& model = *ctx.model;
    const QString dir = PathOnly(source);
    // Letter case is kept: on Linux Paper.tex gives Paper and Paper.hlog.
    const QString base = withoutSourceExtension(source, ctx.sourceExtension);
    const QString logFile = base + QStringLiteral(".hlog");
    ctx.logs.hevea = logFile;

    const QString header = kHeaderStart + longPathOf(source) + QStringLiteral("\n\n");
    writeLogHeader(logFile, header);

    const QString name = fileNameOf(base);
    if (!Writebat(ctx, heveaOutputTypePiece(model) + heveaOptions(model), QStringLiteral("hevea")))
        return;
    runCommand(ctx,
               quoteForCommandLine(ctx.batchDriverPath()) + QStringLiteral(" hevea ") +
                   quoteForCommandLine(name),
               dir);

    // hacha splits HTML only: with text or info output there is no index page.
    const bool hacha =
        model.checkValue(QStringLiteral("chkHacha")) == 1 && heveaOutputTypePiece(model).isEmpty();
    const QString result = heveaResultFile(dir, name, ctx.vars.heveaOutputExtension, hacha);
    // The file shown and checked is the one this route really produced (the
    // text and info outputs are not .html).
    ctx.expectedOutput = result;

    ctx.linkAnswer = 0;
    if (hacha) {
        const QStringList pages = hachaPages(dir, name);
        for (const QString& page : pages)
            fixLinks(ctx, dir + page);
    } else {
        fixLinks(ctx, result);
    }

    if (model.checkValue(QStringLiteral("chkIE")) == 1)
        RunIE(ctx, result);
    else
        model.setEnabled(QStringLiteral("cmdShow"), QFileInfo::exists(result));

    const qint64 logSize = QFileInfo(logFile).size();
    const LogVerdict verdict = judgeHeveaLog(logSize, readStart(logFile, kLogProbeBytes),
                                             header.toUtf8().size(), dir.toUtf8().size());
    if (verdict == LogVerdict::Clean) {
        ResetcmdLog(ctx);
    } else if (verdict == LogVerdict::Errors) {
        model.setCaption(QStringLiteral("cmdLog"), QStringLiteral("Errors in &Log"));
        model.setBold(QStringLiteral("cmdLog"), true);
    }
}

} // namespace morvane
