#include "drivers/latex2html.h"

#include "drivers/workingcopy.h"

#include "drivers/dvipdf.h"
#include "drivers/l2hinit.h"
#include "drivers/referencesfirst.h"
#include "fixups/graphicspath.h"
#include "fixups/htmlfixups.h"
#include "fixups/workingcopyfiles.h"
#include "pipeline/appcontext.h"
#include "pipeline/batchdriver.h"
#include "pipeline/commandrunner.h"
#include "pipeline/conversion.h"
#include "pipeline/convertcommand.h"
#include "pipeline/outputplace.h"
#include "pipeline/resultdisplay.h"
#include "platform/atomicfile.h"
#include "platform/directorylisting.h"
#include "platform/pathutils.h"
#include "platform/privatefile.h"
#include "platform/prompter.h"
#include "settings/controlnames.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace morvane {

namespace {

QString S(const char* text) {
    return QString::fromLatin1(text);
}

// latex2html's own name for the file the design calls "Warnings".
const QString kWarningsName = QStringLiteral("WARNINGS");
constexpr qint64 kWarningsBytes = 5000;

// The names of one conversion: the document N, the output directory D, the
// working copy W, the images log L.
struct L2hNames {
    QString fileName;
    QString outputDir;
    QString workingCopy;
    QString imagesLog;
};

L2hNames namesFor(const AppContext& ctx, const QString& source) {
    L2hNames names;
    names.fileName = fileNameOf(source);
    names.outputDir = l2hOutputDirectory(ctx, source);
    names.workingCopy = names.outputDir + QLatin1Char('/') + names.fileName;
    names.imagesLog = names.outputDir + S("/images.log");
    return names;
}

bool antiVirusTurnedOff(AppContext& ctx) {
    if (!ctx.model->isChecked(ctl::chkAntiVirus))
        return true;
    return ctx.seams.prompter->ask(S("You must turn off anti-virus checking before continuing.\n\n"
                                     "Press OK to continue or Cancel to abort"),
                                   S("Anti-Virus Problem"), Buttons::OkCancel,
                                   Icon::Exclamation) == Answer::Ok;
}

bool isNewSince(const QString& path, const QDateTime& started) {
    const QFileInfo info(path);
    // File times come from a coarse clock that may lag the wall clock a little.
    return info.exists() && info.lastModified() >= started.addSecs(-1);
}

QStringList pagesIn(const QString& dir) {
    const auto isPage = [](const QString& name) {
        return name.endsWith(QLatin1String(".html"), Qt::CaseInsensitive) ||
               name.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive) ||
               name.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive) ||
               name.endsWith(QLatin1String(".xht"), Qt::CaseInsensitive);
    };
    QStringList pages;
    for (const QString& name : fileNamesIn(dir, isPage, Qt::CaseSensitive))
        pages.append(dir + QLatin1Char('/') + name);
    return pages;
}

void fixPageImages(Conversion& conv, const QString& outputDir) {
    AppContext& ctx = conv.app;
    const bool subfolder = ctx.model->isChecked(ctl::chkImageDir);
    const LinkRules rules{.bareNamesAreLabels = false, .pageExtension = QByteArrayLiteral("html")};
    conv.linkAnswer = 0;
    for (const QString& page : pagesIn(outputDir)) {
        if (subfolder)
            fixImageSubdirectory(conv, rules, page, S("images"), true);
        else
            fixPlainImages(conv, page, outputDir);
    }
}

// latex2html's warnings of this run go to the end of the images log.
void appendWarnings(const L2hNames& names, const QDateTime& started) {
    const QString warnings = names.outputDir + QLatin1Char('/') + kWarningsName;
    if (!isNewSince(warnings, started))
        return;
    QFile in(warnings);
    if (!in.open(QIODevice::ReadOnly))
        return;
    const QByteArray text = in.read(kWarningsBytes);
    QFile log(names.imagesLog);
    QByteArray logText;
    if (log.open(QIODevice::ReadOnly))
        logText = log.readAll();
    replaceFileAtomically(names.imagesLog, logText + "\n\nWarnings:\n\n" + text,
                          Durability::NoWait);
}

LogVerdict judgeImagesLog(const QString& log, const QString& source) {
    return judgeLatexLog(log, S("LaTeX2HTML images log file for ") + longPathOf(source));
}

} // namespace

QString l2hOutputDirectory(const AppContext& ctx, const QString& file) {
    return joinPath(ctx.settings.vars.l2hSaveTo,
                    withoutSourceExtension(fileNameOf(file), ctx.sourceExtension));
}

OutputPlace l2hPlace(const AppContext& ctx, const QString& file) {
    return placeInNewDirectory(ctx.settings.vars.l2hSaveTo,
                               withoutSourceExtension(fileNameOf(file), ctx.sourceExtension),
                               QStringLiteral("index.html"));
}

ConversionResult l2h(Conversion& conv) {
    AppContext& ctx = conv.app;
    const QString& source = conv.source;
    ConversionResult result;
    if (!antiVirusTurnedOff(ctx))
        return result;
    ctx.l2hRun = true;
    const L2hNames n = namesFor(ctx, source);
    result.copied = {n.workingCopy, source, n.outputDir, PathOnly(source)};
    QFile::remove(n.imagesLog);
    if (!makeOutputDirectory(ctx, n.outputDir,
                             S("Choose another directory with the LaTeX2HTML tab's Change "
                               "Directory button, or check that the directory can be "
                               "written.")) ||
        !makeWorkingCopy(conv, source, n.workingCopy, false))
        return result;
    copyClassFile(PathOnly(source), n.workingCopy);
    copyGraphicsPathPictures(source, n.outputDir, PictureCopies::AlsoBeside);
    // LaTeX, BibTeX and dvips, run by latex2html for the pictures and
    // formulas, find the document's own packages and pictures in its folder.
    conv.documentFolder = QFileInfo(source).absolutePath();
    // latex2html reads the bibliography bibtex made beside the document from
    // the folder it runs in.
    const QString bbl = withoutSourceExtension(n.fileName, conv.sourceExtension) + S(".bbl");
    copyIfDifferent(PathOnly(source) + bbl, n.outputDir + QLatin1Char('/') + bbl);
    // latex2html numbers its sections from the .aux and reads the .bbl and
    // .ind beside the working copy.
    if (!prepareBesideWorkingCopy(conv, ctl::chkPrepareL2h, n.workingCopy,
                                  {.aux = true, .bibliography = true, .index = true},
                                  PreparationEngine::Pdf))
        return result;
    // The run reads its own copy of the init file: another conversion may
    // write the shared one, with its own $DESTDIR, while this one runs.
    QByteArray init;
    if (!WriteInit(ctx, conv.options, n.outputDir, &init))
        return result;
    const PrivateFile runInit(QStringLiteral("morvane-l2h-XXXXXX.init"), init);
    if (!Writebat(conv, runInit.path()))
        return result;

    const bool pause = ctx.model->tag(ctl::Label25) == S("1");
    const QDateTime started = QDateTime::currentDateTime();
    // latex2html reads \input and \include files, and LaTeX its pictures,
    // from the folder it runs in: the working copy's, where the include
    // handling and the graphics fix-up have put them under bare names. Run
    // on the user's file elsewhere, the included text would be missing.
    runCommand(conv,
               quoteForCommandLine(ctx.batchDriverPath()) + routeWord(conv) +
                   quoteForCommandLine(n.workingCopy) + (pause ? S(" pause") : QString()),
               n.outputDir);
    if (!QFileInfo(n.outputDir).isDir())
        return result;

    const QString index = n.outputDir + S("/index.html");
    // latex2html exits 0 on errors: an index.html of an earlier run is not
    // this run's result, and its pages are left as they are.
    const bool produced = isNewSince(index, started);
    if (produced)
        fixPageImages(conv, n.outputDir);
    appendWarnings(n, started);
    if (QFileInfo::exists(n.imagesLog)) {
        result.log = n.imagesLog;
        result.verdict = judgeImagesLog(n.imagesLog, source);
    }
    if (produced)
        result.output = index;
    return result;
}

} // namespace morvane
