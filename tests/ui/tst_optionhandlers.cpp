#include "app/optionhandlers.h"
#include "drivers/hevea.h"
#include "pipeline/appcontext.h"
#include "platform/prompter.h"
#include "settings/optionsmodel.h"
#include "support/controlbyname.h"
#include "support/doubles.h"
#include "support/testhome.h"
#include "support/testmain.h"

#include <QTest>
#include <memory>

using namespace morvane;

namespace {

const QString kTexifyDvi =
    QStringLiteral("Texify automatically runs (La)TeX, Makeindex (Texindex) and BibTeX as many "
                   "times as necessary to produce a DVI file with sorted indices and all "
                   "cross-references resolved.");
const QString kTexifyPdf =
    QStringLiteral("Texify automatically runs pdf(La)TeX, Makeindex (Texindex) and BibTeX as many "
                   "times as necessary to produce a PDF file with sorted indices and all "
                   "cross-references resolved.");
const QString kChain = QStringLiteral("Use TrueTeX and GhostScript to produce PDF file. "
                                      "Instructions and files obtainable at");

// A context with a model, a scripted prompter and a temporary program
// directory; every converter program is found unless a test says otherwise.
struct Fixture {
    test::TestHome home{false};
    OptionsModel model;
    ScriptedPrompter prompter;
    AppContext ctx;

    Fixture() {
        ctx.programDir = home.path();
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        for (int i = 1; i <= 6; ++i)
            ctx.settings.paths.setProgramFound(i, true);
        connectOptionHandlers(ctx);
    }
    void selectTab(int tab) { model.setIndex(ctl::tbstrip, tab); }
};

} // namespace

class TestOptionHandlers : public QObject {
    Q_OBJECT
private slots:
    void tabChangeSetsCaptionsAndButtons_data();
    void tabChangeSetsCaptionsAndButtons();
    void tabChangeDisablesConvertWhenProgramMissing_data();
    void tabChangeDisablesConvertWhenProgramMissing();
    void tabChangeShowsOnlyTheTabsFrame();
    void helpTabHidesSharedFrameAndBackShowsIt();
    void browserChoiceKeptAcrossDviTab_data();
    void browserChoiceKeptAcrossDviTab();
    void saveLabelsNameTheOutputRoots();
    void upgradeNoticeOnceAndNotWhileLoading();
    void connectingTwiceReactsOnce();

    void outputKindSetsCaptionsAndExtension_data();
    void outputKindSetsCaptionsAndExtension();
    void outputKindRefillsStyleList();
    void extendWords_data();
    void extendWords();

    void versionRules_data();
    void versionRules();
    void esponjaCannotBeTickedWithoutProgram();
    void nativeCodeNeedsHeveaOpt();
    void styleBoxEnablesStyleControls();

    void closeEnabledOnlyForExternalBrowserAndRun_data();
    void closeEnabledOnlyForExternalBrowserAndRun();

    void imagesBoxEnablesImagesName();
    void backslashInImagesNameBecomesSlash_data();
    void backslashInImagesNameBecomesSlash();
    void htrunChoosesScientificWorkplace_data();
    void htrunChoosesScientificWorkplace();
    void manualCommandLineToggles();

    void texifyLabelOnDviTab();
    void chainAndPdfTexifyExcludeEachOther();
    void chainShowsPassesOnlyWithCurrentBatchFile_data();
    void chainShowsPassesOnlyWithCurrentBatchFile();
    void texifyBoxDecidesConvertOnItsTab();

    void antiVirusInformation();
    void deleteFileListAsksFirst_data();
    void deleteFileListAsksFirst();
};

void TestOptionHandlers::tabChangeSetsCaptionsAndButtons_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("outputType");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("browserChoiceEnabled");

    QTest::newRow("HeVeA html") << 1 << "html"
                                << "HTML" << true;
    QTest::newRow("HeVeA text") << 1 << "txt"
                                << "text" << true;
    QTest::newRow("HeVeA info") << 1 << "info"
                                << "info" << true;
    QTest::newRow("TtH") << 2 << "txt"
                         << "HTML" << true;
    QTest::newRow("TeX4ht") << 3 << "html"
                            << "HTML" << true;
    QTest::newRow("LaTeX2HTML") << 4 << "html"
                                << "HTML" << true;
    QTest::newRow("DVI") << 5 << "html"
                         << "DVI" << false;
    QTest::newRow("PDF") << 6 << "html"
                         << "PDF" << false;
}

void TestOptionHandlers::tabChangeSetsCaptionsAndButtons() {
    QFETCH(int, tab);
    QFETCH(QString, outputType);
    QFETCH(QString, kind);
    QFETCH(bool, browserChoiceEnabled);
    Fixture f;
    f.ctx.settings.vars.upgradeNoticeShown = true;
    f.ctx.settings.vars.heveaOutputExtension = outputType;
    f.selectTab(tab);

    QCOMPARE(f.model.caption(ctl::chkIE), "&Run " + kind + " file");
    QCOMPARE(f.model.caption(ctl::chkClose), "Close &after running " + kind + " file");
    QCOMPARE(f.model.caption(ctl::cmdShow), "Sh&ow " + kind + " file");
    QCOMPARE(f.model.isEnabled(ctl::optIE(0)), browserChoiceEnabled);
    QCOMPARE(f.model.isEnabled(ctl::optIE(1)), browserChoiceEnabled);
    QVERIFY(f.model.isEnabled(ctl::cmdConvert));
    // With the external browser chosen chkClose is enabled on every tab.
    QVERIFY(f.model.isEnabled(ctl::chkClose));
    QVERIFY(f.prompter.prompts().isEmpty());
}

void TestOptionHandlers::tabChangeDisablesConvertWhenProgramMissing_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<bool>("texifyTicked");
    QTest::addColumn<QString>("pathLabel"); // empty: Convert stays enabled

    QTest::newRow("HeVeA missing") << 1 << false << "Hevea Not Found\nSet its folder in Help, Program Locations";
    QTest::newRow("TtH missing") << 2 << false << "Tth Not Found\nSet its folder in Help, Program Locations";
    QTest::newRow("TeX4ht missing") << 3 << false << "Tex4ht Not Found\nSet its folder in Help, Program Locations";
    QTest::newRow("LaTeX2HTML missing") << 4 << false << "L2h Not Found\nSet its folder in Help, Program Locations";
    QTest::newRow("DVI with texify") << 5 << true << "Texify Not Found\nSet its folder in Help, Program Locations";
    QTest::newRow("DVI with latex") << 5 << false << "";
    QTest::newRow("PDF with texify") << 6 << true << "Texify Not Found\nSet its folder in Help, Program Locations";
    QTest::newRow("PDF with pdflatex") << 6 << false << "";
}

void TestOptionHandlers::tabChangeDisablesConvertWhenProgramMissing() {
    QFETCH(int, tab);
    QFETCH(bool, texifyTicked);
    QFETCH(QString, pathLabel);
    Fixture f;
    f.ctx.settings.vars.upgradeNoticeShown = true;
    f.ctx.settings.paths.setProgramFound(tab, false);
    f.model.setChecked(ctl::chkTexify(tab == 6 ? 1 : 0), texifyTicked);
    f.selectTab(tab);

    QCOMPARE(f.model.isEnabled(ctl::cmdConvert), pathLabel.isEmpty());
    if (!pathLabel.isEmpty())
        QCOMPARE(f.model.caption(ctl::lblPath), pathLabel);
    else
        QVERIFY(!f.model.caption(ctl::lblPath).contains(" Not Found"));

    // A tab whose program is there enables Convert again.
    f.selectTab(tab == 1 ? 2 : 1);
    QVERIFY(f.model.isEnabled(ctl::cmdConvert));
}

void TestOptionHandlers::tabChangeShowsOnlyTheTabsFrame() {
    Fixture f;
    f.ctx.settings.vars.upgradeNoticeShown = true;
    for (int tab = 1; tab <= 6; ++tab) {
        f.selectTab(tab);
        for (int i = 1; i <= 6; ++i)
            QCOMPARE(f.model.isVisible(ctl::fraContainer(i)), i == tab);
        QVERIFY(!f.model.isVisible(ctl::fraHelp));
        QVERIFY(f.model.isVisible(ctl::Frame2));
    }
}

void TestOptionHandlers::helpTabHidesSharedFrameAndBackShowsIt() {
    Fixture f;
    f.selectTab(2);
    f.selectTab(TabHelp);
    QVERIFY(!f.model.isVisible(ctl::Frame2));
    QVERIFY(f.model.isVisible(ctl::fraHelp));
    for (int i = 1; i < TabHelp; ++i)
        QVERIFY(!f.model.isVisible(ctl::fraContainer(i)));

    f.selectTab(5);
    QVERIFY(f.model.isVisible(ctl::Frame2));
    QVERIFY(!f.model.isVisible(ctl::fraHelp));
    QVERIFY(f.model.isVisible(ctl::fraContainer(5)));
}

void TestOptionHandlers::browserChoiceKeptAcrossDviTab_data() {
    QTest::addColumn<int>("browser");
    QTest::newRow("external browser") << 0;
    QTest::newRow("own browser") << 1;
}

void TestOptionHandlers::browserChoiceKeptAcrossDviTab() {
    QFETCH(int, browser);
    Fixture f;
    f.selectTab(1);
    f.model.setIndex(ctl::optIE, browser);
    f.selectTab(5);
    QVERIFY(!f.model.isEnabled(ctl::optIE(0)));
    QCOMPARE(f.model.index(ctl::optIE), browser);
    f.selectTab(1);
    QCOMPARE(f.model.index(ctl::optIE), browser);
    QVERIFY(f.model.isEnabled(ctl::optIE(0)));
    QCOMPARE(f.model.isEnabled(ctl::chkClose), browser == 0);
}

void TestOptionHandlers::saveLabelsNameTheOutputRoots() {
    Fixture f;
    f.ctx.settings.vars.upgradeNoticeShown = true;
    f.ctx.settings.vars.tex4htSaveTo = "/home/u/tex4ht out";
    f.ctx.settings.vars.l2hSaveTo = "/home/u/l2h";
    f.selectTab(3);
    QCOMPARE(f.model.caption(ctl::lblSaveTo),
             "Files saved to a subdirectory of /home/u/tex4ht out");
    f.selectTab(4);
    QCOMPARE(f.model.caption(ctl::lblSavelatex2), "Files saved to a subdirectory of /home/u/l2h");
}

void TestOptionHandlers::upgradeNoticeOnceAndNotWhileLoading() {
    Fixture f;
    f.ctx.loading = true;
    f.selectTab(3);
    QVERIFY(f.prompter.prompts().isEmpty());
    QVERIFY(!f.ctx.settings.vars.upgradeNoticeShown);

    f.ctx.loading = false;
    f.selectTab(1);
    QVERIFY(f.prompter.prompts().isEmpty());
    f.selectTab(3);
    QCOMPARE(f.prompter.prompts().size(), 1);
    const Prompt notice = f.prompter.prompts().first();
    QCOMPARE(notice.title, QStringLiteral("Updated Version"));
    QCOMPARE(notice.icon, Icon::Exclamation);
    QVERIFY(notice.text.startsWith("Morvane has been updated to version "));
    QVERIFY(notice.text.endsWith("or change it by pressing the Advanced button."));
    QVERIFY(f.ctx.settings.vars.upgradeNoticeShown);

    f.selectTab(1);
    f.selectTab(3);
    QCOMPARE(f.prompter.prompts().size(), 1);
}

void TestOptionHandlers::connectingTwiceReactsOnce() {
    Fixture f;
    connectOptionHandlers(f.ctx);
    // Ticking "Allow multiple conversions" explains the mode once.
    f.model.setChecked(ctl::chkMulti, true);
    QCOMPARE(f.prompter.prompts().size(), 1);
    // The reload's seam recomposes the TeX4ht command line.
    QVERIFY(bool(f.ctx.composeTex4htCommandLine));
}

void TestOptionHandlers::outputKindSetsCaptionsAndExtension_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("type");
    QTest::newRow("HTML") << 0 << "HTML"
                          << "html";
    QTest::newRow("text") << 1 << "text"
                          << "txt";
    QTest::newRow("info") << 2 << "info"
                          << "info";
}

void TestOptionHandlers::outputKindSetsCaptionsAndExtension() {
    QFETCH(int, index);
    QFETCH(QString, kind);
    QFETCH(QString, type);
    Fixture f;
    f.ctx.settings.vars.heveaOutputExtension = "unset";
    f.model.setIndex(ctl::optOutput, 3); // so that every row is a change
    f.model.setIndex(ctl::optOutput, index);
    QCOMPARE(f.model.caption(ctl::chkIE), "&Run " + kind + " file");
    QCOMPARE(f.model.caption(ctl::chkClose), "Close &after running " + kind + " file");
    QCOMPARE(f.model.caption(ctl::cmdShow), "Sh&ow " + kind + " file");
    QCOMPARE(f.ctx.settings.vars.heveaOutputExtension, type);
}

void TestOptionHandlers::outputKindRefillsStyleList() {
    Fixture f;
    // HeVeA not found: the style files come from the program directory.
    f.ctx.settings.paths.setProgramFound(1, false);
    for (const char* name : {"b.hva", "a.hva", "hevea.hva", "copy of hevea.hva", "notes.txt"})
        f.home.write(name, "");
    f.model.setItems(ctl::List1, {"old.hva"});
    f.model.setIndex(ctl::optOutput, 1);

    const QString separator(26, QLatin1Char('-'));
    QCOMPARE(f.model.items(ctl::List1), QStringList({separator, "a.hva", "b.hva"}));

    // Without style files the list stays empty, without a separator.
    for (const char* name : {"b.hva", "a.hva"})
        QFile::remove(f.home.file(name));
    f.model.setIndex(ctl::optOutput, 2);
    QVERIFY(f.model.items(ctl::List1).isEmpty());
}

void TestOptionHandlers::extendWords_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("flag");
    QTest::addColumn<QString>("word");
    QTest::newRow("html upper") << "html"
                                << "U"
                                << "HTML";
    QTest::newRow("html lower") << "html"
                                << ""
                                << "html";
    QTest::newRow("txt upper") << "txt"
                               << "U"
                               << "text";
    QTest::newRow("txt lower") << "txt"
                               << ""
                               << "text";
    QTest::newRow("info") << "info"
                          << "U"
                          << "info";
}

void TestOptionHandlers::extendWords() {
    QFETCH(QString, type);
    QFETCH(QString, flag);
    QFETCH(QString, word);
    QCOMPARE(Extend(type, flag), word);
}

void TestOptionHandlers::versionRules_data() {
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<bool>("esponjaPresent");
    QTest::addColumn<bool>("fixEnabled");
    QTest::addColumn<bool>("fixKept");
    QTest::addColumn<bool>("esponjaEnabled");
    QTest::addColumn<bool>("esponjaKept");

    QTest::newRow("recent with esponja") << true << true << true << true << true << true;
    QTest::newRow("recent without esponja") << true << false << true << true << false << false;
    QTest::newRow("old with esponja") << false << true << false << false << false << false;
    QTest::newRow("old without esponja") << false << false << false << false << false << false;
}

void TestOptionHandlers::versionRules() {
    QFETCH(bool, ticked);
    QFETCH(bool, esponjaPresent);
    QFETCH(bool, fixEnabled);
    QFETCH(bool, fixKept);
    QFETCH(bool, esponjaEnabled);
    QFETCH(bool, esponjaKept);
    Fixture f;
    f.ctx.settings.vars.hevea = f.home.path() + "/bin";
    if (esponjaPresent)
        f.home.write("bin/esponja", "");
    else
        f.home.write("bin/hevea", "");
    f.model.setChecked(ctl::chkVersion, !ticked);
    // Ticked before the version rule runs; esponja's own rule is checked
    // separately.
    f.model.setChecked(ctl::chkFix, true);
    if (esponjaPresent)
        f.model.setChecked(ctl::chkEsponja, true);
    f.model.setChecked(ctl::chkVersion, ticked);

    QCOMPARE(f.model.isEnabled(ctl::chkFix), fixEnabled);
    QCOMPARE(f.model.isChecked(ctl::chkFix), fixKept);
    QCOMPARE(f.model.isEnabled(ctl::chkEsponja), esponjaEnabled);
    QCOMPARE(f.model.isChecked(ctl::chkEsponja), esponjaKept);
}

void TestOptionHandlers::esponjaCannotBeTickedWithoutProgram() {
    Fixture f;
    f.ctx.settings.vars.hevea = f.home.path();
    f.model.setChecked(ctl::chkEsponja, true);
    QVERIFY(!f.model.isChecked(ctl::chkEsponja));
    f.home.write("esponja", "");
    f.model.setChecked(ctl::chkEsponja, true);
    QVERIFY(f.model.isChecked(ctl::chkEsponja));
    // No HeVeA location: nothing to check against.
    f.ctx.settings.vars.hevea.clear();
    f.model.setChecked(ctl::chkEsponja, false);
    f.model.setChecked(ctl::chkEsponja, true);
    QVERIFY(f.model.isChecked(ctl::chkEsponja));
}

void TestOptionHandlers::nativeCodeNeedsHeveaOpt() {
    Fixture f;
    f.ctx.settings.vars.hevea = f.home.path();
    f.model.setIndex(ctl::optCode, 1);
    QCOMPARE(f.model.index(ctl::optCode), 0);
    f.home.write("hevea.opt", "");
    f.model.setIndex(ctl::optCode, 1);
    QCOMPARE(f.model.index(ctl::optCode), 1);
}

void TestOptionHandlers::styleBoxEnablesStyleControls() {
    Fixture f;
    const QStringList group = {"List1",   "cmdUp",         "cmdDown",       "Label18",
                               "Label17", "cmdSaveConfig", "cmdLoadConfig", "txtExclude"};
    f.model.setIndex(ctl::List1, 2);
    f.model.setChecked(ctl::chkStyle, true);
    for (const QString& name : group)
        QVERIFY2(f.model.isEnabled(test::control(name)), qPrintable(name));
    QCOMPARE(f.model.index(ctl::List1), 2);
    f.model.setChecked(ctl::chkStyle, false);
    for (const QString& name : group)
        QVERIFY2(!f.model.isEnabled(test::control(name)), qPrintable(name));
    QCOMPARE(f.model.index(ctl::List1), -1);
}

void TestOptionHandlers::closeEnabledOnlyForExternalBrowserAndRun_data() {
    QTest::addColumn<bool>("run");
    QTest::addColumn<int>("browser");
    QTest::addColumn<bool>("closeEnabled");
    QTest::newRow("run, external") << true << 0 << true;
    QTest::newRow("run, own") << true << 1 << false;
    QTest::newRow("no run, external") << false << 0 << false;
    QTest::newRow("no run, own") << false << 1 << false;
}

void TestOptionHandlers::closeEnabledOnlyForExternalBrowserAndRun() {
    QFETCH(bool, run);
    QFETCH(int, browser);
    QFETCH(bool, closeEnabled);
    Fixture f;
    f.model.setIndex(ctl::optIE, browser == 0 ? 1 : 0);
    f.model.setChecked(ctl::chkIE, !run);
    f.model.setIndex(ctl::optIE, browser);
    f.model.setChecked(ctl::chkIE, run);
    QCOMPARE(f.model.isEnabled(ctl::chkClose), closeEnabled);
}

void TestOptionHandlers::imagesBoxEnablesImagesName() {
    Fixture f;
    f.model.setChecked(ctl::chkImages, true);
    QVERIFY(f.model.isEnabled(ctl::txtImages));
    f.model.setChecked(ctl::chkImages, false);
    QVERIFY(!f.model.isEnabled(ctl::txtImages));
}

void TestOptionHandlers::backslashInImagesNameBecomesSlash_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("at the end") << "images\\"
                                << "images/";
    QTest::newRow("in the middle") << "a\\b"
                                   << "a/b";
    QTest::newRow("several") << "\\a\\\\b"
                             << "/a//b";
    QTest::newRow("none") << "pics"
                          << "pics";
}

void TestOptionHandlers::backslashInImagesNameBecomesSlash() {
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    Fixture f;
    f.model.setText(ctl::txtImages, typed);
    QCOMPARE(f.model.text(ctl::txtImages), kept);
}

void TestOptionHandlers::htrunChoosesScientificWorkplace_data() {
    QTest::addColumn<QString>("htrunM");
    QTest::addColumn<QString>("htrunS");
    QTest::addColumn<bool>("swpBefore");
    QTest::addColumn<bool>("swpAfter");
    QTest::newRow("both set keep the choice") << "/m"
                                              << "/s" << true << true;
    QTest::newRow("no SWP htrun clears") << "/m"
                                         << "" << true << false;
    QTest::newRow("no MiKTeX htrun ticks") << ""
                                           << "/s" << false << true;
    QTest::newRow("none: MiKTeX rule last") << ""
                                            << "" << false << true;
}

void TestOptionHandlers::htrunChoosesScientificWorkplace() {
    QFETCH(QString, htrunM);
    QFETCH(QString, htrunS);
    QFETCH(bool, swpBefore);
    QFETCH(bool, swpAfter);
    Fixture f;
    f.ctx.settings.vars.htrunM = htrunM;
    f.ctx.settings.vars.htrunS = htrunS;
    f.model.setChecked(ctl::chkSWP, swpBefore);
    f.model.setEnabled(ctl::chkSWP, false);
    f.model.setChecked(ctl::chkHtrun, true);
    QCOMPARE(f.model.isChecked(ctl::chkSWP), swpAfter);
    f.model.setChecked(ctl::chkHtrun, false);
    QVERIFY(f.model.isEnabled(ctl::chkSWP));
}

void TestOptionHandlers::manualCommandLineToggles() {
    Fixture f;
    f.model.setText(ctl::txt3, "htlatex paper");
    f.model.setItems(ctl::cmbFrags, {"-- Select a code fragment --", "\\HCode{x}"});
    f.model.setIndex(ctl::cmbFrags, 1);
    f.model.setVisible(ctl::cmbFrags, false);
    QVERIFY(isCommandLineLocked(f.model));

    toggleManualCommandLine(f.ctx);
    QVERIFY(!isCommandLineLocked(f.model));
    QCOMPARE(f.model.tag(ctl::txt3Locked), QStringLiteral("no"));
    QCOMPARE(f.model.caption(ctl::lblManual), QStringLiteral("Manual command line:"));
    QVERIFY(f.model.isVisible(ctl::cmbFrags));
    QCOMPARE(f.model.index(ctl::cmbFrags), 0);

    toggleManualCommandLine(f.ctx);
    QVERIFY(isCommandLineLocked(f.model));
    QCOMPARE(f.model.tag(ctl::txt3Locked), QStringLiteral("yes"));
    QCOMPARE(f.model.caption(ctl::lblManual), QStringLiteral("Command line:"));
    QVERIFY(!f.model.isVisible(ctl::cmbFrags));
}

void TestOptionHandlers::texifyLabelOnDviTab() {
    Fixture f;
    f.model.setChecked(ctl::chkTexify(0), true);
    QCOMPARE(f.model.caption(ctl::Label6), kTexifyDvi);
    f.model.setChecked(ctl::chkTexify(0), false);
    QCOMPARE(f.model.caption(ctl::Label6), QStringLiteral("Just uses (La)TeX"));
}

void TestOptionHandlers::chainAndPdfTexifyExcludeEachOther() {
    Fixture f;
    f.home.write("pdfmakegstc.bat", ":: Version 2\r\n@echo off\r\n");
    f.model.setChecked(ctl::chkTexify(1), true);
    QCOMPARE(f.model.caption(ctl::Label7), kTexifyPdf);

    f.model.setChecked(ctl::chkSWPGS, true);
    QVERIFY(!f.model.isChecked(ctl::chkTexify(1)));
    QCOMPARE(f.model.caption(ctl::Label7), kChain);
    QVERIFY(f.model.isVisible(ctl::Label34));
    QVERIFY(f.model.isVisible(ctl::cmdBat));

    f.model.setChecked(ctl::chkTexify(1), true);
    QVERIFY(!f.model.isChecked(ctl::chkSWPGS));
    QCOMPARE(f.model.caption(ctl::Label7), kTexifyPdf);
    QVERIFY(!f.model.isVisible(ctl::Label34));
    QVERIFY(!f.model.isVisible(ctl::Label15));
    QVERIFY(!f.model.isVisible(ctl::cmbpdfPasses));
    QVERIFY(!f.model.isVisible(ctl::cmdBat));

    f.model.setChecked(ctl::chkTexify(1), false);
    QCOMPARE(f.model.caption(ctl::Label7), QStringLiteral("Conversion uses pdfLaTeX"));
}

void TestOptionHandlers::chainShowsPassesOnlyWithCurrentBatchFile_data() {
    QTest::addColumn<QByteArray>("content"); // empty: no file
    QTest::addColumn<bool>("passesShown");
    QTest::addColumn<QString>("label");
    QTest::newRow("current, CR LF") << QByteArray(":: VERSION 2\r\nrem\r\n") << true << kChain;
    QTest::newRow("current, LF") << QByteArray("@echo off\n:: version 2\n") << true << kChain;
    QTest::newRow("old") << QByteArray(":: version 1\r\n") << false
                         << QStringLiteral(
                                "You appear to be using an old version of pdfmakegstc.bat. Please "
                                "replace it with a newer version from ");
    QTest::newRow("missing") << QByteArray() << false
                             << QStringLiteral("Unable to find pdfmakegstc.bat in Morvane's "
                                               "directory. You can obtain it from ");
}

void TestOptionHandlers::chainShowsPassesOnlyWithCurrentBatchFile() {
    QFETCH(QByteArray, content);
    QFETCH(bool, passesShown);
    QFETCH(QString, label);
    Fixture f;
    if (!content.isEmpty())
        f.home.write("pdfmakegstc.bat", content);
    f.model.setChecked(ctl::chkSWPGS, true);
    QCOMPARE(f.model.isVisible(ctl::Label15), passesShown);
    QCOMPARE(f.model.isVisible(ctl::cmbpdfPasses), passesShown);
    QCOMPARE(f.model.caption(ctl::Label7), label);

    f.model.setChecked(ctl::chkSWPGS, false);
    QVERIFY(!f.model.isVisible(ctl::cmbpdfPasses));
    QCOMPARE(f.model.caption(ctl::Label7), QStringLiteral("Conversion uses pdfLaTeX"));
}

void TestOptionHandlers::texifyBoxDecidesConvertOnItsTab() {
    Fixture f;
    f.ctx.settings.paths.setProgramFound(5, false);
    f.ctx.settings.paths.setProgramFound(6, false);
    f.selectTab(5);
    QVERIFY(f.model.isEnabled(ctl::cmdConvert));
    f.model.setChecked(ctl::chkTexify(0), true);
    QVERIFY(!f.model.isEnabled(ctl::cmdConvert));
    QCOMPARE(f.model.caption(ctl::lblPath), QStringLiteral("Texify Not Found\nSet its folder in Help, Program Locations"));
    f.model.setChecked(ctl::chkTexify(0), false);
    QVERIFY(f.model.isEnabled(ctl::cmdConvert));

    // The PDF box changed while the TtH tab (program missing) is on show
    // leaves that tab's Convert alone.
    f.ctx.settings.paths.setProgramFound(2, false);
    f.selectTab(2);
    QVERIFY(!f.model.isEnabled(ctl::cmdConvert));
    f.model.setChecked(ctl::chkTexify(1), true);
    f.model.setChecked(ctl::chkTexify(1), false);
    QVERIFY(!f.model.isEnabled(ctl::cmdConvert));
    QCOMPARE(f.model.caption(ctl::lblPath), QStringLiteral("Tth Not Found\nSet its folder in Help, Program Locations"));
}

void TestOptionHandlers::antiVirusInformation() {
    Fixture f;
    Label32_Click(f.ctx);
    QCOMPARE(f.prompter.prompts().size(), 1);
    const Prompt p = f.prompter.prompts().first();
    QCOMPARE(p.title, QStringLiteral("Anti-Virus Problem"));
    QCOMPARE(p.icon, Icon::Information);
    QCOMPARE(p.buttons, Buttons::Ok);
    QCOMPARE(p.text,
             QStringLiteral("You may find that anti-virus software prevents LaTeX2HTML operating "
                            "properly. This is known to happen with MacAfee and Norton on Windows "
                            "98.\n\nClearly Morvane shouldn't turn anti-virus software off "
                            "automatically so there is an option to remind you to turn it off if "
                            "you wish."));
}

void TestOptionHandlers::deleteFileListAsksFirst_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("cleared");
    QTest::newRow("yes") << int(Answer::Yes) << true;
    QTest::newRow("no") << int(Answer::No) << false;
}

void TestOptionHandlers::deleteFileListAsksFirst() {
    QFETCH(int, answer);
    QFETCH(bool, cleared);
    Fixture f;
    f.model.setItems(ctl::cmbTeX, {"/a/x.tex", "/b/y.tex"});
    f.prompter.queueAnswer(Answer(answer));
    cmdDeleteFileList_Click(f.ctx);
    QCOMPARE(f.prompter.prompts().size(), 1);
    const Prompt p = f.prompter.prompts().first();
    QCOMPARE(p.text, QStringLiteral("Are you sure you want to delete the history file list?"));
    QCOMPARE(p.title, QStringLiteral("Confirm delete file list"));
    QCOMPARE(p.buttons, Buttons::YesNo);
    QCOMPARE(p.icon, Icon::Question);
    QCOMPARE(f.model.items(ctl::cmbTeX).isEmpty(), cleared);
}

MORVANE_TEST_GUILESS_MAIN(TestOptionHandlers)
#include "tst_optionhandlers.moc"
