#include "app/inicommands.h"
#include "pipeline/appcontext.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "settings/controlnames.h"
#include "settings/iniencoding.h"
#include "settings/inisync.h"
#include "settings/limitsettings.h"
#include "settings/pathcheck.h"
#include "settings/profilefile.h"
#include "support/controlbyname.h"
#include "support/doubles.h"
#include "support/testhome.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <memory>

using namespace morvane;

namespace {

// One program directory with the shipped Morvane.ini, a model and the seams.
struct Fixture {
    explicit Fixture(bool seed = true) : home(seed) {
        ctx.programDir = home.path();
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        ctx.seams.shell = &shell;
    }
    void writeIni(const QByteArray& content) { home.write(QStringLiteral("Morvane.ini"), content); }
    QString stored(const QString& section, const QString& key) const {
        return readProfileString(iniPath(ctx), section, key, QStringLiteral("<missing>"));
    }

    test::TestHome home;
    OptionsModel model;
    ScriptedPrompter prompter;
    RecordingShell shell;
    AppContext ctx;
};

// Byte strings with NUL bytes inside keep their full length.
template <std::size_t N> QByteArray bytes(const char (&text)[N]) {
    return QByteArray(text, N - 1);
}

QString flag(bool value) {
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

// The state a settings key ends in, by name: "var:x" a settings variable,
// "tag:x" a control's tag, "items:x" a list's entries, "arg:n" element n of
// the TeX4ht argument list, anything else a control's value.
QString probe(const AppContext& ctx, const QString& what) {
    const SettingsVariables& v = ctx.settings.vars;
    const OptionsModel& m = *ctx.model;
    const QString name = what.section(QLatin1Char(':'), 1);
    if (what.startsWith(QStringLiteral("tag:")))
        return m.tag(test::control(name));
    if (what.startsWith(QStringLiteral("items:")))
        return m.items(test::control(name)).join(QLatin1Char('|'));
    if (what.startsWith(QStringLiteral("arg:")))
        return m.items(ctl::tex4htArgs).value(name.toInt() - 1);
    if (!what.startsWith(QStringLiteral("var:")))
        return m.text(test::control(what));
    const QHash<QString, QString> vars{
        {"cdRom", v.cdRom},
        {"texDocs", v.texDocs},
        {"hevea", v.hevea},
        {"tth", v.tth},
        {"texify", v.texify},
        {"tex4ht", v.tex4ht},
        {"imageMagick", v.imageMagick},
        {"gsLib", v.gsLib},
        {"htrunM", v.htrunM},
        {"htrunS", v.htrunS},
        {"l2h", v.l2h},
        {"perl", v.perl},
        {"netpbm", v.netpbm},
        {"editor", v.editor},
        {"texEditor", v.texEditor},
        {"startupTab", QString::number(v.startupTab)},
        {"firstTime", flag(v.firstTime)},
        {"scrollFraction", QString::number(v.scrollFraction)},
        {"lowRes", flag(v.lowRes)},
        {"longFileName", flag(v.longFileName)},
        {"allowNonTeXFiles", flag(v.allowNonTeXFiles)},
        {"heveaOutputExtension", v.heveaOutputExtension},
        {"defaultConfig", v.defaultConfig},
        {"tex4htSaveTo", v.tex4htSaveTo},
        {"upgradeNoticeShown", flag(v.upgradeNoticeShown)},
        {"advancedSave", flag(v.advancedSave)},
        {"checkForUsePackage", flag(v.checkForUsePackage)},
        {"l2hSaveTo", v.l2hSaveTo},
    };
    return vars.value(name, QStringLiteral("<unknown probe>"));
}

// Everything readini fills.
const QStringList everyProbe{"var:cdRom",
                             "var:texDocs",
                             "var:hevea",
                             "var:tth",
                             "var:texify",
                             "var:tex4ht",
                             "var:imageMagick",
                             "var:gsLib",
                             "var:htrunM",
                             "var:htrunS",
                             "var:l2h",
                             "var:perl",
                             "var:netpbm",
                             "var:editor",
                             "var:texEditor",
                             "chkSave",
                             "chkIE",
                             "optIE",
                             "chkClose",
                             "var:startupTab",
                             "cmbTabs",
                             "chkWarning",
                             "chkSettings",
                             "chkMulti",
                             "tag:chkMulti",
                             "var:firstTime",
                             "var:scrollFraction",
                             "var:lowRes",
                             "var:longFileName",
                             "var:allowNonTeXFiles",
                             "chkStyle",
                             "optOutput",
                             "var:heveaOutputExtension",
                             "var:defaultConfig",
                             "chkVersion",
                             "chkFrench",
                             "chkFix",
                             "chkHacha",
                             "cmbHeveaVerbose",
                             "items:cmbHeveaVerbose",
                             "optCode",
                             "chkEsponja",
                             "chkItalics",
                             "chkNumber",
                             "chkInline",
                             "chkRevise",
                             "chkTexify_0",
                             "chkReport_0",
                             "chkTexify_1",
                             "chkReport_1",
                             "chkSWPGS",
                             "cmbpdfPasses",
                             "chkSWP",
                             "var:tex4htSaveTo",
                             "chkImages",
                             "txtImages",
                             "chkHtrun",
                             "items:tex4htArgs",
                             "tag:txt3",
                             "cmbPasses",
                             "chkTex4htPause",
                             "var:upgradeNoticeShown",
                             "var:advancedSave",
                             "var:checkForUsePackage",
                             "chkMake4ht",
                             "cmbMake4htFormat",
                             "cmbMake4htEngine",
                             "var:l2hSaveTo",
                             "chkAntiVirus",
                             "optGifPng",
                             "chkImageDir",
                             "chkNavigation",
                             "cmbAbout",
                             "items:cmbAbout",
                             "cmbAddress",
                             "items:cmbAddress",
                             "cmbTitle",
                             "items:cmbTitle",
                             "tag:cmdInit",
                             "tag:Label25",
                             "cmbSplit",
                             "cmbVerbosity"};

QStringList snapshot(const AppContext& ctx, const QStringList& probes = everyProbe) {
    QStringList values;
    for (const QString& p : probes)
        values.append(p + QLatin1Char('=') + probe(ctx, p));
    return values;
}

// A value for every setting that writeini saves, each different from the
// shipped Morvane.ini.
void setEveryOption(AppContext& ctx, bool savePreferences) {
    OptionsModel& m = *ctx.model;
    SettingsVariables& v = ctx.settings.vars;
    m.setCheckValue(ctl::chkSettings, 0);
    m.setCheckValue(ctl::chkVersion, 0);
    m.setCheckValue(ctl::chkSave, savePreferences ? 1 : 0);
    v.tex4htSaveTo = "/srv/out/tex4ht";
    v.l2hSaveTo = "/srv/out/l2h";
    v.editor = "/opt/editor/bin/ed";
    v.texEditor = "/opt/tex/edit";
    v.scrollFraction = 0.07;
    v.lowRes = true;
    v.longFileName = true;
    v.allowNonTeXFiles = true;
    for (const ctl::Control box :
         {ctl::chkPrepareHevea, ctl::chkPrepareTth, ctl::chkPrepareTex4ht, ctl::chkPrepareL2h})
        m.setCheckValue(box, 0);

    m.setCheckValue(ctl::chkIE, 0);
    m.setIndex(ctl::optIE, 1);
    m.setCheckValue(ctl::chkClose, 1);
    m.setIndex(ctl::cmbTabs, 4);
    m.setCheckValue(ctl::chkWarning, 0);
    m.setCheckValue(ctl::chkMulti, 1);
    m.setCheckValue(ctl::chkStyle, 1);
    m.setIndex(ctl::optOutput, 1);
    m.setCheckValue(ctl::chkFrench, 1);
    m.setCheckValue(ctl::chkFix, 0);
    m.setCheckValue(ctl::chkHacha, 1);
    m.setIndex(ctl::cmbHeveaVerbose, 2);
    m.setIndex(ctl::optCode, 1);
    m.setCheckValue(ctl::chkEsponja, 1);
    m.setCheckValue(ctl::chkItalics, 1);
    m.setCheckValue(ctl::chkNumber, 1);
    m.setCheckValue(ctl::chkInline, 1);
    m.setCheckValue(ctl::chkRevise, 0);
    m.setCheckValue(ctl::chkTexify(0), 0);
    m.setCheckValue(ctl::chkReport(0), 1);
    m.setCheckValue(ctl::chkTexify(1), 0);
    m.setCheckValue(ctl::chkReport(1), 1);
    m.setCheckValue(ctl::chkSWPGS, 1);
    m.setIndex(ctl::cmbpdfPasses, 3);
    m.setCheckValue(ctl::chkSWP, 1);
    m.setCheckValue(ctl::chkImages, 1);
    m.setText(ctl::txtImages, "pics/sub");
    m.setCheckValue(ctl::chkHtrun, 1);
    m.setItems(ctl::tex4htArgs, {"htrun", "-xh", "paper", "2", "\"html,png\"", "\"symbol/!\""});
    m.setTag(ctl::txt3, "\\usepackage[html,png]{tex4ht}");
    m.setIndex(ctl::cmbPasses, 2);
    m.setCheckValue(ctl::chkTex4htPause, 1);
    v.upgradeNoticeShown = false;
    v.advancedSave = true;
    v.checkForUsePackage = false;
    m.setCheckValue(ctl::chkMake4ht, 1);
    m.setIndex(ctl::cmbMake4htFormat, 3);
    m.setIndex(ctl::cmbMake4htEngine, 2);
    m.setCheckValue(ctl::chkAntiVirus, 1);
    m.setIndex(ctl::optGifPng, 0);
    m.setCheckValue(ctl::chkImageDir, 1);
    m.setCheckValue(ctl::chkNavigation, 0);
    m.setText(ctl::cmbAddress, "A. Author");
    m.setText(ctl::cmbAbout, "None");
    m.setText(ctl::cmbTitle, "My Title");
    m.setTag(ctl::cmdInit, "0");
    m.setTag(ctl::Label25, "1");
    m.setIndex(ctl::cmbSplit, 9);
    m.setIndex(ctl::cmbVerbosity, 5);
}

struct KeyRow {
    const char* section;
    const char* key;
    const char* stored; // what setEveryOption leaves in the file
    const char* probe;
    const char* readBack; // the probe after reading the file again
    bool always;          // written at every exit
};

// Every key that writeini writes, in the order it writes them.
const KeyRow writtenKeys[] = {
    {"Preferences", "BrowserPos", "No", "chkSettings", "0", true},
    {"Hevea", "Version1.05OrLater", "No", "chkVersion", "0", true},
    {"Preferences", "SavePrefs", "Yes", "chkSave", "1", true},
    {"TeX4ht", "SaveTo", "/srv/out/tex4ht", "var:tex4htSaveTo", "/srv/out/tex4ht", true},
    {"LaTeX2HTML", "SaveTo", "/srv/out/l2h", "var:l2hSaveTo", "/srv/out/l2h", true},
    {"Paths", "Editor", "/opt/editor/bin/ed", "var:editor", "/opt/editor/bin/ed", true},
    {"Paths", "TeXEditor", "/opt/tex/edit", "var:texEditor", "/opt/tex/edit", true},
    {"Preferences", "ScrollPercent", "7", "var:scrollFraction", "0.07", true},
    {"Preferences", "LowRes", "True", "var:lowRes", "true", true},
    {"Preferences", "LongFileName", "True", "var:longFileName", "true", true},
    {"Preferences", "AllowNonTeXFiles", "True", "var:allowNonTeXFiles", "true", true},
    {"Hevea", "PrepareReferences", "No", "chkPrepareHevea", "0", true},
    {"Tth", "PrepareReferences", "No", "chkPrepareTth", "0", true},
    {"TeX4ht", "PrepareReferences", "No", "chkPrepareTex4ht", "0", true},
    {"Latex2HTML", "PrepareReferences", "No", "chkPrepareL2h", "0", true},
    {"Preferences", "RunHTML", "No", "chkIE", "0", false},
    {"Preferences", "Showinownbrowser", "Yes", "optIE", "1", false},
    {"Preferences", "Close", "Yes", "chkClose", "1", false},
    {"Preferences", "StartupTab", "4", "var:startupTab", "4", false},
    {"Preferences", "Warning", "No", "chkWarning", "0", false},
    {"Preferences", "AllowMultiProcess", "Yes", "chkMulti", "1", false},
    {"Hevea", "IncludeStyle", "Yes", "chkStyle", "1", false},
    {"Hevea", "OutputType", "text", "var:heveaOutputExtension", "txt", false},
    {"Hevea", "French", "Yes", "chkFrench", "1", false},
    {"Hevea", "Fix", "No", "chkFix", "0", false},
    {"Hevea", "Hacha", "Yes", "chkHacha", "1", false},
    {"Hevea", "Verbose", "Double", "cmbHeveaVerbose", "2", false},
    {"Hevea", "Code", "Native", "optCode", "1", false},
    {"Hevea", "Esponja", "Yes", "chkEsponja", "1", false},
    {"Tth", "Italics", "Yes", "chkItalics", "1", false},
    {"Tth", "NumberMulti", "Yes", "chkNumber", "1", false},
    {"Tth", "Inline", "Yes", "chkInline", "1", false},
    {"Tth", "Revise", "No", "chkRevise", "0", false},
    {"Texify", "UseDVI", "No", "chkTexify_0", "0", false},
    {"Texify", "ReportDVI", "Yes", "chkReport_0", "1", false},
    {"Texify", "UsePDF", "No", "chkTexify_1", "0", false},
    {"Texify", "ReportPDF", "Yes", "chkReport_1", "1", false},
    {"Texify", "SWPGS", "Yes", "chkSWPGS", "1", false},
    {"Texify", "Passes", "3", "cmbpdfPasses", "3", false},
    {"TeX4ht", "SWP", "Yes", "chkSWP", "1", false},
    {"TeX4ht", "ImagesSubDir", "Yes", "chkImages", "1", false},
    {"TeX4ht", "SubDir", "pics/sub", "txtImages", "pics/sub", false},
    {"TeX4ht", "Htrun", "Yes", "chkHtrun", "1", false},
    // The profile read drops the enclosing quotes; readini puts them back.
    {"TeX4ht", "Cmdline", "html,png\" \"symbol/!", "items:tex4htArgs", "htrun|-xh||||", false},
    {"TeX4ht", "Usepackage", "\\usepackage[html,png]{tex4ht}", "tag:txt3",
     "\\usepackage[html,png]{tex4ht}", false},
    {"TeX4ht", "Htruncommand", "htrun -xh", "arg:2", "-xh", false},
    {"TeX4ht", "SWPpasses", "2", "cmbPasses", "2", false},
    {"TeX4ht", "DOSPause", "Yes", "chkTex4htPause", "1", false},
    {"TeX4ht", "Ver2.5", "Yes", "var:upgradeNoticeShown", "true", false},
    {"TeX4ht", "AdvancedSave", "True", "var:advancedSave", "true", false},
    {"TeX4ht", "CheckForUsePackage", "False", "var:checkForUsePackage", "false", false},
    {"TeX4ht", "Make4ht", "Yes", "chkMake4ht", "1", false},
    {"TeX4ht", "Make4htFormat", "epub3", "cmbMake4htFormat", "3", false},
    {"TeX4ht", "Make4htEngine", "xelatex", "cmbMake4htEngine", "2", false},
    {"Latex2HTML", "Anti-Virus", "Yes", "chkAntiVirus", "1", false},
    {"Latex2HTML", "ImageType", "GIF", "optGifPng", "0", false},
    {"Latex2HTML", "ImageSubDir", "Yes", "chkImageDir", "1", false},
    {"Latex2HTML", "NavLinks", "No", "chkNavigation", "0", false},
    {"Latex2HTML", "Author", "A. Author", "items:cmbAddress", "Default|A. Author", false},
    {"Latex2HTML", "About", "None", "cmbAbout", "None", false},
    {"Latex2HTML", "Title", "My Title", "cmbTitle", "My Title", false},
    {"Latex2HTML", "CheckSyntax", "No", "tag:cmdInit", "0", false},
    {"Latex2HTML", "DOSPause", "Yes", "tag:Label25", "1", false},
    {"Latex2HTML", "Split", "9", "cmbSplit", "9", false},
    {"Latex2HTML", "Verbosity", "5", "cmbVerbosity", "5", false},
};

} // namespace

class TestIniSync : public QObject {
    Q_OBJECT

private slots:
    void yesNo_data();
    void yesNo();

    void roundTripEveryKey_data();
    void roundTripEveryKey();
    void cmdlineElementsRoundTrip();
    void savePreferencesUntickedWritesOnlyTheAlwaysKeys();
    void advancedSaveOffKeepsStoredCommandLines();

    void readsEncodings_data();
    void readsEncodings();
    void unknownOutputTypeChangesNothing();
    void multiProcessBoxIsSetSilently();
    void writtenForms_data();
    void writtenForms();
    void limitsWrittenOnlyOnceSet_data();
    void limitsWrittenOnlyOnceSet();
    void storedLimitsRead_data();
    void storedLimitsRead();

    void garbageBinaryAndDuplicatesRead();
    void missingIniReadsDefaults();
    void reloadEqualsFreshStart();
    void reloadReadsTwiceAndRefreshes();
    void reloadListsStylesOfTheProgramDirectoryWithoutHevea();

    void editIni_data();
    void editIni();

    void failedSaveTellsOnceAndTouchesNothingElse_data();
    void failedSaveTellsOnceAndTouchesNothingElse();
    void unstorableValueStillSavesTheOtherKeys();
};

void TestIniSync::yesNo_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ticked box") << 1 << "Yes";
    QTest::newRow("true") << -1 << "Yes";
    QTest::newRow("unticked box") << 0 << "No";
    QTest::newRow("greyed box") << 2 << "No";
    QTest::newRow("other number") << 7 << "No";
    QTest::newRow("bool true") << int(true) << "Yes";
}

void TestIniSync::yesNo() {
    QFETCH(int, value);
    QFETCH(QString, expected);
    QCOMPARE(YesNo(value), expected);
}

void TestIniSync::roundTripEveryKey_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("probeName");
    QTest::addColumn<QString>("readBack");
    for (const KeyRow& row : writtenKeys)
        QTest::addRow("%s %s", row.section, row.key)
            << row.section << row.key << row.stored << row.probe << row.readBack;
}

void TestIniSync::roundTripEveryKey() {
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, stored);
    QFETCH(QString, probeName);
    QFETCH(QString, readBack);

    Fixture before;
    readini(before.ctx);
    setEveryOption(before.ctx, true);
    QVERIFY(writeini(before.ctx));
    QVERIFY(before.prompter.prompts().isEmpty());
    QCOMPARE(before.stored(section, key), stored);

    // A new program run on the same file.
    OptionsModel model;
    AppContext after;
    after.programDir = before.home.path();
    after.model = &model;
    readini(after);
    if (probeName == QStringLiteral("items:tex4htArgs")) {
        // Elements 5 and 6 come back from Cmdline, 1 and 2 from Htruncommand.
        QCOMPARE(probe(after, "arg:5"), QStringLiteral("\"html,png\""));
        QCOMPARE(probe(after, "arg:6"), QStringLiteral("\"symbol/!\""));
        QCOMPARE(probe(after, "arg:1"), QStringLiteral("htrun"));
    } else {
        QCOMPARE(probe(after, probeName), readBack);
    }
}

void TestIniSync::cmdlineElementsRoundTrip() {
    struct Case {
        QStringList args;
        QString e1, e2, e5, e6;
    };
    const Case cases[] = {
        {{"htlatex", "", "", "", "\"x\"", "\"y\""}, "htlatex", "", "\"x\"", "\"y\""},
        // Element 5 empty before a font: kept apart as an empty argument.
        {{"htlatex", "", "", "", "", "\"symbol/!\""}, "htlatex", "", "\"\"", "\"symbol/!\""},
        {{"ht latex", "", "", "", "", ""}, "ht latex", "", "", ""},
        {{"htrun", "-xhm", "", "", "\"html,png\"", ""}, "htrun", "-xhm", "\"html,png\"", ""},
        {{" xht ", " ", "", "", "  \"a\"  ", " \"b\" "}, "xht", "", "\"a\"", "\"b\""},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.model.setCheckValue(ctl::chkSave, 1);
        f.model.setItems(ctl::tex4htArgs, c.args);
        QVERIFY(writeini(f.ctx));
        OptionsModel model;
        AppContext again;
        again.programDir = f.home.path();
        again.model = &model;
        readini(again);
        const QString what = c.args.join(QLatin1Char('|'));
        QVERIFY2(probe(again, "arg:1") == c.e1, qPrintable(what));
        QVERIFY2(probe(again, "arg:2") == c.e2, qPrintable(what));
        QVERIFY2(probe(again, "arg:5") == c.e5, qPrintable(what));
        QVERIFY2(probe(again, "arg:6") == c.e6, qPrintable(what));
    }
}

void TestIniSync::savePreferencesUntickedWritesOnlyTheAlwaysKeys() {
    Fixture f;
    const QByteArray shipped = test::readAll(iniPath(f.ctx));
    QVERIFY(!shipped.isEmpty());
    readini(f.ctx);
    setEveryOption(f.ctx, false);
    QVERIFY(writeini(f.ctx));

    QSet<QString> alwaysKeys;
    for (const KeyRow& row : writtenKeys) {
        if (row.always)
            alwaysKeys.insert(QString::fromLatin1(row.section).toLower() + '/' +
                              QString::fromLatin1(row.key).toLower());
    }
    QCOMPARE(alwaysKeys.size(), 15);

    // Line by line, only the fifteen always-written entries changed.
    const QList<QByteArray> oldLines = shipped.split('\n');
    const QList<QByteArray> newLines = test::readAll(iniPath(f.ctx)).split('\n');
    QCOMPARE(newLines.size(), oldLines.size());
    QSet<QString> changed;
    QString section;
    for (qsizetype i = 0; i < oldLines.size(); ++i) {
        const QString line = QString::fromUtf8(oldLines.at(i)).trimmed();
        if (line.startsWith('['))
            section = line.mid(1, line.indexOf(']') - 1).toLower();
        if (oldLines.at(i) != newLines.at(i))
            changed.insert(section + '/' + line.section('=', 0, 0).trimmed().toLower());
    }
    QCOMPARE(changed, alwaysKeys);

    // After a restart the other options show their previously saved state.
    QStringList otherProbes;
    for (const KeyRow& row : writtenKeys) {
        if (!row.always)
            otherProbes.append(QString::fromLatin1(row.probe));
    }
    Fixture shippedRun;
    readini(shippedRun.ctx);
    OptionsModel model;
    AppContext restarted;
    restarted.programDir = f.home.path();
    restarted.model = &model;
    readini(restarted);
    QCOMPARE(snapshot(restarted, otherProbes), snapshot(shippedRun.ctx, otherProbes));
    QCOMPARE(probe(restarted, "chkSave"), QStringLiteral("0"));
}

void TestIniSync::advancedSaveOffKeepsStoredCommandLines() {
    Fixture f;
    f.writeIni("[TeX4ht]\nCmdline=\"old\" \"fonts\"\nHtruncommand=htrun -ht\nAdvancedSave=True\n");
    f.model.setCheckValue(ctl::chkSave, 1);
    f.model.setItems(ctl::tex4htArgs, {"htlatex", "", "", "", "\"new\"", ""});
    f.ctx.settings.vars.advancedSave = false;
    QVERIFY(writeini(f.ctx));
    QCOMPARE(f.stored("TeX4ht", "Cmdline"), QStringLiteral("old\" \"fonts"));
    QCOMPARE(f.stored("TeX4ht", "Htruncommand"), QStringLiteral("htrun -ht"));
    QCOMPARE(f.stored("TeX4ht", "AdvancedSave"), QStringLiteral("False"));
}

void TestIniSync::readsEncodings_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored"); // a null string leaves the key out
    QTest::addColumn<QString>("probeName");
    QTest::addColumn<QString>("expected");
    const QString missing;
    auto row = [](const char* name, const char* section, const char* key, const QString& stored,
                  const char* probeName, const char* expected) {
        QTest::newRow(name) << section << key << stored << probeName << expected;
    };
    row("Yes/No yes", "Preferences", "RunHTML", "yes", "chkIE", "1");
    row("Yes/No Y", "Preferences", "RunHTML", "Y", "chkIE", "1");
    row("Yes/No any y word", "Preferences", "RunHTML", "yellow", "chkIE", "1");
    row("Yes/No No", "Preferences", "RunHTML", "No", "chkIE", "0");
    row("Yes/No empty", "Preferences", "RunHTML", "", "chkIE", "0");
    row("Yes/No 1", "Preferences", "RunHTML", "1", "chkIE", "0");
    row("Yes/No True", "Preferences", "RunHTML", "True", "chkIE", "0");
    row("Yes/No missing", "Preferences", "RunHTML", missing, "chkIE", "0");
    row("Yes/No quoted", "Preferences", "RunHTML", "\"Yes\"", "chkIE", "1");
    row("own browser", "Preferences", "Showinownbrowser", "Yes", "optIE", "1");
    row("external browser", "Preferences", "Showinownbrowser", "No", "optIE", "0");
    row("first time", "Preferences", "FirstTime", "Yes", "var:firstTime", "true");
    row("True/False TRUE", "Preferences", "LowRes", "TRUE", "var:lowRes", "true");
    row("True/False 1", "Preferences", "LowRes", "1", "var:lowRes", "false");
    row("True/False missing", "Preferences", "LongFileName", missing, "var:longFileName", "false");
    row("True/False true", "Preferences", "AllowNonTeXFiles", "true", "var:allowNonTeXFiles",
        "true");
    row("AdvancedSave missing", "TeX4ht", "AdvancedSave", missing, "var:advancedSave", "true");
    row("AdvancedSave 0", "TeX4ht", "AdvancedSave", "0", "var:advancedSave", "true");
    row("AdvancedSave false", "TeX4ht", "AdvancedSave", "false", "var:advancedSave", "true");
    row("AdvancedSave False", "TeX4ht", "AdvancedSave", "False", "var:advancedSave", "false");
    row("CheckForUsePackage missing", "TeX4ht", "CheckForUsePackage", missing,
        "var:checkForUsePackage", "false");
    row("StartupTab 7 (the start-up counts round)", "Preferences", "StartupTab", "7",
        "var:startupTab", "7");
    row("StartupTab No", "Preferences", "StartupTab", "No", "var:startupTab", "0");
    row("StartupTab missing", "Preferences", "StartupTab", missing, "var:startupTab", "0");
    row("StartupTab -3", "Preferences", "StartupTab", "-3", "var:startupTab", "-3");
    row("StartupTab 5", "Preferences", "StartupTab", "5", "var:startupTab", "5");
    row("StartupTab 3x", "Preferences", "StartupTab", "3x", "var:startupTab", "3");
    row("StartupTab 2.5 rounds to even", "Preferences", "StartupTab", "2.5", "var:startupTab", "2");
    row("StartupTab beyond 16 bits", "Preferences", "StartupTab", "99999", "var:startupTab",
        "32767");
    row("StartupTab selects cmbTabs", "Preferences", "StartupTab", "4", "cmbTabs", "4");
    row("ScrollPercent 75", "Preferences", "ScrollPercent", "75", "var:scrollFraction", "0.5");
    row("ScrollPercent -3", "Preferences", "ScrollPercent", "-3", "var:scrollFraction", "0");
    row("ScrollPercent missing", "Preferences", "ScrollPercent", missing, "var:scrollFraction",
        "0.01");
    row("ScrollPercent 7", "Preferences", "ScrollPercent", "7", "var:scrollFraction", "0.07");
    row("ScrollPercent text", "Preferences", "ScrollPercent", "abc", "var:scrollFraction", "0");
    row("OutputType HTML", "Hevea", "OutputType", "HTML", "optOutput", "0");
    row("OutputType HTML extension", "Hevea", "OutputType", "HTML", "var:heveaOutputExtension",
        "html");
    row("OutputType Text", "Hevea", "OutputType", "Text", "var:heveaOutputExtension", "txt");
    row("OutputType info", "Hevea", "OutputType", "info", "optOutput", "2");
    row("Code native", "Hevea", "Code", "native", "optCode", "0");
    row("Code Native", "Hevea", "Code", "Native", "optCode", "1");
    row("Code missing", "Hevea", "Code", missing, "optCode", "0");
    row("Verbose single", "Hevea", "Verbose", "single", "cmbHeveaVerbose", "1");
    row("Verbose DOUBLE", "Hevea", "Verbose", "DOUBLE", "cmbHeveaVerbose", "2");
    row("Verbose other", "Hevea", "Verbose", "loud", "cmbHeveaVerbose", "0");
    row("Verbose entries", "Hevea", "Verbose", "None", "items:cmbHeveaVerbose",
        "None|Single|Double");
    row("DefaultConfig missing", "Hevea", "DefaultConfig", missing, "var:defaultConfig", "No");
    row("DefaultConfig trailing slash", "Hevea", "Defaultconfig", "Mine/", "var:defaultConfig",
        "Mine");
    row("ImageType png", "Latex2HTML", "ImageType", "png", "optGifPng", "1");
    row("ImageType other", "Latex2HTML", "ImageType", "jpeg", "optGifPng", "0");
    row("ImageType svg", "Latex2HTML", "ImageType", "SVG", "optGifPng", "2");
    row("About None", "Latex2HTML", "About", "None", "cmbAbout", "None");
    row("About None entries", "Latex2HTML", "About", "None", "items:cmbAbout", "Default|None");
    row("About empty", "Latex2HTML", "About", "", "cmbAbout", "None");
    row("About Default", "Latex2HTML", "About", "Default", "cmbAbout", "Default");
    row("About other", "Latex2HTML", "About", "about.html", "items:cmbAbout",
        "Default|None|about.html");
    row("About missing", "Latex2HTML", "About", missing, "cmbAbout", "Default");
    row("Author empty", "Latex2HTML", "Author", "", "items:cmbAddress", "Default|");
    row("Author Default", "Latex2HTML", "Author", "Default", "items:cmbAddress", "Default");
    row("Author name", "Latex2HTML", "Author", "Ann", "cmbAddress", "Ann");
    row("Title empty", "Latex2HTML", "Title", "", "items:cmbTitle", "Default");
    row("Title text", "Latex2HTML", "Title", "Notes", "items:cmbTitle", "Default|Notes");
    row("CheckSyntax Yes", "Latex2HTML", "CheckSyntax", "Yes", "tag:cmdInit", "1");
    row("CheckSyntax missing", "Latex2HTML", "CheckSyntax", missing, "tag:cmdInit", "0");
    row("LaTeX2HTML pause", "LaTeX2HTML", "DOSPause", "Y", "tag:Label25", "1");
    row("TeX4ht pause is its own", "Latex2HTML", "DOSPause", "Yes", "chkTex4htPause", "0");
    row("TeX4ht pause 0", "TeX4ht", "DOSPause", "0", "chkTex4htPause", "0");
    row("Passes 4", "Texify", "Passes", "4", "cmbpdfPasses", "4");
    row("Passes out of list", "Texify", "Passes", "5", "cmbpdfPasses", "0");
    row("Passes negative", "Texify", "Passes", "-1", "cmbpdfPasses", "0");
    row("SWPpasses 3", "TeX4ht", "SWPpasses", "3", "cmbPasses", "3");
    row("SWPpasses out of list", "TeX4ht", "SWPpasses", "4", "cmbPasses", "0");
    row("Split 9", "Latex2HTML", "Split", "9", "cmbSplit", "9");
    row("Split out of list", "Latex2HTML", "Split", "10", "cmbSplit", "0");
    row("Verbosity out of list", "Latex2HTML", "Verbosity", "-2", "cmbVerbosity", "0");
    row("Htrun missing", "TeX4ht", "Htrun", missing, "chkHtrun", "0");
    row("path loses trailing slash", "Paths", "Hevea", "/opt/hevea/", "var:hevea", "/opt/hevea");
    row("root path stays", "Paths", "Tth", "/", "var:tth", "/");
    row("TexEditor read under either spelling", "Paths", "TeXEditor", "/usr/bin/vi/",
        "var:texEditor", "/usr/bin/vi");
    row("CD-ROM as read", "Paths", "CD-ROM", "/media/cdrom/", "var:cdRom", "/media/cdrom/");
    row("SubDir as read", "TeX4ht", "SubDir", "img/", "txtImages", "img/");
    row("SubDir cut to 199", "TeX4ht", "SubDir", QString(10000, 'i'), "txtImages",
        QString(199, 'i').toLatin1().constData());
    row("TeX4ht SaveTo missing", "TeX4ht", "SaveTo", missing, "var:tex4htSaveTo",
        QDir::homePath().toUtf8().constData());
    row("TeX4ht SaveTo", "TeX4ht", "SaveTo", "/data/web/", "var:tex4htSaveTo", "/data/web");
    row("LaTeX2HTML SaveTo missing keeps the held root", "Latex2HTML", "SaveTo", missing,
        "var:l2hSaveTo", "/held");
    row("UsePackage", "TeX4ht", "usepackage", " \\usepackage{tex4ht} ", "tag:txt3",
        "\\usepackage{tex4ht}");
    row("Cmdline two words", "TeX4ht", "Cmdline", "\"x\" \"y\"", "items:tex4htArgs",
        "|-ht|e3|e4|\"x\"|\"y\"");
    row("Cmdline one word leaves element 6", "TeX4ht", "Cmdline", "\"html,png\"",
        "items:tex4htArgs", "|-ht|e3|e4|\"html,png\"|\"e6\"");
    row("Cmdline empty", "TeX4ht", "Cmdline", "", "items:tex4htArgs", "|-ht|e3|e4||\"e6\"");
    row("Htruncommand with switch", "TeX4ht", "Htruncommand", "htrun -xh", "items:tex4htArgs",
        "htrun|-xh|e3|e4||\"e6\"");
    row("Htruncommand without blank", "TeX4ht", "Htruncommand", "htlatex", "items:tex4htArgs",
        "htlatex|-ht|e3|e4||\"e6\"");
    row("Htruncommand program with a blank", "TeX4ht", "Htruncommand", "ht latex", "arg:1",
        "ht latex");
}

void TestIniSync::readsEncodings() {
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, stored);
    QFETCH(QString, probeName);
    QFETCH(QString, expected);
    Fixture f;
    QByteArray ini = "[" + section.toUtf8() + "]\n";
    if (!stored.isNull())
        ini += key.toUtf8() + "=" + stored.toUtf8() + "\n";
    f.writeIni(ini);
    // State that some keys leave as it was. Only one key is stored, so a
    // missing Cmdline empties element 5 and a missing Htruncommand element 1.
    f.model.setItems(ctl::tex4htArgs, {"e1", "-ht", "e3", "e4", "\"e5\"", "\"e6\""});
    f.ctx.settings.vars.l2hSaveTo = "/held";
    readini(f.ctx);
    QCOMPARE(probe(f.ctx, probeName), expected);
}

void TestIniSync::unknownOutputTypeChangesNothing() {
    Fixture f;
    f.writeIni("[Hevea]\nOutputType=pdf\n");
    f.model.setIndex(ctl::optOutput, 2);
    f.ctx.settings.vars.heveaOutputExtension = "info";
    readini(f.ctx);
    QCOMPARE(f.model.index(ctl::optOutput), 2);
    QCOMPARE(f.ctx.settings.vars.heveaOutputExtension, QStringLiteral("info"));
    f.writeIni("[Hevea]\nOutputType=Text\n");
    readini(f.ctx);
    QCOMPARE(f.model.index(ctl::optOutput), 1);
}

void TestIniSync::multiProcessBoxIsSetSilently() {
    Fixture f;
    f.writeIni("[Preferences]\nAllowMultiProcess=Yes\n");
    QStringList tagsSeen;
    connect(&f.model, &OptionsModel::changed, this,
            [&](ctl::Control name, OptionsModel::Aspect aspect) {
                if (name == ctl::chkMulti && aspect == OptionsModel::Aspect::Value)
                    tagsSeen.append(f.model.tag(name));
            });
    readini(f.ctx);
    QCOMPARE(tagsSeen, QStringList{QStringLiteral("no message")});
    QCOMPARE(f.model.checkValue(ctl::chkMulti), 1);
    QCOMPARE(f.model.tag(ctl::chkMulti), QString());
}

void TestIniSync::writtenForms_data() {
    QTest::addColumn<double>("scrollFraction");
    QTest::addColumn<QString>("expected");
    QTest::newRow("0.07") << 0.07 << "7";
    QTest::newRow("0.5") << 0.5 << "50";
    QTest::newRow("0.01") << 0.01 << "1";
    QTest::newRow("0") << 0.0 << "0";
    QTest::newRow("0.115 rounds") << 0.116 << "12";
}

void TestIniSync::writtenForms() {
    QFETCH(double, scrollFraction);
    QFETCH(QString, expected);
    Fixture f;
    f.ctx.settings.vars.scrollFraction = scrollFraction;
    QVERIFY(writeini(f.ctx));
    QCOMPARE(f.stored("Preferences", "ScrollPercent"), expected);
}

void TestIniSync::limitsWrittenOnlyOnceSet_data() {
    QTest::addColumn<QByteArray>("storedLines"); // in [Preferences] before the run
    QTest::addColumn<int>("seconds");            // set while running; 0 leaves it as read
    QTest::addColumn<int>("megabytes");
    QTest::addColumn<QString>("minutesKey");
    QTest::addColumn<QString>("megabytesKey");
    const QString missing = QStringLiteral("<missing>");
    QTest::newRow("never set: no key") << QByteArray() << 0 << 0 << missing << missing;
    QTest::newRow("time set") << QByteArray() << 1200 << 0 << "20" << missing;
    QTest::newRow("memory set") << QByteArray() << 0 << 3000 << missing << "3000";
    QTest::newRow("seconds round up to minutes") << QByteArray() << 90 << 0 << "2" << missing;
    QTest::newRow("stored values stay, also the default")
        << QByteArray("TimeLimitMinutes=10\nMemoryLimitMB=4096\n") << 0 << 0 << "10"
        << "4096";
    QTest::newRow("unreadable value left alone")
        << QByteArray("TimeLimitMinutes=soon\n") << 0 << 0 << "soon" << missing;
}

void TestIniSync::limitsWrittenOnlyOnceSet() {
    QFETCH(QByteArray, storedLines);
    QFETCH(int, seconds);
    QFETCH(int, megabytes);
    Fixture f;
    // A file as the program wrote it at its last exit, with the stored lines.
    readini(f.ctx);
    QVERIFY(writeini(f.ctx));
    QByteArray ini = test::readAll(iniPath(f.ctx));
    QVERIFY(ini.contains("[Preferences]\n"));
    ini.replace("[Preferences]\n", "[Preferences]\n" + storedLines);
    f.writeIni(ini);

    // The next run reads it, perhaps sets a limit, and exits.
    OptionsModel model;
    AppContext next;
    next.programDir = f.home.path();
    next.model = &model;
    next.seams.prompter = &f.prompter;
    readini(next);
    if (seconds > 0)
        next.settings.vars.timeLimitSeconds = seconds;
    if (megabytes > 0)
        next.settings.vars.memoryLimitMB = megabytes;
    QVERIFY(writeini(next));
    // Files of users who set no limit stay byte for byte as they were.
    if (seconds == 0 && megabytes == 0)
        QCOMPARE(test::readAll(iniPath(f.ctx)), ini);
    QTEST(f.stored("Preferences", "TimeLimitMinutes"), "minutesKey");
    QTEST(f.stored("Preferences", "MemoryLimitMB"), "megabytesKey");
}

void TestIniSync::storedLimitsRead_data() {
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<QString>("megabytes");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("limitMB");
    const int defaultMB = defaultMemoryLimitMB();
    QTest::newRow("set") << "20"
                         << "3000" << 1200 << 3000;
    QTest::newRow("blanks around") << " 15 "
                                   << " 512 " << 900 << 512;
    // No limit at all is no choice here: what is not a positive number
    // gives the defaults.
    QTest::newRow("zero") << "0"
                          << "0" << 600 << defaultMB;
    QTest::newRow("negative") << "-3"
                              << "-1" << 600 << defaultMB;
    QTest::newRow("not a number") << "soon"
                                  << "lots" << 600 << defaultMB;
    QTest::newRow("missing") << QString() << QString() << 600 << defaultMB;
}

void TestIniSync::storedLimitsRead() {
    QFETCH(QString, minutes);
    QFETCH(QString, megabytes);
    Fixture f;
    QByteArray lines;
    if (!minutes.isNull())
        lines +=
            "TimeLimitMinutes=" + minutes.toUtf8() + "\nMemoryLimitMB=" + megabytes.toUtf8() + "\n";
    f.writeIni("[Preferences]\n" + lines);
    readini(f.ctx);
    const RunLimits limits = runLimitsOf(f.ctx.settings.vars);
    QTEST(limits.seconds, "seconds");
    QFETCH(int, limitMB);
    QCOMPARE(limits.memoryBytes, qint64(limitMB) * 1024 * 1024);
}

void TestIniSync::garbageBinaryAndDuplicatesRead() {
    Fixture empty;
    empty.writeIni("");
    readini(empty.ctx);

    Fixture garbage;
    QByteArray junk = bytes("\x00\x01\xff\xfe garbage\n=\n[[[\n]\nnot an entry\n\xc3(\n");
    junk += QByteArray(10000, '\x7f') + '\n';
    garbage.writeIni(junk);
    readini(garbage.ctx);
    QCOMPARE(snapshot(garbage.ctx), snapshot(empty.ctx));

    Fixture dup;
    dup.writeIni("[Preferences]\r\nRunHTML=Yes\r\nrunhtml=No\r\n[Tth]\r\nItalics=Yes\r\n"
                 "[PREFERENCES]\r\nRunHTML=No\r\nClose=Yes\r\n[TeX4ht]\r\nSubDir=" +
                 QByteArray(10000, 'd') + "\r\n");
    readini(dup.ctx);
    QCOMPARE(dup.model.checkValue(ctl::chkIE), 1);
    QCOMPARE(dup.model.checkValue(ctl::chkClose), 1);
    QCOMPARE(dup.model.checkValue(ctl::chkItalics), 1);
    QCOMPARE(dup.model.text(ctl::txtImages).size(), 199);
}

void TestIniSync::missingIniReadsDefaults() {
    Fixture f(false);
    readini(f.ctx);
    QCOMPARE(f.ctx.settings.vars.scrollFraction, 0.01);
    QCOMPARE(f.ctx.settings.vars.startupTab, 0);
    QVERIFY(f.ctx.settings.vars.advancedSave);
    QCOMPARE(f.model.text(ctl::cmbAbout), QStringLiteral("Default"));
    QCOMPARE(f.model.tag(ctl::cmdInit), QStringLiteral("0"));
    QVERIFY(!QFileInfo::exists(iniPath(f.ctx)));
}

void TestIniSync::reloadEqualsFreshStart() {
    Fixture fresh;
    readini(fresh.ctx);
    CheckPaths(fresh.ctx);

    Fixture reloaded;
    readini(reloaded.ctx);
    setEveryOption(reloaded.ctx, true);
    reloaded.model.setItems(ctl::tex4htArgs, {"a", "b", "c", "d", "e", "f"});
    reloadIni(reloaded.ctx);
    // The read fills elements 1 and 5 of the TeX4ht argument list and leaves
    // the others to the composition of the command line that follows it.
    QStringList probes = everyProbe;
    probes.removeOne(QStringLiteral("items:tex4htArgs"));
    probes << QStringLiteral("arg:1") << QStringLiteral("arg:5");
    QCOMPARE(snapshot(reloaded.ctx, probes), snapshot(fresh.ctx, probes));
}

void TestIniSync::reloadReadsTwiceAndRefreshes() {
    Fixture f;
    QDir().mkpath(f.home.file("docs"));
    f.writeIni(
        "[Paths]\nTeXDocs=" + f.home.file("docs").toUtf8() +
        "\nHevea=/usr/bin\n[Preferences]\nAllowMultiProcess=Yes\n[Hevea]\nOutputType=html\n");
    int tagChanges = 0;
    connect(&f.model, &OptionsModel::changed, this,
            [&](ctl::Control name, OptionsModel::Aspect aspect) {
                if (name == ctl::chkMulti && aspect == OptionsModel::Aspect::Tag)
                    ++tagChanges;
            });
    int configs = 0;
    int compositions = 0;
    f.ctx.loadDefaultConfig = [&] { ++configs; };
    f.ctx.composeTex4htCommandLine = [&] {
        QVERIFY(f.model.isVisible(ctl::chkHtrun));
        ++compositions;
    };
    f.model.setVisible(ctl::chkHtrun, false);
    f.model.setText(ctl::txtExclude, "old.tex");
    reloadIni(f.ctx);

    QCOMPARE(tagChanges, 4); // "no message" and back, once per read
    QCOMPARE(configs, 1);
    QCOMPARE(compositions, 1);
    QVERIFY(f.model.isVisible(ctl::chkHtrun));
    QCOMPARE(f.model.text(ctl::txtExclude), QString());
    QCOMPARE(f.ctx.settings.vars.openDialogDir, f.home.file("docs"));
    if (!QFileInfo(QStringLiteral("/usr/bin/hevea")).isExecutable())
        QSKIP("hevea is not installed");
    const QStringList styles = f.model.items(ctl::List1);
    QVERIFY(styles.size() > 2);
    QCOMPARE(styles.first(), QString(26, '-'));
    QVERIFY(styles.contains(QStringLiteral("article.hva")));
    QVERIFY(!styles.contains(QStringLiteral("hevea.hva")));
}

void TestIniSync::reloadListsStylesOfTheProgramDirectoryWithoutHevea() {
    Fixture f;
    f.writeIni("[Paths]\nHevea=" + f.home.file("nohevea").toUtf8() + "\n");
    for (const char* name : {"b.HVA", "a.hva", "hevea.hva", "copy of hevea.hva", "c.txt"})
        f.home.write(name, "%\n");
    reloadIni(f.ctx);
    QVERIFY(!f.ctx.settings.paths.programFoundOn(TabHevea));
    QCOMPARE(f.model.items(ctl::List1), (QStringList{QString(26, '-'), "a.hva", "b.HVA"}));
}

void TestIniSync::editIni_data() {
    QTest::addColumn<QString>("editor");
    QTest::addColumn<bool>("startWorks");
    QTest::addColumn<bool>("openWorks");
    QTest::addColumn<QString>("notepad");
    QTest::addColumn<QStringList>("started"); // program and file of each start, "|"-joined
    QTest::addColumn<int>("opened");
    QTest::addColumn<bool>("told");
    QTest::newRow("text editor") << "/opt/ed" << true << true << "/usr/bin/gedit"
                                 << QStringList{"/opt/ed|INI"} << 0 << false;
    QTest::newRow("association") << "" << true << true << "/usr/bin/gedit" << QStringList{} << 1
                                 << false;
    QTest::newRow("no association: notepad") << "" << true << false << "/usr/bin/gedit"
                                             << QStringList{"/usr/bin/gedit|INI"} << 1 << false;
    QTest::newRow("no editor at all") << "" << true << false << "" << QStringList{} << 1 << true;
    QTest::newRow("editor fails to start")
        << "/opt/ed" << false << true << "" << QStringList{"/opt/ed|INI"} << 1 << false;
}

void TestIniSync::editIni() {
    QFETCH(QString, editor);
    QFETCH(bool, startWorks);
    QFETCH(bool, openWorks);
    QFETCH(QString, notepad);
    QFETCH(QStringList, started);
    QFETCH(int, opened);
    QFETCH(bool, told);
    Fixture f;
    f.ctx.settings.vars.editor = editor;
    f.shell.startResult = startWorks;
    f.shell.openResult = openWorks;
    f.shell.notepadProgram = notepad;
    morvane::editIni(f.ctx);
    const QString ini = f.home.file("Morvane.ini");
    QStringList starts;
    for (const QStringList& s : f.shell.started)
        starts.append(s.join('|').replace(ini, QStringLiteral("INI")));
    QCOMPARE(starts, started);
    QCOMPARE(f.shell.opened, QStringList(opened, ini));
    QCOMPARE(f.prompter.prompts().size(), told ? 1 : 0);
    if (told) {
        QCOMPARE(f.prompter.prompts().first().title, QStringLiteral("INI File"));
        QVERIFY(f.prompter.prompts().first().text.contains(ini));
    }
}

void TestIniSync::failedSaveTellsOnceAndTouchesNothingElse_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("Morvane.ini is a directory") << "directory";
    QTest::newRow("program directory missing") << "missing";
}

void TestIniSync::failedSaveTellsOnceAndTouchesNothingElse() {
    QFETCH(QString, kind);
    // Running as root, permissions do not stop a write; a target that cannot
    // be replaced does.
    Fixture f;
    const QString fileList = f.home.write("FileList.txt", "/home/a/paper.tex\n");
    if (kind == QStringLiteral("directory")) {
        QVERIFY(QFile::remove(iniPath(f.ctx)));
        QVERIFY(QDir().mkpath(iniPath(f.ctx) + QStringLiteral("/keep")));
    } else {
        f.ctx.programDir = f.home.file("gone");
    }
    const QByteArray convert = test::readAll(f.home.file("convert.sh"));
    setEveryOption(f.ctx, true);
    QVERIFY(!writeini(f.ctx));
    const Prompt expected{QStringLiteral("Unable to save all the preferences"),
                          QStringLiteral("Save Preferences"), Buttons::Ok, Icon::Critical,
                          Answer::Ok};
    QCOMPARE(f.prompter.prompts().size(), 1);
    QVERIFY(f.prompter.prompts().first() == expected);
    QCOMPARE(test::readAll(fileList), QByteArray("/home/a/paper.tex\n"));
    QCOMPARE(test::readAll(f.home.file("convert.sh")), convert);
    if (kind == QStringLiteral("directory"))
        QVERIFY(QFileInfo(iniPath(f.ctx) + QStringLiteral("/keep")).isDir());
    else
        QVERIFY(!QFileInfo::exists(f.home.file("gone")));
}

void TestIniSync::unstorableValueStillSavesTheOtherKeys() {
    Fixture f;
    readini(f.ctx);
    setEveryOption(f.ctx, true);
    f.model.setText(ctl::txtImages, "two\nlines");
    QVERIFY(!writeini(f.ctx));
    QCOMPARE(f.prompter.prompts().size(), 1);
    QCOMPARE(f.prompter.prompts().first().text,
             QStringLiteral("Unable to save all the preferences"));
    QCOMPARE(f.stored("TeX4ht", "SubDir"), QStringLiteral("images"));
    QCOMPARE(f.stored("Hevea", "Hacha"), QStringLiteral("Yes"));
    QCOMPARE(f.stored("Latex2HTML", "Verbosity"), QStringLiteral("5"));
}

MORVANE_TEST_GUILESS_MAIN(TestIniSync)
#include "tst_inisync.moc"
