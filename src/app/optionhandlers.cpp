#include "app/optionhandlers.h"

#include "app/configcommands.h"
#include "app/startup.h"
#include "drivers/hevea.h"
#include "pipeline/appcontext.h"
#include "pipeline/commandrunner.h"
#include "pipeline/convertcommand.h"
#include "pipeline/resultdisplay.h"
#include "pipeline/savedpath.h"
#include "platform/prompter.h"
#include "settings/controlnames.h"
#include "settings/hevealibrary.h"
#include "settings/pandocsettings.h"
#include "tex4ht/tex4htcommand.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <functional>

namespace morvane {

namespace {

using Aspect = OptionsModel::Aspect;

QString S(const char* text) {
    return QString::fromLatin1(text);
}

// Sets the three captions that follow the converter and its output kind.
void setRunCaptions(OptionsModel& model, const QString& kind) {
    model.setCaption(ctl::chkIE, S("&Run ") + kind + S(" file"));
    model.setCaption(ctl::chkClose, S("Close &after running ") + kind + S(" file"));
    model.setCaption(ctl::cmdShow, S("Sh&ow ") + kind + S(" file"));
}

// A choice that changes the result's kind: the output place and the
// Run/Show captions follow it on the selected route's tab.
void refreshResultCaptions(AppContext& ctx) {
    const Route* route = ctx.selectedRoute();
    if (!route || ctx.loading)
        return;
    setRunCaptions(*ctx.model, route->resultWord(ctx));
    SavedPath(ctx);
}

bool heveaFileExists(const AppContext& ctx, const QString& name) {
    return QFileInfo::exists(ctx.settings.vars.hevea + QLatin1Char('/') + name);
}

// The HeVeA location is set and has no esponja: the tidy step cannot run.
bool esponjaMissing(const AppContext& ctx) {
    return !ctx.settings.vars.hevea.isEmpty() && !heveaFileExists(ctx, S("esponja"));
}

QString programNotFoundText(const char* locationKey) {
    return QLatin1String(locationKey) + S(" Not Found\nSet its folder in Help, Program Locations");
}

// Convert needs the route's program; without it lblPath names its location
// key, and a second line says where a new user sets it.
void applyProgramFound(AppContext& ctx, const Route& route, bool found) {
    OptionsModel& model = *ctx.model;
    model.setEnabled(ctl::cmdConvert, found);
    if (!found)
        model.setCaption(ctl::lblPath, programNotFoundText(route.program.locationKey));
}

void refillStyleList(AppContext& ctx) {
    if (ctx.heveaStylesUnused)
        return;
    // An unreadable directory leaves the lists empty.
    const QStringList hva = styleFileNames(heveaStyleDirectory(ctx));
    ctx.model->setItems(ctl::File1, hva);
    ctx.model->setItems(ctl::List1, styleListFrom(hva));
    ctx.model->setIndex(ctl::List1, -1);
}

void pdfChainControlsVisible(OptionsModel& model, bool visible) {
    model.setVisible(ctl::Label15, visible);
    model.setVisible(ctl::cmbpdfPasses, visible);
}

const char* const kHandlersConnected = "morvaneOptionHandlersConnected";

} // namespace

void tbstrip_Click(AppContext& ctx) {
    OptionsModel& model = *ctx.model;
    const int tab = ctx.selectedTab();

    const int routeTabs = helpTab(ctx.routes) - 1;
    if (tab == helpTab(ctx.routes)) {
        for (int i = 1; i <= routeTabs; ++i)
            model.setVisible(ctl::fraContainer(i), false);
        model.setVisible(ctl::Frame2, false);
        model.setVisible(ctl::fraHelp, true);
        return;
    }
    const Route* route = ctx.selectedRoute();
    if (!route)
        return;

    model.setVisible(ctl::fraHelp, false);
    model.setVisible(ctl::Frame2, true);
    SavedPath(ctx);
    for (int i = 1; i <= routeTabs; ++i)
        model.setVisible(ctl::fraContainer(i), false);

    const QString log = currentLogFile(ctx);
    model.setEnabled(ctl::cmdLog, !log.isEmpty() && QFileInfo::exists(log));

    // Enabling or disabling the option buttons must never change the choice.
    const int browser = model.index(ctl::optIE);
    setRunCaptions(model, route->resultWord(ctx));
    if (route->showCaption)
        model.setCaption(ctl::cmdShow, route->showCaption(ctx));
    // Web pages go to the browser chosen on the tab; DVI and PDF files to
    // their associated program, so the browser choice does not apply.
    const bool webPage = route->shows == ResultKind::WebPage;
    model.setEnabled(ctl::optIE(0), webPage);
    model.setEnabled(ctl::optIE(1), webPage);
    model.setEnabled(ctl::chkClose, !webPage || browser == 0);
    applyProgramFound(ctx, *route, routeCanRun(ctx, *route));
    updateSaveLabel(ctx);
    if (model.index(ctl::optIE) != browser)
        model.setIndex(ctl::optIE, browser);

    model.setVisible(ctl::fraContainer(tab), true);

    if (!ctx.loading)
        upgradeNoticeStep(ctx);
}

void optOutput_Click(AppContext& ctx, int index) {
    static const char* const kinds[] = {"HTML", "text", "info"};
    static const char* const types[] = {"html", "txt", "info"};
    if (index < 0 || index > 2)
        return;
    setRunCaptions(*ctx.model, S(kinds[index]));
    ctx.settings.vars.heveaOutputExtension = S(types[index]);
    // Any order the user had set belongs to the old output kind's styles.
    refillStyleList(ctx);
    SavedPath(ctx);
}

void chkEsponja_Click(AppContext& ctx) {
    if (ctx.model->isChecked(ctl::chkEsponja) && esponjaMissing(ctx))
        ctx.model->setChecked(ctl::chkEsponja, false);
}

void chkVersion_Click(AppContext& ctx) {
    OptionsModel& model = *ctx.model;
    const bool recent = model.isChecked(ctl::chkVersion);
    model.setEnabled(ctl::chkFix, recent);
    model.setEnabled(ctl::chkEsponja, recent);
    if (!recent)
        model.setChecked(ctl::chkFix, false);
    if (esponjaMissing(ctx))
        model.setEnabled(ctl::chkEsponja, false);
    if (!model.isEnabled(ctl::chkEsponja))
        model.setChecked(ctl::chkEsponja, false);
}

void optCode_Click(AppContext& ctx, int index) {
    // hevea.opt is the native-code HeVeA; without it only byte code runs.
    if (index == 1 && !heveaFileExists(ctx, S("hevea.opt")))
        ctx.model->setIndex(ctl::optCode, 0);
}

void chkStyle_Click(AppContext& ctx) {
    OptionsModel& model = *ctx.model;
    const bool on = model.isChecked(ctl::chkStyle);
    for (const ctl::Control name :
         {ctl::List1, ctl::cmdUp, ctl::cmdDown, ctl::Label18, ctl::Label17, ctl::cmdSaveConfig,
          ctl::cmdLoadConfig, ctl::txtExclude})
        model.setEnabled(name, on);
    if (!on)
        model.setIndex(ctl::List1, -1);
}

void chkImages_Click(AppContext& ctx) {
    ctx.model->setEnabled(ctl::txtImages, ctx.model->isChecked(ctl::chkImages));
    composeTex4htCommandLine(ctx);
}

void txtImages_Change(AppContext& ctx) {
    const QString text = ctx.model->text(ctl::txtImages);
    if (text.contains(QLatin1Char('\\'))) {
        QString fixed = text;
        // The window puts the caret at the end when it shows the new text.
        ctx.model->setText(ctl::txtImages, fixed.replace(QLatin1Char('\\'), QLatin1Char('/')));
        return; // the change of the text runs this again and recomposes
    }
    composeTex4htCommandLine(ctx);
}

void chkHtrun_Click(AppContext& ctx) {
    OptionsModel& model = *ctx.model;
    if (model.isChecked(ctl::chkHtrun) && model.isChecked(ctl::chkMake4ht))
        model.setChecked(ctl::chkMake4ht, false);
    if (model.isChecked(ctl::chkHtrun)) {
        if (ctx.settings.vars.htrunS.isEmpty())
            model.setChecked(ctl::chkSWP, false);
        if (ctx.settings.vars.htrunM.isEmpty())
            model.setChecked(ctl::chkSWP, true);
    } else {
        model.setEnabled(ctl::chkSWP, true);
    }
    composeTex4htCommandLine(ctx);
}

// make4ht and htrun are two ways of running TeX4ht; one excludes the other.
void chkMake4ht_Click(AppContext& ctx) {
    OptionsModel& model = *ctx.model;
    const bool make4ht = model.isChecked(ctl::chkMake4ht);
    if (make4ht && model.isChecked(ctl::chkHtrun))
        model.setChecked(ctl::chkHtrun, false); // recomposes through its own handler
    model.setEnabled(ctl::cmbMake4htFormat, make4ht);
    model.setEnabled(ctl::cmbMake4htEngine, make4ht);
    model.setEnabled(ctl::lblMake4htFormat, make4ht);
    model.setEnabled(ctl::lblMake4htEngine, make4ht);
    composeTex4htCommandLine(ctx);
}

// The pandoc tab's format: Run and Show name the new result, and only a web
// page may be a fragment without its head.
void cmbPandocFormat_Click(AppContext& ctx) {
    OptionsModel& model = *ctx.model;
    const PandocFormat format = pandocFormatAt(model.index(ctl::cmbPandocFormat));
    model.setEnabled(ctl::chkPandocStandalone, format == PandocFormat::Html5);
    refreshResultCaptions(ctx);
}

void cmdAdvanced_Click(AppContext& ctx) {
    OptionsModel& model = *ctx.model;
    model.setTag(ctl::chkHtrun, ctx.settings.vars.tex4ht);
    if (ctx.seams.showTex4htAdvanced)
        ctx.seams.showTex4htAdvanced();
    model.setTag(ctl::cmdAdvancedReturning, S("yes"));
    composeTex4htCommandLine(ctx);
    model.setTag(ctl::cmdAdvancedReturning, QString());
}

void cmdInit_Click(AppContext& ctx) {
    if (ctx.seams.showL2hInitEditor)
        ctx.seams.showL2hInitEditor();
}

bool isCommandLineLocked(const OptionsModel& model) {
    return model.tag(ctl::txt3Locked) != S("no");
}

void toggleManualCommandLine(AppContext& ctx) {
    OptionsModel& model = *ctx.model;
    if (isCommandLineLocked(model)) {
        model.setTag(ctl::txt3Locked, S("no"));
        model.setCaption(ctl::lblManual, S("Manual command line:"));
        model.setVisible(ctl::cmbFrags, true);
        if (!model.items(ctl::cmbFrags).isEmpty())
            model.setIndex(ctl::cmbFrags, 0);
    } else {
        model.setTag(ctl::txt3Locked, S("yes"));
        model.setCaption(ctl::lblManual, S("Command line:"));
        model.setVisible(ctl::cmbFrags, false);
        composeTex4htCommandLine(ctx);
    }
}

bool pdfmakegstcIsCurrent(AppContext& ctx) {
    const QString path = ctx.programDir + S("/pdfmakegstc.bat");
    if (!QFileInfo::exists(path)) {
        ctx.model->setCaption(ctl::Label7,
                              S("Unable to find pdfmakegstc.bat in Morvane's directory. ") +
                                  S("You can obtain it from "));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ctx.model->setCaption(ctl::Label7, file.errorString() + QLatin1Char('\n') +
                                               S("Try downloading pdfmakegstc.bat from"));
        return false;
    }
    // The version line counts with either line end.
    const QString text = QString::fromUtf8(file.readAll()).toLower();
    if (text.contains(S(":: version 2\r\n")) || text.contains(S(":: version 2\n")))
        return true;
    ctx.model->setCaption(ctl::Label7,
                          S("You appear to be using an old version of pdfmakegstc.bat. ") +
                              S("Please replace it with a newer version from "));
    return false;
}

void chkSWPGS_Click(AppContext& ctx) {
    OptionsModel& model = *ctx.model;
    if (model.isChecked(ctl::chkSWPGS)) {
        model.setChecked(ctl::chkTexify(1), false);
        model.setCaption(ctl::Label7, S("Use TrueTeX and GhostScript to produce PDF file. "
                                        "Instructions and files obtainable at"));
        model.setVisible(ctl::Label34, true);
        pdfChainControlsVisible(model, pdfmakegstcIsCurrent(ctx));
        model.setVisible(ctl::cmdBat, true);
    } else {
        pdfChainControlsVisible(model, false);
        model.setVisible(ctl::Label34, false);
        model.setVisible(ctl::cmdBat, false);
        model.setCaption(ctl::Label7, S("Conversion uses pdfLaTeX"));
        model.setVisible(ctl::Label7, true);
    }
}

void chkTexify_Click(AppContext& ctx, int index) {
    OptionsModel& model = *ctx.model;
    const ctl::Control box = ctl::chkTexify(index);
    const bool on = model.isChecked(box);
    if (index == 0) {
        model.setCaption(ctl::Label6,
                         on ? S("Texify automatically runs (La)TeX, Makeindex (Texindex) and "
                                "BibTeX as many times as necessary to produce a DVI file with "
                                "sorted indices and all cross-references resolved.")
                            : S("Just uses (La)TeX"));
    } else if (on) {
        model.setChecked(ctl::chkSWPGS, false);
        pdfChainControlsVisible(model, false);
        model.setVisible(ctl::Label34, false);
        model.setCaption(ctl::Label7,
                         S("Texify automatically runs pdf(La)TeX, Makeindex (Texindex) and BibTeX "
                           "as many times as necessary to produce a PDF file with sorted indices "
                           "and all cross-references resolved."));
    } else {
        model.setCaption(ctl::Label7, S("Conversion uses pdfLaTeX"));
    }
    // Only the box of the tab on show decides about Convert: a value read
    // from the settings while another tab is selected must not enable
    // Convert there.
    const Route* route = ctx.selectedRoute();
    if (route && route->programBox && route->programBox == box)
        applyProgramFound(ctx, *route,
                          ctx.settings.paths.programFoundOn(tabOf(ctx.routes, *route)) || !on);
}

void Label32_Click(AppContext& ctx) {
    ctx.seams.prompter->tell(
        S("You may find that anti-virus software prevents LaTeX2HTML operating properly. This is "
          "known to happen with MacAfee and Norton on Windows 98.") +
            S("\n\n") +
            S("Clearly Morvane shouldn't turn anti-virus software off automatically so there is an "
              "option to remind you to turn it off if you wish."),
        S("Anti-Virus Problem"), Icon::Information);
}

void cmdDeleteFileList_Click(AppContext& ctx) {
    const Answer answer =
        ctx.seams.prompter->ask(S("Are you sure you want to delete the history file list?"),
                                S("Confirm delete file list"), Buttons::YesNo, Icon::Question);
    if (answer == Answer::Yes)
        ctx.model->setItems(ctl::cmbTeX, {});
}

void connectOptionHandlers(AppContext& ctx) {
    OptionsModel* model = ctx.model;
    if (model->property(kHandlersConnected).toBool())
        return;
    model->setProperty(kHandlersConnected, true);
    if (!ctx.composeTex4htCommandLine) {
        AppContext* c = &ctx;
        ctx.composeTex4htCommandLine = [c] { composeTex4htCommandLine(*c); };
    }
    if (!ctx.loadDefaultConfig) {
        AppContext* c = &ctx;
        ctx.loadDefaultConfig = [c] { LoadDefaultConfig(*c); };
    }

    using Handler = std::function<void(AppContext&)>;
    static const QHash<ctl::Control, Handler> handlers = {
        {ctl::tbstrip, tbstrip_Click},
        {ctl::optOutput, [](AppContext& c) { optOutput_Click(c, c.model->index(ctl::optOutput)); }},
        {ctl::chkIE, updateCloseEnabled},
        {ctl::optIE, updateCloseEnabled},
        {ctl::chkEsponja, chkEsponja_Click},
        {ctl::chkHacha, SavedPath},
        {ctl::chkVersion, chkVersion_Click},
        {ctl::optCode, [](AppContext& c) { optCode_Click(c, c.model->index(ctl::optCode)); }},
        {ctl::chkStyle, chkStyle_Click},
        {ctl::chkImages, chkImages_Click},
        {ctl::txtImages, txtImages_Change},
        {ctl::chkHtrun, chkHtrun_Click},
        {ctl::chkSWP, composeTex4htCommandLine},
        {ctl::chkMake4ht, chkMake4ht_Click},
        {ctl::cmbMake4htFormat, composeTex4htCommandLine},
        {ctl::cmbMake4htEngine, composeTex4htCommandLine},
        {ctl::cmbPasses, composeTex4htCommandLine},
        {ctl::cmbPandocFormat, cmbPandocFormat_Click},
        {ctl::chkTexify(0), [](AppContext& c) { chkTexify_Click(c, 0); }},
        {ctl::chkTexify(1), [](AppContext& c) { chkTexify_Click(c, 1); }},
        {ctl::chkSWPGS, chkSWPGS_Click},
        {ctl::chkMulti, chkMulti_Click},
        // LaTeXML's format names the result and the Run/Show captions.
        {ctl::cmbLatexmlFormat, refreshResultCaptions},
        // The file box: refresh the output place and the TeX4ht command line.
        {ctl::cmbTeX,
         [](AppContext& c) {
             SavedPath(c);
             composeTex4htCommandLine(c);
         }},
    };
    AppContext* context = &ctx;
    QObject::connect(model, &OptionsModel::changed, model,
                     [context](ctl::Control name, OptionsModel::Aspect aspect) {
                         if (aspect != Aspect::Value)
                             return;
                         const auto it = handlers.constFind(name);
                         if (it != handlers.constEnd())
                             (*it)(*context);
                     });
}

} // namespace morvane
