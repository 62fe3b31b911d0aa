#include "app/optionhandlers.h"
#include "pipeline/appcontext.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "settings/optionsmodel.h"
#include "support/doubles.h"
#include "support/testhome.h"
#include "support/testmain.h"
#include "ui/guistart.h"
#include "ui/mainwindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace morvane;

namespace {

struct Window {
    test::TestHome home{false};
    OptionsModel model;
    ScriptedPrompter prompter;
    RecordingShell shell;
    AppContext ctx;
    std::unique_ptr<MainWindow> window;

    Window() {
        ctx.programDir = home.path();
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        ctx.seams.shell = &shell;
        ctx.settings.vars.upgradeNoticeShown = true;
        connectOptionHandlers(ctx);
        model.setIndex(ctl::tbstrip, TabHevea);
        window = std::make_unique<MainWindow>(ctx);
        installMainKeys(ctx, *window);
        window->show();
    }
};

} // namespace

class TestGuiStart : public QObject {
    Q_OBJECT
private slots:
    // With MORVANE_HOME set the per-user store lives there too: nothing is
    // written into the user's configuration folder.
    void perUserStoreInMorvaneHome() {
        const QString program = QStringLiteral(MORVANE_BUILD_PROGRAM_DIR "/morvane");
        test::TestHome home;
        QTemporaryDir config;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("MORVANE_HOME", home.path());
        env.insert("XDG_CONFIG_HOME", config.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("MORVANE_QUIT_WHEN_SHOWN", "1");
        QProcess run;
        run.setProcessEnvironment(env);
        run.start(program, {});
        QVERIFY(run.waitForFinished(30000));
        QCOMPARE(run.exitCode(), 0);
        QVERIFY(QFileInfo::exists(home.file("Morvane/Morvane.conf")));
        QCOMPARE(QDir(config.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
    }

    void f1SelectsTheHelpTab() {
        Window w;
        QTest::keyClick(w.window.get(), Qt::Key_F1);
        QCOMPARE(w.model.index(ctl::tbstrip), int(TabHelp));
    }

    void modifiedF1DoesNothing() {
        Window w;
        QTest::keyClick(w.window.get(), Qt::Key_F1, Qt::ControlModifier);
        QCOMPARE(w.model.index(ctl::tbstrip), int(TabHevea));
    }

    void handOverPutsTheFileIntoTheFileBox() {
        Window w;
        QTemporaryDir dir;
        const QString report = dir.filePath("report.txt");
        qputenv("MORVANE_TEST_REPORT", report.toUtf8());
        w.window->showMinimized();
        receiveHandOver(w.ctx, *w.window, "/d/paper.tex");
        QCOMPARE(w.model.text(ctl::cmbTeX), QString("/d/paper.tex"));
        QVERIFY(!w.window->isMinimized());
        QVERIFY(w.window->isVisible());
        // A later start without a file leaves the box alone.
        receiveHandOver(w.ctx, *w.window, QString());
        QCOMPARE(w.model.text(ctl::cmbTeX), QString("/d/paper.tex"));
        qunsetenv("MORVANE_TEST_REPORT");
        QCOMPARE(test::readAll(report), QByteArray("/d/paper.tex\n/d/paper.tex\n"));
    }
};

MORVANE_TEST_MAIN(TestGuiStart)
#include "tst_guistart.moc"
