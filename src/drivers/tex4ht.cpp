#include "drivers/tex4ht.h"
#include "settings/make4htchoice.h"

#include "drivers/dvipdf.h"
#include "drivers/referencesfirst.h"
#include "drivers/tex4htstandins.h"
#include "drivers/workingcopy.h"
#include "fixups/fixupfiles.h"
#include "fixups/graphicsfixup.h"
#include "fixups/graphicspath.h"
#include "fixups/htmlfixups.h"
#include "fixups/missingpictures.h"
#include "fixups/tex4htpackage.h"
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
#include "platform/eventpump.h"
#include "platform/pathutils.h"
#include "platform/prompter.h"
#include "settings/controlnames.h"
#include "tex4ht/tex4htcommand.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace morvane {

namespace {

QString S(const char* text) {
    return QString::fromLatin1(text);
}

// The names of one conversion: the document N, its base name B, the output
// directory D, the working copy W, the log L and the source directory P.
struct Tex4htNames {
    QString fileName;
    QString base;
    QString outputDir;
    QString workingCopy;
    QString log;
    QString sourceDir;
};

Tex4htNames namesFor(const AppContext& ctx, const QString& source) {
    Tex4htNames names;
    names.fileName = fileNameOf(source);
    names.base = withoutSourceExtension(names.fileName, ctx.sourceExtension);
    names.outputDir = ctx.settings.vars.tex4htSaveTo + QLatin1Char('/') + names.base;
    names.workingCopy = names.outputDir + QLatin1Char('/') + names.fileName;
    names.log = names.outputDir + QLatin1Char('/') + names.base + S(".log");
    names.sourceDir = PathOnly(source);
    return names;
}

// Convert stays disabled while the working copy is edited with events served,
// so no second conversion of the same copy can start inside the edits: the
// model holds it disabled against a tab switch or a settings reload that
// would enable it, and gives it the last state they asked for afterwards.
class ConvertDisabled {
public:
    explicit ConvertDisabled(OptionsModel& model) : m_model(model) {
        m_model.holdDisabled(ctl::cmdConvert);
    }
    ~ConvertDisabled() { m_model.releaseDisabled(ctl::cmdConvert); }
    ConvertDisabled(const ConvertDisabled&) = delete;
    ConvertDisabled& operator=(const ConvertDisabled&) = delete;

private:
    OptionsModel& m_model;
};

// The files of `dir` whose names end in one of `extensions`, letter case
// aside, sorted by name.
QStringList filesWithExtensions(const QString& dir,
                                std::initializer_list<QLatin1String> extensions) {
    QStringList paths;
    const auto wanted = [extensions](const QString& name) {
        return std::any_of(extensions.begin(), extensions.end(), [&name](QLatin1String extension) {
            return name.endsWith(extension, Qt::CaseInsensitive);
        });
    };
    for (const QString& name : fileNamesIn(dir, wanted, Qt::CaseInsensitive))
        paths.append(dir + QLatin1Char('/') + name);
    return paths;
}

// The folder's name goes into every page's image links and into the tex4ht
// option string: a quote, an angle bracket, an ampersand or a line break
// would break them all.
bool isValidImagesFolder(const QString& name) {
    if (name.trimmed().isEmpty())
        return false;
    for (const QChar c : name)
        if (c == QLatin1Char('"') || c == QLatin1Char('<') || c == QLatin1Char('>') ||
            c == QLatin1Char('&') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            return false;
    return true;
}

bool imagesFolderMissing(AppContext& ctx) {
    const OptionsModel& model = *ctx.model;
    if (!model.isChecked(ctl::chkImages) || isValidImagesFolder(model.text(ctl::txtImages)))
        return false;
    ctx.seams.prompter->tell(S("If you wish to save the images in a subdirectory\n") +
                                 S("you must give it a valid name."),
                             S("Images Subdirectory"), Icon::Critical);
    return true;
}

// The configuration file named on the command line: the first double-quoted
// argument that is not the document's own name (a name with a blank is
// quoted too), up to a comma or its closing quote, with ".cfg".
QString configFileOnCommandLine(const QString& commandLine, const QString& documentBase) {
    for (qsizetype open = commandLine.indexOf(QLatin1Char('"')); open >= 0;) {
        const qsizetype close = commandLine.indexOf(QLatin1Char('"'), open + 1);
        const QString quoted = commandLine.mid(open + 1, close < 0 ? -1 : close - open - 1);
        if (close >= 0 && quoted.compare(documentBase, Qt::CaseInsensitive) == 0) {
            open = commandLine.indexOf(QLatin1Char('"'), close + 1);
            continue;
        }
        const qsizetype comma = quoted.indexOf(QLatin1Char(','));
        if (comma < 0 && close < 0)
            return {};
        QString name = quoted.left(comma).trimmed();
        if (name.isEmpty())
            return {};
        if (!name.endsWith(S(".cfg"), Qt::CaseInsensitive))
            name += S(".cfg");
        return name;
    }
    return {};
}

void copyAuxiliaryFiles(Conversion& conv, const Tex4htNames& n) {
    AppContext& ctx = conv.app;
    const QString commandLine = ctx.model->text(ctl::txt3);
    const QString dir = n.outputDir + QLatin1Char('/');
    if (commandLine.contains(S(",mouseover")))
        copyIfDifferent(n.sourceDir + S("overlib.js"), dir + S("overlib.js"));
    copyIfDifferent(n.sourceDir + S("tex4ht.usr"), dir + S("tex4ht.usr"));
}

void copyConfigurationFiles(Conversion& conv, const Tex4htNames& n) {
    AppContext& ctx = conv.app;
    const QString dir = n.outputDir + QLatin1Char('/');
    const QString config = configFileOnCommandLine(ctx.model->text(ctl::txt3), n.base);
    // A name with a folder in it is not a file beside the document.
    if (!config.isEmpty() && !config.contains(QLatin1Char('/'))) {
        const bool own = config.contains(S("qvconfig"), Qt::CaseInsensitive);
        const QString from =
            own ? ctx.programDir + QLatin1Char('/') + config : n.sourceDir + config;
        copyIfDifferent(from, dir + config);
    }
    for (const char* extension : {".cfg", ".cfh", ".bbl"})
        copyIfDifferent(n.sourceDir + n.base + S(extension), dir + n.base + S(extension));
}

// Stale configuration files of an earlier run must not reach this one. When
// the document lies in its output directory they are the author's own.
void clearOldAuxiliaryFiles(const Tex4htNames& n, const QString& source) {
    if (PathOnly(source) == n.outputDir + QLatin1Char('/'))
        return;
    for (const QString& file :
         filesWithExtensions(n.outputDir, {QLatin1String(".cfg"), QLatin1String(".cfh"),
                                           QLatin1String(".bbl"), QLatin1String(".usr")}))
        QFile::remove(file);
}

bool prepareWorkingCopy(Conversion& conv, const Tex4htNames& n, const QString& source) {
    AppContext& ctx = conv.app;
    if (!makeOutputDirectory(ctx, n.outputDir,
                             S("Choose another directory with the TeX4ht tab's Browse button, or "
                               "check that the directory can be written.")))
        return false;
    clearOldAuxiliaryFiles(n, source);
    if (!makeWorkingCopy(conv, source, n.workingCopy, true))
        return false;
    copyClassFile(n.sourceDir, n.workingCopy);
    copyAuxiliaryFiles(conv, n);
    if (!fixGraphics(conv, n.outputDir, n.workingCopy, KwzTexExtBlock::Add))
        return false;
    copyGraphicsPathPictures(source, n.outputDir);
    copyConfigurationFiles(conv, n);
    if (!copyMydocFiles(n.sourceDir, n.outputDir))
        return false;
    if (!babelAndSwpht(conv, n.outputDir, n.workingCopy))
        return false;
    return Addtex4ht(conv, n.outputDir, n.workingCopy);
}

// A document converted where it lies may be edited only by the steps of its
// own conversion.
class ConvertedInPlaceScope {
public:
    explicit ConvertedInPlaceScope(Conversion& run) : m_run(run) {}
    ~ConvertedInPlaceScope() { m_run.convertedInPlace.clear(); }
    ConvertedInPlaceScope(const ConvertedInPlaceScope&) = delete;
    ConvertedInPlaceScope& operator=(const ConvertedInPlaceScope&) = delete;

private:
    Conversion& m_run;
};

void showProgress(OptionsModel& model, const QString& caption) {
    model.setCaption(ctl::Label35, caption);
    // Repaint the label; input stays with the rest of the window as usual.
    serveRepaints();
}

LogVerdict judgeTex4htLog(const QString& log, const QString& source) {
    return judgeLatexLog(log, S("TeX4ht log file for ") + longPathOf(source));
}

} // namespace

bool prepareTex4htWorkingCopy(Conversion& conv) {
    AppContext& ctx = conv.app;
    const QString& source = conv.source;
    const Tex4htNames n = namesFor(ctx, source);
    conv.rawFrame = false;
    const ConvertDisabled convertDisabled(*ctx.model);
    const ConvertedInPlaceScope inPlace(conv);
    return prepareWorkingCopy(conv, n, source);
}

QString tex4htResultFile(const Conversion& conv, const QString& outputDir, const QString& base) {
    const QString stem = outputDir + QLatin1Char('/') + base;
    const QString extension = tex4htResultExtension(conv.app, conv.keptPackageLine);
    if (extension == S(".xml") && !QFileInfo::exists(stem + extension))
        return stem + S(".html");
    return stem + extension;
}

QString tex4htOutputExtension(const AppContext& ctx) {
    return tex4htResultExtension(ctx);
}

OutputPlace tex4htPlace(const AppContext& ctx, const QString& file) {
    const QString name = withoutSourceExtension(fileNameOf(file), ctx.sourceExtension);
    return placeInNewDirectory(ctx.settings.vars.tex4htSaveTo, name,
                               name + tex4htOutputExtension(ctx));
}

void postProcessTex4htPages(Conversion& conv, const QString& outputDir, const QString& extension) {
    AppContext& ctx = conv.app;
    OptionsModel& model = *ctx.model;
    const QStringList pages =
        filesWithExtensions(outputDir, {QLatin1String(".html"), QLatin1String(".htm"),
                                        QLatin1String(".xml"), QLatin1String(".xht")});
    const bool subfolder = model.isChecked(ctl::chkImages);
    const QString images = model.text(ctl::txtImages);
    const LinkRules rules{.bareNamesAreLabels = false, .pageExtension = extension.mid(1).toUtf8()};

    QStringList running = model.items(ctl::lstProcesses);
    model.setItems(ctl::lstProcesses, running + QStringList{ctx.convertFile()});
    model.setVisible(ctl::Label35, true);
    const QString total = QString::number(pages.size());
    for (qsizetype i = 0; i < pages.size(); ++i) {
        showProgress(model, S("Processing HTML file  ") + QString::number(i + 1) + S("  of  ") +
                                total + S(" ..."));
        if (subfolder)
            fixImageSubdirectory(conv, rules, pages.at(i), images, false);
        else
            fixPlainImagesAndLinks(conv, rules, pages.at(i), outputDir);
    }
    if (model.text(ctl::txt3).contains(S(",mouseover")) && subfolder)
        for (const QString& script : filesWithExtensions(outputDir, {QLatin1String(".js")}))
            fixJavaScript(script, images);
    model.setItems(ctl::lstProcesses, running);
    model.setVisible(ctl::Label35, false);
}

// make4ht (and tex4ebook, for an e-book) lives with htlatex in the TeX4ht
// directory.
static bool make4htFound(AppContext& ctx) {
    const bool ebook =
        make4htFormatAt(ctx.model->index(ctl::cmbMake4htFormat)) == Make4htFormat::Epub3;
    const QString name = ebook ? S("tex4ebook") : S("make4ht");
    const QString program = ctx.settings.vars.tex4ht + QLatin1Char('/') + name;
    if (QFileInfo::exists(program))
        return true;
    ctx.seams.prompter->tell(S("Can't find ") + program + S("\n\n") + name +
                                 S(" comes with TeX Live (Debian package "
                                   "texlive-extra-utils); its directory can be set in Help, "
                                   "Program Locations"),
                             S("File Not Found"), Icon::Exclamation);
    return false;
}

bool tex4htProgramsFound(AppContext& ctx) {
    const OptionsModel& model = *ctx.model;
    if (model.isChecked(ctl::chkMake4ht))
        return make4htFound(ctx);
    const bool swp = model.isChecked(ctl::chkSWP);
    const bool htrun = model.isChecked(ctl::chkHtrun);
    const QString htrunDir = swp ? ctx.settings.vars.htrunS : ctx.settings.vars.htrunM;
    QString text;
    QString title;
    if (model.text(ctl::txt3).startsWith(S("htrun")) && htrun) {
        if (htrunDir.isEmpty()) {
            text = (swp ? S("No path found for 'Htrun for SWP'")
                        : S("No path found for 'Htrun for MiKteX'")) +
                   S("\n\nThe path can be set in Help, Program Locations");
            title = S("Path Not Found");
        } else if (!QFileInfo::exists(htrunDir + S("/htrun.exe")) &&
                   !QFileInfo::exists(htrunDir + S("/htrun"))) {
            text = S("Unable to find ") + htrunDir + S("/htrun") +
                   S("\n\nThe path of this file can be set in Help, Program Locations");
            title = S("File Not Found");
        }
    }
    // TeX4ht's batch file ht.bat is htlatex here.
    const QString htlatex = ctx.settings.vars.tex4ht + S("/htlatex");
    if (!swp && !htrun && !QFileInfo::exists(htlatex)) {
        text =
            S("Can't find ") + htlatex + S(" required for MiKteX\n\nYou could try using htrun\n");
        title = S("File Not Found");
    }
    if (tex4htArguments(model).at(0).isEmpty()) {
        text = S("No batch file selected");
        title = S("Batch File Required");
    }
    if (text.isEmpty())
        return true;
    ctx.seams.prompter->tell(text, title, Icon::Exclamation);
    return false;
}

void probeHtrunIni(AppContext& ctx) {
    ctx.latexCount = false;
    QFile file(ctx.settings.vars.htrunM + S("/htrun.ini"));
    if (!ctx.settings.vars.htrunM.isEmpty() && file.open(QIODevice::ReadOnly)) {
        QString text = QString::fromUtf8(file.readAll()).toLower();
        text.remove(QLatin1Char(' '));
        text.replace(S("\r\n"), S("\n"));
        ctx.latexCount = text.contains(S("\nlatexcount=1"));
    }
    updatePassesControl(ctx);
}

QString upgradeNoticeText() {
    return S("Morvane has been updated to version ") +
           S("%1.%2").arg(MORVANE_VERSION_MAJOR).arg(MORVANE_VERSION_MINOR) + S(". ") + S("\n") +
           S("The method of saving command lines has changed.") + S("\n\n") +
           S("Check that the loaded command line is as you would expect ") + S("\n") +
           S("or change it by pressing the Advanced button.");
}

void tex4htTabSelected(AppContext& ctx) {
    if (ctx.settings.vars.upgradeNoticeShown)
        return;
    ctx.seams.prompter->tell(upgradeNoticeText(), S("Updated Version"), Icon::Exclamation);
    ctx.settings.vars.upgradeNoticeShown = true;
}

ConversionResult TeX4ht(Conversion& conv) {
    AppContext& ctx = conv.app;
    const QString& source = conv.source;
    ConversionResult result;
    if (imagesFolderMissing(ctx) || !tex4htProgramsFound(ctx))
        return result;
    const Tex4htNames n = namesFor(ctx, source);
    ctx.logs[conv.route] = n.log;
    result.copied = {n.workingCopy, source, n.outputDir, n.sourceDir};
    if (!prepareTex4htWorkingCopy(conv))
        return result;
    const bool pause = ctx.model->isChecked(ctl::chkTex4htPause);
    conv.documentFolder = QFileInfo(source).absolutePath();
    // htlatex's own passes make the .aux; BibTeX and makeindex it never runs.
    if (!prepareBesideWorkingCopy(conv, ctl::chkPrepareTex4ht, n.workingCopy,
                                  {.aux = false, .bibliography = true, .index = true},
                                  PreparationEngine::Dvi))
        return result;
    const Tex4htStandIns standIns;
    conv.standInPrograms = standIns.folder();
    if (!Writebat(conv, QString()))
        return result;
    const QDateTime started = QDateTime::currentDateTime();
    runCommand(conv,
               quoteForCommandLine(ctx.batchDriverPath()) + routeWord(conv) +
                   quoteForCommandLine(n.base) + (pause ? S(" pause") : QString()),
               n.outputDir);

    if (conv.stopped) {
        result.log = n.log; // what the converter wrote before it was stopped
        return result;
    }
    const QString output = tex4htResultFile(conv, n.outputDir, n.base);
    const QString extension = S(".") + QFileInfo(output).suffix();
    conv.linkAnswer = 0;
    const QFileInfo log(n.log);
    if (!log.exists() || log.lastModified() < started) {
        conv.linkAnswer = 4; // nothing new: no page is touched
        return result;
    }
    // An office document or an e-book is whole as its program wrote it.
    const bool webPages = extension != S(".odt") && extension != S(".epub");
    if (webPages) {
        ConvertDisabled convertDisabled(*ctx.model);
        postProcessTex4htPages(conv, n.outputDir, extension);
    }
    // A picture program that is missing or failed leaves pages that show
    // nothing where their pictures belong, in a run that looks clean.
    if (const QStringList missing = missingPictures(n.outputDir); !missing.isEmpty()) {
        QFile logFile(n.log);
        if (logFile.open(QIODevice::WriteOnly | QIODevice::Append))
            logFile.write(missingPicturesLogLine(missing));
    }
    result.log = n.log;
    result.verdict = judgeTex4htLog(n.log, source);
    result.output = output;
    return result;
}

} // namespace morvane
