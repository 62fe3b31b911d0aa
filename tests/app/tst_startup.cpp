#include "app/inicommands.h"
#include "app/startup.h"
#include "drivers/tex4ht.h"
#include "pipeline/appcontext.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "settings/inisync.h"
#include "settings/optionsmodel.h"
#include "support/doubles.h"
#include "support/testhome.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>
#include <memory>

using namespace morvane;
using morvane::test::TestHome;

namespace {

const QString separator = QString(26, QLatin1Char('-'));

// A Morvane.ini that points HeVeA at `heveaDir` and names the start-up tab.
QByteArray iniText(const QString& heveaDir, int startupTab, const QString& ver25 = "No") {
    return QStringLiteral(
               "[Paths]\nHevea=%1\n[Preferences]\nStartupTab=%2\nSavePrefs=Yes\n"
               "[Hevea]\nVersion1.05OrLater=No\nEsponja=Yes\nCode=Native\n[TeX4ht]\nVer2.5=%3\n")
        .arg(heveaDir)
        .arg(startupTab)
        .arg(ver25)
        .toUtf8();
}

// One load of the program against a test home.
struct Load {
    OptionsModel model;
    ScriptedPrompter prompter;
    RecordingShell shell;
    AppContext ctx;

    explicit Load(const QString& programDir) {
        ctx.programDir = programDir;
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        ctx.seams.shell = &shell;
    }
    bool run(const QString& commandLineFile = QString()) { return loadStep(ctx, commandLineFile); }
};

void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(content);
}

// A home with the shipped convert.sh and a controlled Morvane.ini.
std::unique_ptr<TestHome> homeWith(const QByteArray& ini) {
    auto home = std::make_unique<TestHome>();
    home->write("Morvane.ini", ini);
    if (!QFile::exists(home->file("convert.sh")))
        home->write("convert.sh", QFile::exists(test::shippedFile("convert.sh"))
                                      ? test::readAll(test::shippedFile("convert.sh"))
                                      : QByteArray("#!/bin/sh\n"));
    return home;
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void missingIniStopsWithItsMessage() {
        TestHome home(false);
        home.write("convert.sh", "#!/bin/sh\n");
        Load load(home.path());
        QVERIFY(!load.run());
        QCOMPARE(load.prompter.prompts().size(), 1);
        const Prompt& p = load.prompter.prompts().first();
        QCOMPARE(p.text, "Can't find " + home.path() +
                             "/Morvane.ini file.\n\nCannot run Morvane without this file.");
        QCOMPARE(p.title, QString("Initialisation File"));
        QCOMPARE(p.icon, Icon::Critical);
        QCOMPARE(p.buttons, Buttons::Ok);
        QVERIFY(!load.ctx.loading);
        QVERIFY(!QFile::exists(home.file("Morvane.ini")));
    }

    // A Morvane.ini that cannot be the settings says so, instead of giving
    // "Not Found" for every program.
    void damagedIniStopsWithItsCause_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("cause");
        QTest::newRow("empty") << QByteArray("\n\n") << "it is empty";
        QTest::newRow("binary") << QByteArray("[Paths]\0\x01\x02", 10) << "it is not a text file";
        QTest::newRow("other file") << QByteArray("hello\n") << "it has no [Paths] section";
        QTest::newRow("folder") << QByteArray() << "it is a folder, not a file";
    }
    void damagedIniStopsWithItsCause() {
        QFETCH(QByteArray, content);
        QFETCH(QString, cause);
        TestHome home(false);
        home.write("convert.sh", "#!/bin/sh\n");
        if (content.isNull())
            QVERIFY(QDir().mkpath(home.file("Morvane.ini")));
        else
            home.write("Morvane.ini", content);
        Load load(home.path());
        QVERIFY(!load.run());
        QCOMPARE(load.prompter.prompts().size(), 1);
        const Prompt& p = load.prompter.prompts().first();
        QCOMPARE(p.text, home.file("Morvane.ini") + " is damaged: " + cause +
                             ".\n\nRestore it from a backup, or rename it and put a copy of the "
                             "Morvane.ini Morvane was installed with in its place.");
        QCOMPARE(p.title, QString("Initialisation File"));
        QCOMPARE(p.icon, Icon::Critical);
    }

    void missingBatchDriverStopsWithItsMessage() {
        TestHome home(false);
        const QByteArray ini = iniText("/nonexistent", 0);
        home.write("Morvane.ini", ini);
        Load load(home.path());
        QVERIFY(!load.run());
        QCOMPARE(load.prompter.prompts().size(), 1);
        const Prompt& p = load.prompter.prompts().first();
        QCOMPARE(p.text, "Can't find " + home.path() +
                             "/convert.sh file.\n\nMorvane cannot run any programs without "
                             "this file.");
        QCOMPARE(p.title, QString("Batch File"));
        QCOMPARE(p.icon, Icon::Critical);
        // Nothing is written when the start-up stops.
        QCOMPARE(test::readAll(home.file("Morvane.ini")), ini);
        QVERIFY(!QFile::exists(home.file("FileList.txt")));
    }

    void commandLineFileInTheFileBox_data() {
        QTest::addColumn<QString>("argument"); // %1 = the test folder
        QTest::addColumn<QString>("expected");
        QTest::newRow("quotes around a path with blanks") << "\"%1/my paper.tex\""
                                                          << "%1/my paper.tex";
        QTest::newRow("quotes inside") << "%1/my\" paper.tex\""
                                       << "%1/my paper.tex";
        QTest::newRow("relative name, completed with the current folder") << "my paper.tex"
                                                                          << "%1/my paper.tex";
        QTest::newRow("relative path with a folder") << "sub/b.tex"
                                                     << "%1/sub/b.tex";
        QTest::newRow("missing folder gives an empty box") << "%1/gone/a.tex"
                                                           << "";
        QTest::newRow("root alone is cleared") << "/"
                                               << "";
        QTest::newRow("a quote alone leaves the box empty") << "\""
                                                            << "";
    }
    void commandLineFileInTheFileBox() {
        QFETCH(QString, argument);
        QFETCH(QString, expected);
        auto home = homeWith(iniText("/nonexistent", 0));
        QTemporaryDir docs;
        writeFile(docs.filePath("my paper.tex"), "x");
        writeFile(docs.filePath("sub/b.tex"), "x");
        const QString previous = QDir::currentPath();
        QDir::setCurrent(docs.path());
        Load load(home->path());
        const bool loaded = load.run(QString(argument).replace("%1", docs.path()));
        QDir::setCurrent(previous);
        QVERIFY(loaded);
        QCOMPARE(load.model.text(ctl::cmbTeX), QString(expected).replace("%1", docs.path()));
    }

    void commandLineHelpers_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("full");
        QTest::newRow("none") << QStringList{} << ""
                              << "";
        QTest::newRow("one quoted") << QStringList{"\"/a b/c.tex\""} << "/a b/c.tex"
                                    << "/a b/c.tex";
        QTest::newRow("split by the shell") << QStringList{"my", "paper.tex"} << "my paper.tex"
                                            << "/cwd/my paper.tex";
        QTest::newRow("relative with folder") << QStringList{"./d/x.tex"} << "./d/x.tex"
                                              << "/cwd/d/x.tex";
    }
    void commandLineHelpers() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, file);
        QFETCH(QString, full);
        QCOMPARE(commandLineFileOf(arguments), file);
        QCOMPARE(fullPathOf(file, "/cwd"), full);
    }

    void startupTabSelected_data() {
        QTest::addColumn<int>("startupTab");
        QTest::addColumn<int>("tab");
        QTest::newRow("HeVeA") << 0 << 1;
        QTest::newRow("TeX4ht") << 2 << 3;
        QTest::newRow("PDF") << 5 << 6;
        QTest::newRow("LaTeXML") << 6 << 7;
        // A hand-edited number counts round the routes.
        QTest::newRow("one past the last wraps to TtH") << int(builtInRoutes().size()) + 1 << 2;
    }
    void startupTabSelected() {
        QFETCH(int, startupTab);
        QFETCH(int, tab);
        auto home = homeWith(iniText("/nonexistent", startupTab, "Yes"));
        Load load(home->path());
        QVERIFY(load.run());
        QCOMPARE(load.model.index(ctl::tbstrip), tab);
        QCOMPARE(load.model.index(ctl::cmbTabs), tab - 1);
        QCOMPARE(load.model.items(ctl::cmbTabs),
                 (QStringList{"HeVeA", "TtH", "TeX4ht", "LaTeX2HTML", "DVI", "PDF", "LaTeXML",
                              "Pandoc"}));
        QVERIFY(!load.ctx.loading);
        QCOMPARE(load.model.items(ctl::cmbPasses), (QStringList{"Default", "1", "2", "3"}));
        QCOMPARE(load.model.index(ctl::cmbPasses), 0);
        QCOMPARE(load.model.caption(ctl::lblListCover), QString());
        QCOMPARE(load.model.caption(ctl::Label5), QString("May take a long time to convert"));
    }

    void styleListFromTheProgramDirectory_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("list");
        QTest::newRow("only hevea.hva: empty, no separator")
            << QStringList{"hevea.hva"} << QStringList{};
        QTest::newRow("copies of hevea.hva left out")
            << QStringList{"hevea.hva", "Copy of hevea.hva", "b.hva", "a.hva"}
            << QStringList{separator, "a.hva", "b.hva"};
    }
    void styleListFromTheProgramDirectory() {
        QFETCH(QStringList, files);
        QFETCH(QStringList, list);
        // HeVeA not found: the style list reads the program directory.
        auto home = homeWith(iniText("/nonexistent", 0));
        for (const QString& name : files)
            home->write(name, "% style");
        Load load(home->path());
        QVERIFY(load.run());
        QCOMPARE(load.model.items(ctl::List1), list);
    }

    void heveaVersionRules_data() {
        QTest::addColumn<bool>("nativeHevea");
        QTest::addColumn<bool>("esponja");
        QTest::addColumn<bool>("frame12");
        QTest::addColumn<bool>("version");
        QTest::addColumn<bool>("esponjaEnabled");
        QTest::addColumn<bool>("esponjaTicked");
        QTest::newRow("native and esponja") << true << true << true << true << true << true;
        QTest::newRow("native, no esponja") << true << false << true << true << false << false;
        QTest::newRow("bytecode only: version unticked clears esponja")
            << false << true << false << false << true << false;
    }
    void heveaVersionRules() {
        QFETCH(bool, nativeHevea);
        QFETCH(bool, esponja);
        QFETCH(bool, frame12);
        QFETCH(bool, version);
        QFETCH(bool, esponjaEnabled);
        QFETCH(bool, esponjaTicked);
        QTemporaryDir heveaDir;
        if (nativeHevea)
            writeFile(heveaDir.filePath("hevea.opt"), "");
        if (esponja)
            writeFile(heveaDir.filePath("esponja"), "");
        auto home = homeWith(iniText(heveaDir.path(), 0));
        Load load(home->path());
        QVERIFY(load.run());
        QCOMPARE(load.model.isVisible(ctl::Frame12), frame12);
        QCOMPARE(load.model.isChecked(ctl::chkVersion), version);
        QCOMPARE(load.model.isEnabled(ctl::chkEsponja), esponjaEnabled);
        QCOMPARE(load.model.isChecked(ctl::chkEsponja), esponjaTicked);
        // Without the native HeVeA the byte-code one is chosen.
        QCOMPARE(load.model.index(ctl::optCode), frame12 ? 1 : 0);
    }

    void historyAndLabels() {
        auto home = homeWith(iniText("/nonexistent", 0));
        home->write("FileList.txt", ";comment\n/a/one.tex\nrelative.tex\n/b/two.tex\n");
        Load load(home->path());
        QVERIFY(load.run());
        QCOMPARE(load.model.items(ctl::cmbTeX), (QStringList{"/a/one.tex", "/b/two.tex"}));
        QCOMPARE(load.model.caption(ctl::lblVersion), "Morvane " + programVersion() +
                                                          QString(6, ' ') + QChar(0xa9) +
                                                          " The Morvane developers");
        QVERIFY(QRegularExpression("^\\d{1,2} [A-Z][a-z]{2} \\d{4}  \\d{1,2}:\\d{2} (AM|PM)$")
                    .match(load.model.caption(ctl::lblDateTime))
                    .hasMatch());
        QVERIFY(!load.ctx.l2hRun);
    }

    void openDialogStartsInTheTeXDocuments_data() {
        QTest::addColumn<bool>("docsExist");
        QTest::newRow("folder present") << true;
        QTest::newRow("folder missing") << false;
    }
    void openDialogStartsInTheTeXDocuments() {
        QFETCH(bool, docsExist);
        auto home = homeWith(QByteArray());
        const QString docs = home->file("docs");
        home->write("Morvane.ini", "[Paths]\nTeXDocs=" + docs.toUtf8() + "/\n");
        if (docsExist)
            QVERIFY(QDir().mkpath(docs));
        Load load(home->path());
        QVERIFY(load.run());
        QCOMPARE(load.ctx.settings.vars.openDialogDir, docsExist ? docs : QString());
    }

    void upgradeNoticeOnce() {
        auto home = homeWith(iniText("/nonexistent", 2));
        {
            Load load(home->path());
            QVERIFY(load.run());
            // The tab selected while loading shows nothing by itself.
            QVERIFY(load.prompter.prompts().isEmpty() ||
                    load.prompter.prompts().last().title != "Updated Version");
            const int before = load.prompter.prompts().size();
            upgradeNoticeStep(load.ctx);
            QCOMPARE(load.prompter.prompts().size(), before + 1);
            const Prompt& p = load.prompter.prompts().last();
            QCOMPARE(p.title, QString("Updated Version"));
            QCOMPARE(p.icon, Icon::Exclamation);
            QCOMPARE(p.text, upgradeNoticeText());
            QVERIFY(p.text.startsWith("Morvane has been updated to version "));
            QVERIFY(p.text.endsWith(". \nThe method of saving command lines has changed.\n\n"
                                    "Check that the loaded command line is as you would expect "
                                    "\nor change it by pressing the Advanced button."));
            upgradeNoticeStep(load.ctx);
            QCOMPARE(load.prompter.prompts().size(), before + 1);
            QVERIFY(writeini(load.ctx));
        }
        // Saved with the preferences: the next start shows nothing.
        Load again(home->path());
        QVERIFY(again.run());
        upgradeNoticeStep(again.ctx);
        for (const Prompt& p : again.prompter.prompts())
            QVERIFY(p.title != "Updated Version");
    }

    void programRegisteredInTheUserStore() {
        QTemporaryDir store;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, store.path());
        QTemporaryDir dir;
        writeFile(dir.filePath("morvane"), "");
        for (const QString& executable : {dir.filePath("morvane"), dir.filePath("gone")}) {
            registerProgram(executable);
            QSettings settings("Morvane", "Morvane");
            settings.beginGroup("Path");
            QCOMPARE(settings.value("Short").toString(), executable);
            QCOMPARE(settings.value("Long").toString(),
                     QFile::exists(executable) ? executable : QString());
            QCOMPARE(settings.value("Version").toString(), programVersion());
        }
        QVERIFY(QFile::exists(store.path() + "/Morvane/Morvane.conf"));
    }

    void upgradeNoticeOnlyOnTheTex4htTab() {
        auto home = homeWith(iniText("/nonexistent", 1));
        Load load(home->path());
        QVERIFY(load.run());
        const int before = load.prompter.prompts().size();
        upgradeNoticeStep(load.ctx);
        QCOMPARE(load.prompter.prompts().size(), before);
        QVERIFY(!load.ctx.settings.vars.upgradeNoticeShown);
    }
};

MORVANE_TEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
