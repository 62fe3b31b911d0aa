#include "pipeline/convertcommand.h"

#include "pipeline/appcontext.h"
#include "pipeline/conversion.h"
#include "pipeline/limitnotice.h"
#include "pipeline/previousresult.h"
#include "pipeline/resultdisplay.h"
#include "pipeline/safealias.h"
#include "pipeline/savedpath.h"
#include "platform/atomicfile.h"
#include "platform/pathutils.h"
#include "platform/prompter.h"
#include "platform/volumes.h"
#include "settings/controlnames.h"
#include "settings/filehistory.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <utility>

namespace morvane {

namespace {

const QString kConvertTitle = QStringLiteral("Convert TeX File");
const QString kNoTeXTitle = QStringLiteral("No TeX File");
constexpr qsizetype kLongestFileName = 200;
const QString kLongNameTitle = QStringLiteral("Long File Name Problem");

// The extension the drivers cut off a non-TeX file: from its last "." on, so
// that paper.html gives ".html"; a name without one keeps the last four
// characters.
QString extensionOf(const QString& file) {
    const QString name = fileNameOf(file);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        return name.mid(dot).toLower();
    return name.right(4).toLower();
}

void tellCopyError(AppContext& ctx, const QString& error, const QString& source,
                   const QString& destination) {
    ctx.seams.prompter->tell(error + QStringLiteral("\nUnable to copy ") + source +
                                 QStringLiteral(" to ") + destination +
                                 QStringLiteral("\n\nTry changing the name of ") + source +
                                 QStringLiteral(" yourself before converting."),
                             QStringLiteral("File copy error"), Icon::Critical);
}

bool copyOrTell(AppContext& ctx, const QString& source, const QString& destination) {
    QString error;
    if (copyFileAtomically(source, destination, Durability::WaitForDisk, &error))
        return true;
    tellCopyError(ctx, error, source, destination);
    return false;
}

// The "Save" question before a copy replaces a file of the same name.
bool mayReplace(AppContext& ctx, const QString& destination) {
    if (!QFileInfo::exists(destination))
        return true;
    return ctx.seams.prompter->ask(
               QStringLiteral("The file ") + destination +
                   QStringLiteral(" already exists. \n \n Replace existing file?"),
               QStringLiteral("Save"), Buttons::YesNo, Icon::Question, Answer::No) == Answer::Yes;
}

// A second Convert of a file still being converted is refused.
bool alreadyConverting(AppContext& ctx, const QString& file) {
    OptionsModel& m = *ctx.model;
    if (!m.isChecked(ctl::chkMulti) || m.tag(ctl::cmdConvert) != QStringLiteral("wait"))
        return false;
    if (!m.items(ctl::lstProcesses).contains(file))
        return false;
    ctx.seams.prompter->tell(
        QStringLiteral("You are currently converting ") + file +
            QStringLiteral("\n\nTo convert this file again you must wait until "
                           "the process has been completed."),
        kConvertTitle, Icon::Critical);
    return true;
}

enum class Outcome { GoOn, Stop };

// A copy made for the conversion takes the file's place in the file box when
// the box showed the file.
void followInFileBox(AppContext& ctx, const QString& file, const QString& copy) {
    if (ctx.convertFile() != file)
        return;
    ctx.model->setText(ctl::cmbTeX, copy);
    SavedPath(ctx);
}

// TeX programs cannot write next to a file on a CD-ROM: offer a copy in the
// TeX documents directory. `file` becomes the copy when one is made.
Outcome cdRomRule(AppContext& ctx, QString& file) {
    const QString cdRom = ctx.settings.vars.cdRom;
    if (cdRom.isEmpty() || !VolumeTable::liesOn(PathOnly(file), cdRom))
        return Outcome::GoOn;
    QString message = QStringLiteral("Cannot save files to CD-ROM drive.\n\n");
    if (!ctx.settings.paths.texDocsExists) {
        ctx.seams.prompter->tell(message, kConvertTitle, Icon::Exclamation);
        return Outcome::Stop;
    }
    message += QStringLiteral("Copy ") + file + QStringLiteral("\nto ") +
               ctx.settings.vars.texDocs + QStringLiteral(" first?");
    if (ctx.seams.prompter->ask(message, kConvertTitle, Buttons::OkCancel, Icon::Exclamation) !=
        Answer::Ok)
        return Outcome::GoOn;
    const QString destination = joinPath(ctx.settings.vars.texDocs, fileNameOf(file));
    if (!mayReplace(ctx, destination))
        return Outcome::Stop;
    if (!copyOrTell(ctx, file, destination))
        return Outcome::Stop;
    followInFileBox(ctx, file, destination);
    file = destination;
    return Outcome::GoOn;
}

// latex and pdflatex fail on "~" in a file name, htlatex and texi2dvi on a
// blank: offer a copy in the TeX documents directory with "_" instead. The
// HeVeA and TtH routes are exempt.
Outcome shortNameRule(AppContext& ctx, const Route& route, QString& source) {
    const bool blankName =
        !ctx.settings.vars.longFileName && fileNameOf(source).contains(QLatin1Char(' '));
    if (!route.needsPlainFileName || !(source.contains(QLatin1Char('~')) || blankName))
        return Outcome::GoOn;

    // Only the file name is changed: the TeX documents directory itself may
    // hold a blank.
    const QString name = fileNameOf(source);
    QString newName = replaceAll(name, QStringLiteral("~"), QStringLiteral("_"));
    newName = replaceAll(newName, QStringLiteral(" "), QStringLiteral("_"));
    const bool nameChanged = newName != name;
    const QString destination = joinPath(ctx.settings.vars.texDocs, newName);

    QString message = QStringLiteral("TeX related programs may not be able to handle the ~ "
                                     "character in the short file name\n") +
                      source + QStringLiteral("\n\n");
    if (!ctx.settings.paths.texDocsExists) {
        ctx.seams.prompter->tell(message, kLongNameTitle, Icon::Exclamation);
        return Outcome::Stop;
    }
    message += QStringLiteral("Copy ") + source + QStringLiteral("  to ") +
               ctx.settings.vars.texDocs + QStringLiteral("\n");
    if (nameChanged)
        message +=
            QStringLiteral("changing name to ") + fileNameOf(destination) + QStringLiteral("\n");
    message += QStringLiteral("\nand then redo?");
    switch (
        ctx.seams.prompter->ask(message, kLongNameTitle, Buttons::YesNoCancel, Icon::Exclamation)) {
    case Answer::Yes:
        break;
    case Answer::No:
        return Outcome::GoOn;
    default:
        return Outcome::Stop;
    }
    // A file of that name in the TeX documents directory may be another
    // document: it is only replaced when the user agrees.
    if (destination != source && !mayReplace(ctx, destination))
        return Outcome::Stop;
    if (!copyOrTell(ctx, source, destination))
        return Outcome::Stop;
    followInFileBox(ctx, source, destination);
    source = destination;
    return Outcome::GoOn;
}

// The state of the route's result before the run, so that a result left by
// an earlier run does not count as produced by this one.
struct OutputSnapshot {
    QString path;
    bool existed = false;
    QDateTime modified;
};

OutputSnapshot snapshot(const QString& path) {
    const QFileInfo info(path);
    return {path, info.exists(), info.exists() ? info.lastModified() : QDateTime()};
}

bool producedByThisRun(const QString& output, const OutputSnapshot& before,
                       const QDateTime& started) {
    if (output.isEmpty())
        return false;
    const QFileInfo info(output);
    // An empty page is no result (the window says "... is empty!" for it).
    if (!info.exists() || info.size() == 0)
        return false;
    if (output == before.path && before.existed && info.lastModified() == before.modified)
        return false;
    // File times come from a coarse clock that may lag the wall clock a little.
    return info.lastModified() >= started.addSecs(-1);
}

ConversionResult runDriver(Conversion& conversion) {
    const OutputSnapshot before = snapshot(conversion.expectedOutput);
    const QDateTime started = QDateTime::currentDateTime();
    ConversionResult result;
    {
        PreviousResult previous(conversion);
        const ReplacementFailures failures;
        result = runUnderSafeAlias(conversion);
        if (conversion.stopped)
            previous.runWasStopped();
        result.failedRewrites = failures.entries();
    }
    if (!result.failedRewrites.isEmpty())
        result.verdict = LogVerdict::Errors;
    result.produced = producedByThisRun(result.output, before, started);
    result.peakMemoryBytes = conversion.peakMemoryBytes;
    if (conversion.stopped) {
        // A stopped run shows nothing; its log stays for View Log.
        result.output.clear();
        result.produced = false;
        result.verdict = LogVerdict::Unchanged;
    }
    return result;
}

} // namespace

bool Checkfile(AppContext& ctx, const QString& file) {
    if (file.isEmpty()) {
        ctx.seams.prompter->tell(QStringLiteral("No TeX file!"), kNoTeXTitle, Icon::Exclamation);
        return false;
    }
    const QFileInfo info(file);
    if (!info.exists()) {
        ctx.seams.prompter->tell(file + QStringLiteral(" doesn't exist!"), kNoTeXTitle,
                                 Icon::Exclamation);
        return false;
    }
    if (info.isDir()) {
        ctx.seams.prompter->tell(file + QStringLiteral(" is a directory, not a TeX file!"),
                                 kNoTeXTitle, Icon::Exclamation);
        return false;
    }
    if (!info.isReadable()) {
        ctx.seams.prompter->tell(file + QStringLiteral(" can't be read!"), kNoTeXTitle,
                                 Icon::Exclamation);
        return false;
    }
    // The converters name their files after the document (NAME.synctex.gz,
    // "Backup of NAME.tex", TeX4ht's NAMEli1.html): past this, those names
    // would pass the file system's limit of 255 bytes and be lost.
    if (QFile::encodeName(info.fileName()).size() > kLongestFileName) {
        ctx.seams.prompter->tell(
            file +
                QStringLiteral(" has a name too long for the files a conversion makes "
                               "from it. Rename it to a name of at most ") +
                QString::number(kLongestFileName) + QStringLiteral(" bytes."),
            kNoTeXTitle, Icon::Exclamation);
        return false;
    }
    if (ctx.settings.vars.allowNonTeXFiles) {
        ctx.sourceExtension = extensionOf(file);
        return true;
    }
    // Without the preference the drivers cut ".tex" again, even after a
    // conversion of another kind of file.
    ctx.sourceExtension = QStringLiteral(".tex");
    if (!fileNameOf(file).endsWith(ctx.sourceExtension, Qt::CaseInsensitive)) {
        ctx.seams.prompter->tell(file + QStringLiteral(" is not a TeX file!"),
                                 QStringLiteral("TeX Files Only"), Icon::Exclamation);
        return false;
    }
    return true;
}

QString GetShortFileName(const QString& path) {
    // Windows tools expected 8.3 names; on Linux the path is used as it is.
    return path;
}

QString PathOnly(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.left(slash + 1);
}

QString currentLogFile(const AppContext& ctx) {
    const Route* route = ctx.selectedRoute();
    return route ? ctx.logs[*route] : QString();
}

std::optional<ConversionResult> convert(AppContext& ctx, const Route& route, const QString& file) {
    if (!Checkfile(ctx, file)) {
        if (ctx.seams.requestFocus && file == ctx.convertFile())
            ctx.seams.requestFocus(ctl::cmbTeX);
        return std::nullopt;
    }
    if (alreadyConverting(ctx, file))
        return std::nullopt;
    if (file == ctx.convertFile())
        rememberFile(*ctx.model);

    // Without short names on Linux every route converts the file as named.
    QString source = file;
    if (cdRomRule(ctx, source) == Outcome::Stop)
        return std::nullopt;
    if (shortNameRule(ctx, route, source) == Outcome::Stop)
        return std::nullopt;
    if (&route == ctx.selectedRoute() && source == ctx.convertFile())
        SavedPath(ctx);

    // The last run's entries are not this one's.
    if (ctx.seams.showLogEntries)
        ctx.seams.showLogEntries({});
    Conversion conversion(ctx, route, source);
    conversion.expectedOutput = expectedOutputOf(route.place(ctx, source));
    const QDateTime started = QDateTime::currentDateTime();
    conversion.result = runDriver(conversion);
    finishConversion(ctx, conversion);
    tellLimitReached(conversion, started);

    const QString log = currentLogFile(ctx);
    ctx.model->setEnabled(ctl::cmdLog, !log.isEmpty() && QFileInfo::exists(log));
    return conversion.result;
}

std::optional<ConversionResult> cmdConvert_Click(AppContext& ctx) {
    const Route* route = ctx.selectedRoute();
    if (!route)
        return std::nullopt;
    return convert(ctx, *route, ctx.convertFile());
}

Conversion::Conversion(AppContext& app, const Route& route, const QString& document)
    : app(app), route(route), document(document), source(document),
      sourceExtension(app.sourceExtension) {
    if (app.model)
        options.copyStateFrom(*app.model);
}

} // namespace morvane
