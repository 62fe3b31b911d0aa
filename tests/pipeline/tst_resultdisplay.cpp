#include "drivers/conversionrig.h"
#include "pipeline/appcontext.h"
#include "pipeline/conversion.h"
#include "pipeline/resultdisplay.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "settings/optionsmodel.h"
#include "support/doubles.h"
#include "support/testhome.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace morvane;

namespace {

class RecordingViewer : public ResultViewer {
public:
    void show(const QString& file) override { shown.append(file); }
    QStringList shown;
};

struct Results {
    QTemporaryDir dir;
    OptionsModel model;
    ScriptedPrompter prompter;
    RecordingShell shell;
    RecordingViewer viewer;
    AppContext ctx;
    int quits = 0;

    Results() {
        ctx.programDir = dir.path() + "/prog";
        QDir().mkpath(ctx.programDir);
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        ctx.seams.shell = &shell;
        ctx.seams.viewer = &viewer;
        ctx.seams.quitProgram = [this] { ++quits; };
    }
    QString write(const QString& name, const QByteArray& content) const {
        const QString path = dir.path() + "/" + name;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile out(path);
        out.open(QIODevice::WriteOnly);
        out.write(content);
        return path;
    }
};

} // namespace

class TestResultDisplay : public QObject {
    Q_OBJECT
private slots:
    void headerPrependedReturnsTheMessages() {
        Results d;
        const QString log = d.write("a.log", "This is pdfTeX\nline two\n");
        const auto messages = prependLogHeader(log, "Latex log file for /x/a.tex");
        QVERIFY(messages);
        QCOMPARE(*messages, QByteArray("This is pdfTeX\nline two\n"));
        QCOMPARE(test::readAll(log),
                 QByteArray("Latex log file for /x/a.tex\n\nThis is pdfTeX\nline two\n"));
        // No temporary files are left beside the log.
        QCOMPARE(QDir(d.dir.path()).entryList(QDir::Files), QStringList{"a.log"});
    }

    void headerErrorsLeaveTheLog() {
        Results d;
        const QString log = d.write("ro/a.log", "original\n");
        QFile::setPermissions(d.dir.path() + "/ro", QFile::ReadOwner | QFile::ExeOwner);
        const auto messages = prependLogHeader(log, "Latex log file for /x/a.tex");
        QFile::setPermissions(d.dir.path() + "/ro",
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (QFileInfo(d.dir.path() + "/ro").isWritable() && test::readAll(log) != "original\n")
            QSKIP("running with rights that ignore folder permissions");
        QVERIFY(!messages);
        QCOMPARE(test::readAll(log), QByteArray("original\n"));
        // A missing log is not created.
        QVERIFY(!prependLogHeader(d.dir.path() + "/none.log", "h"));
        QVERIFY(!QFile::exists(d.dir.path() + "/none.log"));
    }

    void runIeMessages_data() {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("title");
        QTest::newRow("missing") << false << " not found!"
                                 << "No HTML File";
        QTest::newRow("empty") << true << " is empty!"
                               << "Empty HTML File";
    }
    void runIeMessages() {
        QFETCH(bool, exists);
        QFETCH(QString, suffix);
        QFETCH(QString, title);
        Results d;
        const QString page = d.dir.path() + "/a.html";
        if (exists)
            d.write("a.html", "");
        d.model.setEnabled(ctl::cmdShow, false);
        RunIE(d.ctx, page);
        QCOMPARE(d.prompter.prompts().size(), 1);
        QCOMPARE(d.prompter.prompts().first().text, page + suffix);
        QCOMPARE(d.prompter.prompts().first().title, title);
        QCOMPARE(d.prompter.prompts().first().icon, Icon::Exclamation);
        QVERIFY(d.shell.opened.isEmpty());
        QVERIFY(d.viewer.shown.isEmpty());
        QVERIFY(!d.model.isEnabled(ctl::cmdShow));
    }

    // A document this run did not produce is not opened, and Show follows
    // whether the result is there, also when it is opened at once.
    void onlyWhatTheRunProducedIsOpened_data() {
        QTest::addColumn<bool>("produced");
        QTest::newRow("produced") << true;
        QTest::newRow("an earlier one") << false;
    }
    void onlyWhatTheRunProducedIsOpened() {
        QFETCH(bool, produced);
        Results d;
        const QString file = d.write("a.pdf", "%PDF-1.5");
        d.model.setCheckValue(ctl::chkIE, 1);
        d.model.setEnabled(ctl::cmdShow, false);
        Conversion conversion(d.ctx, *routeForTab(d.ctx.routes, TabPdf), file);
        conversion.result.output = file;
        conversion.result.produced = produced;
        finishConversion(d.ctx, conversion);
        QCOMPARE(d.shell.opened, produced ? QStringList{file} : QStringList());
        QVERIFY(d.model.isEnabled(ctl::cmdShow));
    }

    // A page or document the desktop cannot open is said, not passed over.
    void openingThatFailsIsTold_data() {
        QTest::addColumn<int>("tab");
        QTest::newRow("page") << int(TabHevea);
        QTest::newRow("document") << int(TabPdf);
    }
    void openingThatFailsIsTold() {
        QFETCH(int, tab);
        Results d;
        const QString file = d.write("a.html", "<html></html>");
        d.shell.openResult = false;
        d.model.setCheckValue(ctl::chkIE, 1);
        Conversion conversion(d.ctx, *routeForTab(d.ctx.routes, tab), file);
        conversion.result.output = file;
        conversion.result.produced = true;
        finishConversion(d.ctx, conversion);
        QCOMPARE(d.shell.opened, QStringList{file});
        QCOMPARE(d.prompter.prompts().size(), 1);
        QCOMPARE(d.prompter.prompts().first().text, openFailureText(file));
    }

    // An opener that starts and then fails is reported when it ends, with
    // what the failing program said, not as "no program".
    void failingOpenerIsReported_data() {
        QTest::addColumn<QByteArray>("opener");
        QTest::addColumn<QString>("error");
        QTest::newRow("silent") << QByteArray("exit 4") << "It ended with status 4.";
        QTest::newRow("viewer's own words")
            << QByteArray("echo starting >&2; echo 'Unable to open document' >&2; exit 1")
            << "starting\nUnable to open document";
        QTest::newRow("crash") << QByteArray("kill -SEGV $$") << "It crashed.";
    }
    void failingOpenerIsReported() {
        QFETCH(QByteArray, opener);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const QString program = dir.filePath("opener");
        test::writeProgram(program, "#!/bin/sh\n" + opener + "\n");
        DesktopShell shell;
        shell.setOpener(program);
        QList<OpenFailure> reported;
        shell.setOpenFailureReport([&reported](const OpenFailure& f) { reported.append(f); });
        QVERIFY(shell.open("https://example.org/page.html"));
        QTRY_COMPARE(reported.size(), 1);
        QCOMPARE(reported.first().file, QString("https://example.org/page.html"));
        QCOMPARE(reported.first().error, error);
        QVERIFY(viewerFailureText(reported.first()).endsWith(" failed:\n" + error));
    }

    void runIeOwnBrowser() {
        Results d;
        const QString page = d.write("My Dir/a.html", "<html></html>");
        d.model.setIndex(ctl::optIE, 1);
        d.model.setChecked(ctl::chkClose, true);
        d.model.setEnabled(ctl::cmdShow, false);
        RunIE(d.ctx, page);
        QCOMPARE(d.viewer.shown, QStringList{page});
        QVERIFY(d.shell.opened.isEmpty());
        // The close rule belongs to the external browser only.
        QCOMPARE(d.quits, 0);
        QVERIFY(d.model.isEnabled(ctl::cmdShow));
    }

    void closeAfterRunning_data() {
        QTest::addColumn<bool>("close");
        QTest::addColumn<bool>("programPage");
        QTest::addColumn<bool>("opened");
        QTest::addColumn<int>("quits");
        QTest::newRow("close ticked: ends") << true << false << true << 1;
        QTest::newRow("close unticked: stays") << false << false << true << 0;
        QTest::newRow("program's tex.htm: stays") << true << true << true << 0;
        QTest::newRow("browser failed to open: stays") << true << false << false << 0;
    }
    void closeAfterRunning() {
        QFETCH(bool, close);
        QFETCH(bool, programPage);
        QFETCH(bool, opened);
        QFETCH(int, quits);
        Results d;
        const QString page =
            programPage ? d.write("prog/tex.htm", "<p>") : d.write("a.html", "<p>");
        d.model.setIndex(ctl::optIE, 0);
        d.model.setChecked(ctl::chkClose, close);
        d.shell.openResult = opened;
        d.model.setEnabled(ctl::cmdShow, false);
        RunIE(d.ctx, page);
        QCOMPARE(d.shell.opened, QStringList{page});
        QCOMPARE(d.quits, quits);
        QCOMPARE(d.model.isEnabled(ctl::cmdShow), quits == 0);
    }

    void viewLogWithTheEditor() {
        Results d;
        d.ctx.settings.vars.editor = "/opt/tools/ed";
        d.model.setIndex(ctl::tbstrip, TabHevea);
        logOf(d.ctx.logs, "hevea") = d.write("My Docs/a.hlog", "log");
        cmdLog_Click(d.ctx);
        QCOMPARE(d.shell.started.size(), 1);
        // One argument, blanks and all.
        QCOMPARE(d.shell.started.first(),
                 (QStringList{"/opt/tools/ed", logOf(d.ctx.logs, "hevea")}));
        QVERIFY(d.shell.opened.isEmpty());
    }

    void viewLogWithoutEditor_data() {
        QTest::addColumn<bool>("openWorks");
        QTest::addColumn<QString>("notepad");
        QTest::addColumn<int>("starts");
        QTest::addColumn<int>("messages");
        QTest::newRow("associated program") << true << "/usr/bin/gedit" << 0 << 0;
        QTest::newRow("no association: plain-text editor") << false << "/usr/bin/gedit" << 1 << 0;
        QTest::newRow("no editor at all: told") << false << "" << 0 << 1;
    }
    void viewLogWithoutEditor() {
        QFETCH(bool, openWorks);
        QFETCH(QString, notepad);
        QFETCH(int, starts);
        QFETCH(int, messages);
        Results d;
        d.model.setIndex(ctl::tbstrip, TabTth);
        logOf(d.ctx.logs, "tth") = d.write("a.tlog", "log");
        d.shell.openResult = openWorks;
        d.shell.notepadProgram = notepad;
        cmdLog_Click(d.ctx);
        QCOMPARE(d.shell.opened, QStringList{logOf(d.ctx.logs, "tth")});
        QCOMPARE(d.shell.started.size(), starts);
        if (starts)
            QCOMPARE(d.shell.started.first(), (QStringList{notepad, logOf(d.ctx.logs, "tth")}));
        QCOMPARE(d.prompter.prompts().size(), messages);
    }

    void closeEnabledRule_data() {
        QTest::addColumn<bool>("runHtml");
        QTest::addColumn<int>("browser");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("run, external") << true << 0 << true;
        QTest::newRow("run, own browser") << true << 1 << false;
        QTest::newRow("no run, external") << false << 0 << false;
    }
    void closeEnabledRule() {
        QFETCH(bool, runHtml);
        QFETCH(int, browser);
        QFETCH(bool, enabled);
        Results d;
        d.model.setChecked(ctl::chkIE, runHtml);
        d.model.setIndex(ctl::optIE, browser);
        updateCloseEnabled(d.ctx);
        QCOMPARE(d.model.isEnabled(ctl::chkClose), enabled);
    }
};

MORVANE_TEST_GUILESS_MAIN(TestResultDisplay)
#include "tst_resultdisplay.moc"
