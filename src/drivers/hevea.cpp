#include "drivers/hevea.h"
#include "fixups/missingpictures.h"

#include "drivers/heveaclass.h"
#include "drivers/referencesfirst.h"

#include "fixups/fixupfiles.h"
#include "fixups/htmlfixups.h"
#include "pipeline/appcontext.h"
#include "pipeline/batchdriver.h"
#include "pipeline/commandrunner.h"
#include "pipeline/conversion.h"
#include "pipeline/convertcommand.h"
#include "pipeline/outputplace.h"
#include "pipeline/resultdisplay.h"
#include "platform/directorylisting.h"
#include "platform/pathutils.h"
#include "settings/hevealibrary.h"
#include "settings/optionsmodel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

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
// A log up to this size is read whole, so that its rounds can be told apart.
constexpr qsizetype kWholeLogBytes = 1 << 20;

QString styleFiles(const HeveaOptions& options) {
    QString pieces;
    for (int row = 0; row < kStyleRows && row < options.styleRows.size(); ++row) {
        if (options.styleRows.at(row) == kStyleSeparator)
            break;
        pieces += options.styleRows.at(row) + QLatin1Char(' ');
    }
    if (!options.excluded.isEmpty())
        pieces += QStringLiteral("-e ") + options.excluded + QLatin1Char(' ');
    return pieces;
}

// The log is written anew with its header; HeVeA's messages are appended by
// the batch driver. Errors are ignored: the conversion goes on without it.
// It is replaced by a rename without waiting for the disk: a log is rewritten
// on every run, and a sync would hold up each conversion.
void writeLogHeader(const QString& logFile, const QString& header) {
    fixups::replaceFile(logFile, header.toUtf8());
}

} // namespace

HeveaOptions HeveaOptions::from(const OptionsModel& model) {
    HeveaOptions options;
    options.french = model.isChecked(ctl::chkFrench);
    options.verbosity = model.index(ctl::cmbHeveaVerbose);
    options.useStyles = model.isChecked(ctl::chkStyle);
    options.styleRows = model.items(ctl::List1);
    options.excluded = model.text(ctl::txtExclude);
    options.iterate = model.isChecked(ctl::chkFix);
    options.recentVersion = model.isChecked(ctl::chkVersion);
    options.esponja = model.isChecked(ctl::chkEsponja);
    options.outputType = model.index(ctl::optOutput);
    options.hacha = model.isChecked(ctl::chkHacha);
    return options;
}

QString heveaOptions(const HeveaOptions& options) {
    QString line;
    if (options.french)
        line += QStringLiteral(" -francais ");
    if (options.verbosity == 1)
        line += QStringLiteral(" -v ");
    else if (options.verbosity == 2)
        line += QStringLiteral(" -v -v ");
    if (options.useStyles)
        line += styleFiles(options);
    if (options.iterate)
        line += QStringLiteral(" -fix ");
    if (options.recentVersion)
        line.prepend(QStringLiteral("-exec xxdate.exe "));
    if (options.esponja)
        line += QStringLiteral(" -O ");
    return replaceAll(line, QStringLiteral("  "), QStringLiteral(" "));
}

QString heveaStyleDirectory(const AppContext& ctx) {
    const Route* hevea = routeForKey(ctx.routes, QStringLiteral("hevea"));
    const bool found = hevea && ctx.settings.paths.programFoundOn(tabOf(ctx.routes, *hevea));
    return styleDirectory(ctx.settings, ctx.programDir, found);
}

QString heveaOutputTypePiece(const HeveaOptions& options) {
    switch (options.outputType) {
    case 1:
        return QStringLiteral(" -text ");
    case 2:
        return QStringLiteral(" -info ");
    default:
        return QString();
    }
}

QString Extend(const QString& outputType, const QString& caseFlag) {
    if (outputType == QStringLiteral("txt"))
        return QStringLiteral("text");
    if (outputType == QStringLiteral("html"))
        return caseFlag == QStringLiteral("U") ? QStringLiteral("HTML") : QStringLiteral("html");
    return outputType;
}

QString heveaResultFile(const QString& dir, const QString& name, const QString& extension,
                        bool hacha) {
    return dir + (hacha ? QStringLiteral("index") : name) + QLatin1Char('.') + extension;
}

QStringList hachaPages(const QString& dir, const QString& name) {
    // Exact letter case: on Linux Paper001.html is not paper001.html. The
    // document's name is compared as text, so that a "[" or "*" in it is no
    // wildcard.
    const auto isPage = [&name](const QString& file) {
        if (file == QLatin1String("index.html"))
            return true;
        constexpr qsizetype kNumberAndExtension = 3 + 5; // "NNN.html"
        return file.size() == name.size() + kNumberAndExtension && file.startsWith(name) &&
               file.endsWith(QLatin1String(".html"));
    };
    return fileNamesIn(dir, isPage, Qt::CaseSensitive);
}

namespace {

// hevea -fix reports its rounds on every run; they are no problem.
bool isRoutineHeveaLine(QByteArrayView line) {
    static const QRegularExpression fixpoint(QStringLiteral("^Fixpoint reached in \\d+ step"));
    return line.isEmpty() || line == QByteArrayView("Run, run, again...") ||
           line.startsWith("HeVeA Warning: Label(s) may have changed") ||
           line == QByteArrayView("hevea is using the .hvb file") ||
           line.startsWith("Morvane: HeVeA has no style for the class ") ||
           fixpoint.match(QString::fromUtf8(line)).hasMatch();
}

// With -fix HeVeA runs again until the labels settle: a forward reference
// that an earlier round reported undefined is defined by the time the
// fixpoint is reached, so its warning is stale.
bool isStaleForwardReference(QByteArrayView line, bool earlierRound) {
    return earlierRound && line.contains(": Warning: Undefined label: ");
}

// What HeVeA's messages after the header hold: routine lines only, or a
// warning or error it placed in the document ("file.tex:N: ..."); a stale
// forward reference is neither.
struct MessageKinds {
    bool onlyRoutine = true;
    bool placedComplaint = false;
};
MessageKinds kindsOf(const QByteArray& messages) {
    static const QRegularExpression placed(QStringLiteral("^\\S+:\\d+: "));
    const qsizetype lastRound =
        messages.contains("Fixpoint reached in ") ? messages.lastIndexOf("Run, run, again...") : -1;
    MessageKinds kinds;
    qsizetype at = 0;
    for (const QByteArray& line : messages.split('\n')) {
        const QByteArrayView text = QByteArrayView(line).trimmed();
        const bool earlierRound = at < lastRound;
        at += line.size() + 1;
        if (isRoutineHeveaLine(text) || isStaleForwardReference(text, earlierRound))
            continue;
        kinds.onlyRoutine = false;
        if (placed.match(QString::fromUtf8(text)).hasMatch()) {
            kinds.placedComplaint = true;
            break;
        }
    }
    return kinds;
}

} // namespace

LogVerdict judgeHeveaLog(qint64 logSize, const QByteArray& logStart, qint64 headerLength,
                         qint64 dirLength) {
    // A log read whole that holds routine lines only is clean, however long
    // the folder's name; a complaint at a place in the document is one,
    // however short the log and however long the folder's name that the size
    // rule takes off. Other logs keep the size rule.
    if (logStart.size() == logSize) {
        const MessageKinds kinds =
            kindsOf(logStart.mid(qMin<qsizetype>(headerLength, logStart.size())));
        if (kinds.onlyRoutine)
            return LogVerdict::Clean;
        if (kinds.placedComplaint)
            return LogVerdict::Errors;
    }
    if (logSize - headerLength - dirLength < kQuietLogBytes)
        return LogVerdict::Clean;
    QByteArray probe = logStart.left(kLogProbeBytes);
    // The header is ours, not HeVeA's: only what follows it counts.
    probe.remove(0, qMin<qsizetype>(headerLength, probe.size()));
    probe.replace(QByteArrayLiteral("hevea is using the .hvb file"), QByteArray());
    return probe.size() >= kErrorChars ? LogVerdict::Errors : LogVerdict::Unchanged;
}

OutputPlace heveaPlace(const AppContext& ctx, const QString& file) {
    // Text and info output are .txt and .info files, never split by hacha.
    const QString extension = ctx.settings.vars.heveaOutputExtension;
    OutputPlace place = placeBesideSource(ctx, file, QLatin1Char('.') + extension);
    // hacha makes index.html the first page.
    if (ctx.model->isChecked(ctl::chkHacha) && extension == QStringLiteral("html"))
        place.label = savedAsLabel(PathOnly(file) + QStringLiteral("index.html"));
    return place;
}

ConversionResult Hevea(Conversion& conv) {
    AppContext& ctx = conv.app;
    const QString& source = conv.source;
    const HeveaOptions options = HeveaOptions::from(conv.options);
    const QString dir = PathOnly(source);
    // Letter case is kept: on Linux Paper.tex gives Paper and Paper.hlog.
    const QString base = withoutSourceExtension(source, conv.sourceExtension);
    ConversionResult result;
    result.log = base + QStringLiteral(".hlog");

    const QString header = kHeaderStart + longPathOf(source) + QStringLiteral("\n\n");
    writeLogHeader(result.log, header);

    const QString name = fileNameOf(base);
    // HeVeA makes its own cross-references and index; a bibliography it
    // reads from BibTeX's .bbl.
    const PrivatePreparation prepared(conv, ctl::chkPrepareHevea,
                                      {.aux = false, .bibliography = true, .index = false});
    if (conv.stopped)
        return result;
    const HeveaClassStandIn classStandIn(conv, ctx.settings.vars.hevea, result.log);
    if (!Writebat(conv, heveaOutputTypePiece(options) + heveaOptions(options)))
        return result;
    runCommand(conv,
               quoteForCommandLine(ctx.batchDriverPath()) + routeWord(conv) +
                   quoteForCommandLine(name),
               dir, result.log);

    // hacha splits HTML only: with text or info output there is no index page.
    const bool hacha = options.hacha && heveaOutputTypePiece(options).isEmpty();
    // The file shown and checked is the one this route really produced (the
    // text and info outputs are not .html).
    result.output = heveaResultFile(dir, name, ctx.settings.vars.heveaOutputExtension, hacha);

    // HeVeA's bare link targets are its own labels.
    const LinkRules links{.bareNamesAreLabels = true};
    conv.linkAnswer = 0;
    if (hacha) {
        for (const QString& page : hachaPages(dir, name))
            fixLinks(conv, links, dir + page);
    } else {
        fixLinks(conv, links, result.output);
    }

    // imagen, which makes the pictures HeVeA cannot write as HTML, may fail
    // (a JPEG picture under latex), leaving pages with holes in a clean log.
    const QStringList pages =
        hacha ? hachaPages(dir, name) : QStringList{fileNameOf(result.output)};
    if (const QStringList missing = missingPicturesOf(dir, pages); !missing.isEmpty()) {
        QFile logFile(result.log);
        if (logFile.open(QIODevice::WriteOnly | QIODevice::Append))
            logFile.write(missingPicturesLogLine(missing));
    }

    const qint64 logSize = QFileInfo(result.log).size();
    result.verdict = judgeHeveaLog(logSize, readFileStart(result.log, kWholeLogBytes),
                                   header.toUtf8().size(), dir.toUtf8().size());
    return result;
}

} // namespace morvane
