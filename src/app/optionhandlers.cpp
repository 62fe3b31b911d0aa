#include "app/optionhandlers.h"

#include "app/configcommands.h"
#include "app/startup.h"
#include "pipeline/appcontext.h"
#include "pipeline/commandrunner.h"
#include "pipeline/convertcommand.h"
#include "pipeline/resultdisplay.h"
#include "pipeline/savedpath.h"
#include "platform/prompter.h"
#include "settings/hevealibrary.h"
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
    model.setCaption(S("chkIE"), S("&Run ") + kind + S(" file"));
    model.setCaption(S("chkClose"), S("Close &after running ") + kind + S(" file"));
    model.setCaption(S("cmdShow"), S("Sh&ow ") + kind + S(" file"));
}

bool heveaFileExists(const AppContext& ctx, const QString& name) {
    return QFileInfo::exists(ctx.settings.vars.hevea + QLatin1Char('/') + name);
}

// The HeVeA location is set and has no esponja: the tidy step cannot run.
bool esponjaMissing(const AppContext& ctx) {
    return !ctx.settings.vars.hevea.isEmpty() && !heveaFileExists(ctx, S("esponja"));
}

// Convert needs the route's program; without it lblPath names its location key.
void applyProgramFound(AppContext& ctx, const Route& route, bool found) {
    OptionsModel& model = *ctx.model;
    model.setEnabled(S("cmdConvert"), found);
    if (!found)
        model.setCaption(S("lblPath"), QLatin1String(route.program.locationKey) + S(" Not Found"));
}

void refillStyleList(AppContext& ctx) {
    // An unreadable directory leaves the lists empty.
    const QStringList hva = styleFileNames(styleDirectory(ctx.settings, ctx.programDir));
    ctx.model->setItems(S("File1"), hva);
    ctx.model->setItems(S("List1"), styleListFrom(hva));
    ctx.model->setIndex(S("List1"), -1);
}

void pdfChainControlsVisible(OptionsModel& model, bool visible) {
    model.setVisible(S("Label15"), visible);
    model.setVisible(S("cmbpdfPasses"), visible);
}

const char* const kHandlersConnected = "morvaneOptionHandlersConnected";

} // namespace

void tbstrip_Click(AppContext& ctx) {
    OptionsModel& model = *ctx.model;
    const int tab = ctx.selectedTab();

    const int routeTabs = helpTab(ctx.routes) - 1;
    if (tab == helpTab(ctx.routes)) {
        for (int i = 1; i <= routeTabs; ++i)
            model.setVisible(OptionsModel::arrayElement(S("fraContainer"), i), false);
        model.setVisible(S("Frame2"), false);
        model.setVisible(S("fraHelp"), true);
        return;
    }
    const Route* route = ctx.selectedRoute();
    if (!route)
        return;

    model.setVisible(S("fraHelp"), false);
    model.setVisible(S("Frame2"), true);
    SavedPath(ctx);
    for (int i = 1; i <= routeTabs; ++i)
        model.setVisible(OptionsModel::arrayElement(S("fraContainer"), i), false);

    const QString log = currentLogFile(ctx);
    model.setEnabled(S("cmdLog"), !log.isEmpty() && QFileInfo::exists(log));

    // Enabling or disabling the option buttons must never change the choice.
    const int browser = model.index(S("optIE"));
    setRunCaptions(model, route->resultWord(ctx));
    if (route->showCaption)
        model.setCaption(S("cmdShow"), route->showCaption(ctx));
    // Web pages go to the browser chosen on the tab; DVI and PDF files to
    // their associated program, so the browser choice does not apply.
    const bool webPage = route->shows == ResultKind::WebPage;
    model.setEnabled(S("optIE_0"), webPage);
    model.setEnabled(S("optIE_1"), webPage);
    model.setEnabled(S("chkClose"), !webPage || browser == 0);
    applyProgramFound(ctx, *route, routeCanRun(ctx, *route));
    updateSaveLabel(ctx);
    if (model.index(S("optIE")) != browser)
        model.setIndex(S("optIE"), browser);

    model.setVisible(OptionsModel::arrayElement(S("fraContainer"), tab), true);

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
    if (ctx.model->isChecked(S("chkEsponja")) && esponjaMissing(ctx))
        ctx.model->setChecked(S("chkEsponja"), false);
}

void chkVersion_Click(AppContext& ctx) {
    OptionsModel& model = *ctx.model;
    const bool recent = model.isChecked(S("chkVersion"));
    model.setEnabled(S("chkFix"), recent);
    model.setEnabled(S("chkEsponja"), recent);
    if (!recent)
        model.setChecked(S("chkFix"), false);
    if (esponjaMissing(ctx))
        model.setEnabled(S("chkEsponja"), false);
    if (!model.isEnabled(S("chkEsponja")))
        model.setChecked(S("chkEsponja"), false);
}

void optCode_Click(AppContext& ctx, int index) {
    // hevea.opt is the native-code HeVeA; without it only byte code runs.
    if (index == 1 && !heveaFileExists(ctx, S("hevea.opt")))
        ctx.model->setIndex(S("optCode"), 0);
}

void chkStyle_Click(AppContext& ctx) {
    OptionsModel& model = *ctx.model;
    const bool on = model.isChecked(S("chkStyle"));
    for (const char* name : {"List1", "cmdUp", "cmdDown", "Label18", "Label17", "cmdSaveConfig",
                             "cmdLoadConfig", "txtExclude"})
        model.setEnabled(S(name), on);
    if (!on)
        model.setIndex(S("List1"), -1);
}

void chkImages_Click(AppContext& ctx) {
    ctx.model->setEnabled(S("txtImages"), ctx.model->isChecked(S("chkImages")));
    composeTex4htCommandLine(ctx);
}

void txtImages_Change(AppContext& ctx) {
    const QString text = ctx.model->text(S("txtImages"));
    if (text.contains(QLatin1Char('\\'))) {
        QString fixed = text;
        // The window puts the caret at the end when it shows the new text.
        ctx.model->setText(S("txtImages"), fixed.replace(QLatin1Char('\\'), QLatin1Char('/')));
        return; // the change of the text runs this again and recomposes
    }
    composeTex4htCommandLine(ctx);
}

void chkHtrun_Click(AppContext& ctx) {
    OptionsModel& model = *ctx.model;
    if (model.isChecked(S("chkHtrun")) && model.isChecked(S("chkMake4ht")))
        model.setChecked(S("chkMake4ht"), false);
    if (model.isChecked(S("chkHtrun"))) {
        if (ctx.settings.vars.htrunS.isEmpty())
            model.setChecked(S("chkSWP"), false);
        if (ctx.settings.vars.htrunM.isEmpty())
            model.setChecked(S("chkSWP"), true);
    } else {
        model.setEnabled(S("chkSWP"), true);
    }
    composeTex4htCommandLine(ctx);
}

// make4ht and htrun are two ways of running TeX4ht; one excludes the other.
void chkMake4ht_Click(AppContext& ctx) {
    OptionsModel& model = *ctx.model;
    const bool make4ht = model.isChecked(S("chkMake4ht"));
    if (make4ht && model.isChecked(S("chkHtrun")))
        model.setChecked(S("chkHtrun"), false); // recomposes through its own handler
    model.setEnabled(S("cmbMake4htFormat"), make4ht);
    model.setEnabled(S("cmbMake4htEngine"), make4ht);
    model.setEnabled(S("lblMake4htFormat"), make4ht);
    model.setEnabled(S("lblMake4htEngine"), make4ht);
    composeTex4htCommandLine(ctx);
}

void cmdAdvanced_Click(AppContext& ctx) {
    OptionsModel& model = *ctx.model;
    model.setTag(S("chkHtrun"), ctx.settings.vars.tex4ht);
    if (ctx.seams.showTex4htAdvanced)
        ctx.seams.showTex4htAdvanced();
    model.setTag(S("cmdAdvanced.returning"), S("yes"));
    composeTex4htCommandLine(ctx);
    model.setTag(S("cmdAdvanced.returning"), QString());
}

void cmdInit_Click(AppContext& ctx) {
    if (ctx.seams.showL2hInitEditor)
        ctx.seams.showL2hInitEditor();
}

bool isCommandLineLocked(const OptionsModel& model) {
    return model.tag(S("txt3Locked")) != S("no");
}

void toggleManualCommandLine(AppContext& ctx) {
    OptionsModel& model = *ctx.model;
    if (isCommandLineLocked(model)) {
        model.setTag(S("txt3Locked"), S("no"));
        model.setCaption(S("lblManual"), S("Manual command line:"));
        model.setVisible(S("cmbFrags"), true);
        if (!model.items(S("cmbFrags")).isEmpty())
            model.setIndex(S("cmbFrags"), 0);
    } else {
        model.setTag(S("txt3Locked"), S("yes"));
        model.setCaption(S("lblManual"), S("Command line:"));
        model.setVisible(S("cmbFrags"), false);
        composeTex4htCommandLine(ctx);
    }
}

bool pdfmakegstcIsCurrent(AppContext& ctx) {
    const QString path = ctx.programDir + S("/pdfmakegstc.bat");
    if (!QFileInfo::exists(path)) {
        ctx.model->setCaption(S("Label7"),
                              S("Unable to find pdfmakegstc.bat in Morvane's directory. ") +
                                  S("You can obtain it from "));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ctx.model->setCaption(S("Label7"), file.errorString() + QLatin1Char('\n') +
                                               S("Try downloading pdfmakegstc.bat from"));
        return false;
    }
    // The version line counts with either line end.
    const QString text = QString::fromUtf8(file.readAll()).toLower();
    if (text.contains(S(":: version 2\r\n")) || text.contains(S(":: version 2\n")))
        return true;
    ctx.model->setCaption(S("Label7"),
                          S("You appear to be using an old version of pdfmakegstc.bat. ") +
                              S("Please replace it with a newer version from "));
    return false;
}

void chkSWPGS_Click(AppContext& ctx) {
    OptionsModel& model = *ctx.model;
    if (model.isChecked(S("chkSWPGS"))) {
        model.setChecked(S("chkTexify_1"), false);
        model.setCaption(S("Label7"), S("Use TrueTeX and GhostScript to produce PDF file. "
                                        "Instructions and files obtainable at"));
        model.setVisible(S("Label34"), true);
        pdfChainControlsVisible(model, pdfmakegstcIsCurrent(ctx));
        model.setVisible(S("cmdBat"), true);
    } else {
        pdfChainControlsVisible(model, false);
        model.setVisible(S("Label34"), false);
        model.setVisible(S("cmdBat"), false);
        model.setCaption(S("Label7"), S("Conversion uses pdfLaTeX"));
        model.setVisible(S("Label7"), true);
    }
}

void chkTexify_Click(AppContext& ctx, int index) {
    OptionsModel& model = *ctx.model;
    const QString box = OptionsModel::arrayElement(S("chkTexify"), index);
    const bool on = model.isChecked(box);
    if (index == 0) {
        model.setCaption(S("Label6"),
                         on ? S("Texify automatically runs (La)TeX, Makeindex (Texindex) and "
                                "BibTeX as many times as necessary to produce a DVI file with "
                                "sorted indices and all cross-references resolved.")
                            : S("Just uses (La)TeX"));
    } else if (on) {
        model.setChecked(S("chkSWPGS"), false);
        pdfChainControlsVisible(model, false);
        model.setVisible(S("Label34"), false);
        model.setCaption(S("Label7"),
                         S("Texify automatically runs pdf(La)TeX, Makeindex (Texindex) and BibTeX "
                           "as many times as necessary to produce a PDF file with sorted indices "
                           "and all cross-references resolved."));
    } else {
        model.setCaption(S("Label7"), S("Conversion uses pdfLaTeX"));
    }
    // Only the box of the tab on show decides about Convert: a value read
    // from the settings while another tab is selected must not enable
    // Convert there.
    const Route* route = ctx.selectedRoute();
    if (route && route->programBox && QString::fromLatin1(route->programBox) == box)
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
        ctx.model->setItems(S("cmbTeX"), {});
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
    static const QHash<QString, Handler> handlers = {
        {S("tbstrip"), tbstrip_Click},
        {S("optOutput"), [](AppContext& c) { optOutput_Click(c, c.model->index(S("optOutput"))); }},
        {S("chkIE"), updateCloseEnabled},
        {S("optIE"), updateCloseEnabled},
        {S("chkEsponja"), chkEsponja_Click},
        {S("chkHacha"), SavedPath},
        {S("chkVersion"), chkVersion_Click},
        {S("optCode"), [](AppContext& c) { optCode_Click(c, c.model->index(S("optCode"))); }},
        {S("chkStyle"), chkStyle_Click},
        {S("chkImages"), chkImages_Click},
        {S("txtImages"), txtImages_Change},
        {S("chkHtrun"), chkHtrun_Click},
        {S("chkSWP"), composeTex4htCommandLine},
        {S("chkMake4ht"), chkMake4ht_Click},
        {S("cmbMake4htFormat"), composeTex4htCommandLine},
        {S("cmbMake4htEngine"), composeTex4htCommandLine},
        {S("cmbPasses"), composeTex4htCommandLine},
        {S("chkTexify_0"), [](AppContext& c) { chkTexify_Click(c, 0); }},
        {S("chkTexify_1"), [](AppContext& c) { chkTexify_Click(c, 1); }},
        {S("chkSWPGS"), chkSWPGS_Click},
        {S("chkMulti"), chkMulti_Click},
        // The file box: refresh the output place and the TeX4ht command line.
        {S("cmbTeX"),
         [](AppContext& c) {
             SavedPath(c);
             composeTex4htCommandLine(c);
         }},
    };
    AppContext* context = &ctx;
    QObject::connect(model, &OptionsModel::changed, model,
                     [context](const QString& name, OptionsModel::Aspect aspect) {
                         if (aspect != Aspect::Value)
                             return;
                         const auto it = handlers.constFind(name);
                         if (it != handlers.constEnd())
                             (*it)(*context);
                     });
}

} // namespace morvane
