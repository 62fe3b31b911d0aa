#include "app/shutdown.h"
#include "pipeline/appcontext.h"
#include "pipeline/resultdisplay.h"
#include "platform/prompter.h"
#include "settings/optionsmodel.h"
#include "support/doubles.h"
#include "support/testhome.h"
#include "support/testmain.h"

#include <QFile>
#include <QTest>

using namespace morvane;
using morvane::test::TestHome;

namespace {

class CountingViewer : public ResultViewer {
public:
    void show(const QString&) override {}
    void savePlacement() override { ++saves; }
    int saves = 0;
};

struct Unload {
    TestHome home;
    OptionsModel model;
    ScriptedPrompter prompter;
    CountingViewer viewer;
    AppContext ctx;

    Unload() {
        home.write("Morvane.ini", "[Preferences]\nSavePrefs=No\n");
        ctx.programDir = home.path();
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        ctx.seams.viewer = &viewer;
    }
};

} // namespace

class TestShutdown : public QObject {
    Q_OBJECT
private slots:
    void runningConversionsQuestion_data() {
        QTest::addColumn<QStringList>("running");
        QTest::addColumn<QString>("alone");
        QTest::addColumn<QString>("text");
        QTest::newRow("one: process, it has")
            << QStringList{"/d/a.tex"} << QString()
            << "You are currently converting the following process:\n\n/d/a.tex\n\n"
               "You should wait until it has been completed.\n\nDo you still wish to exit?\n\n";
        QTest::newRow("two: processes, they have")
            << QStringList{"/d/a.tex", "/d/b.tex"} << QString()
            << "You are currently converting the following processes:\n\n/d/a.tex\n/d/b.tex\n\n"
               "You should wait until they have been completed.\n\nDo you still wish to "
               "exit?\n\n";
        // Single mode lists nothing; its one run is asked about all the same.
        QTest::newRow("a single-mode run")
            << QStringList{} << "/d/c.tex"
            << "You are currently converting the following process:\n\n/d/c.tex\n\n"
               "You should wait until it has been completed.\n\nDo you still wish to exit?\n\n";
    }
    void runningConversionsQuestion() {
        QFETCH(QStringList, running);
        QFETCH(QString, alone);
        QFETCH(QString, text);
        Unload u;
        u.model.setItems(ctl::lstProcesses, running);
        u.ctx.runningAlone = alone;
        u.prompter.queueAnswer(Answer::Yes);
        QVERIFY(unloadStep(u.ctx));
        QCOMPARE(u.prompter.prompts().size(), 1);
        const Prompt& p = u.prompter.prompts().first();
        QCOMPARE(p.text, text);
        QCOMPARE(p.title, QString("Exit"));
        QCOMPARE(p.buttons, Buttons::YesNo);
        QCOMPARE(p.icon, Icon::Question);
        QCOMPARE(p.defaultButton, Answer::No);
    }

    void noKeepsTheProgramOpenAndWritesNothing() {
        Unload u;
        u.model.setItems(ctl::lstProcesses, {"/d/a.tex", "/d/b.tex"});
        u.model.setItems(ctl::cmbTeX, {"/d/a.tex"});
        u.model.setChecked(ctl::chkSettings, true);
        const QByteArray ini = test::readAll(u.home.file("Morvane.ini"));
        u.prompter.queueAnswer(Answer::No);
        QVERIFY(!unloadStep(u.ctx));
        QCOMPARE(test::readAll(u.home.file("Morvane.ini")), ini);
        QVERIFY(!QFile::exists(u.home.file("FileList.txt")));
        QCOMPARE(u.viewer.saves, 0);
    }

    void savesWithoutAskingWhenNothingRuns() {
        Unload u;
        u.model.setItems(ctl::cmbTeX, {"/d/a.tex", "/e/b.tex"});
        QVERIFY(unloadStep(u.ctx));
        QVERIFY(u.prompter.prompts().isEmpty());
        const QByteArray history = test::readAll(u.home.file("FileList.txt"));
        QVERIFY(history.contains("/d/a.tex\n/e/b.tex"));
        // writeini stores the keys written at every exit.
        QVERIFY(test::readAll(u.home.file("Morvane.ini")).contains("BrowserPos"));
    }

    void browserPlacementOnlyWhenAsked_data() {
        QTest::addColumn<bool>("ticked");
        QTest::newRow("ticked") << true;
        QTest::newRow("unticked") << false;
    }
    void browserPlacementOnlyWhenAsked() {
        QFETCH(bool, ticked);
        Unload u;
        u.model.setChecked(ctl::chkSettings, ticked);
        QVERIFY(unloadStep(u.ctx));
        QCOMPARE(u.viewer.saves, ticked ? 1 : 0);
    }

    void antiVirusReminder_data() {
        QTest::addColumn<bool>("l2hRun");
        QTest::addColumn<bool>("reminder");
        QTest::addColumn<bool>("shown");
        QTest::newRow("after a LaTeX2HTML run, box ticked") << true << true << true;
        QTest::newRow("no LaTeX2HTML run") << false << true << false;
        QTest::newRow("box unticked") << true << false << false;
    }
    void antiVirusReminder() {
        QFETCH(bool, l2hRun);
        QFETCH(bool, reminder);
        QFETCH(bool, shown);
        Unload u;
        u.ctx.l2hRun = l2hRun;
        u.model.setChecked(ctl::chkAntiVirus, reminder);
        QVERIFY(unloadStep(u.ctx));
        QCOMPARE(u.prompter.prompts().size(), shown ? 1 : 0);
        if (shown) {
            const Prompt& p = u.prompter.prompts().first();
            QCOMPARE(p.text, QString("Just to remind you to turn the virus checker back on!"));
            QCOMPARE(p.title, QString("Anti-Virus Reminder"));
            QCOMPARE(p.icon, Icon::Exclamation);
        }
    }
};

MORVANE_TEST_GUILESS_MAIN(TestShutdown)
#include "tst_shutdown.moc"
