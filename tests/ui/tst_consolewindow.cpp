#include "pipeline/appcontext.h"
#include "pipeline/commandrunner.h"
#include "platform/launcher.h"
#include "platform/prompter.h"
#include "ui/consolewindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <memory>

using namespace morvane;

namespace {

// A process started as runCommand starts it: merged output, standard input
// open only when the console must answer a pause.
std::unique_ptr<QProcess> startProcess(const QString& line, bool keepInputOpen) {
    LaunchChannels channels;
    channels.keepInputOpen = keepInputOpen;
    return std::unique_ptr<QProcess>(QProcessLauncher().start(line, QString(), nullptr, channels));
}

// "read" exits with 0 when it got a line, so the output tells whether the
// Enter arrived; `timeout` keeps a missing answer from hanging the test.
const QString kPausingScript =
    "/usr/bin/timeout 5 /bin/sh -c \"echo converting; read line; echo answered=$?\" sh pause";

} // namespace

class TestConsoleWindow : public QObject {
    Q_OBJECT
private slots:
    void streamsOutputWhileRunningAndClosesAtTheEnd() {
        ConsoleWindow console("/bin/sh -c ...");
        auto process = startProcess(
            "/bin/sh -c \"echo first; echo warning >&2; sleep 0.8; echo last\"", false);
        QVERIFY(process);
        console.attach(process.get(), false);
        QVERIFY(console.isVisible());
        QCOMPARE(console.windowTitle(), QString("/bin/sh -c ..."));
        QVERIFY(!console.findChild<QPushButton*>("cmdClose")->isVisible());

        QTRY_VERIFY(console.output().contains("warning"));
        QVERIFY(console.output().contains("first"));
        QCOMPARE(process->state(), QProcess::Running);
        QVERIFY(!console.output().contains("last"));

        QTRY_VERIFY(!console.isVisible());
        QCOMPARE(process->state(), QProcess::NotRunning);
        QCOMPARE(console.output(), QString("first\nwarning\nlast\n"));
    }

    void decodesSplitMultibyteText() {
        ConsoleWindow console("x");
        // "é" is two bytes in UTF-8; the script writes them a moment apart.
        auto process =
            startProcess("/bin/sh -c \"printf '\\303'; sleep 0.3; printf '\\251\\n'\"", false);
        QVERIFY(process);
        console.attach(process.get(), false);
        QTRY_VERIFY(!console.isVisible());
        QCOMPARE(console.output(), QString::fromUtf8("\xc3\xa9\n"));
    }

    // Each way of answering the pause sends one Enter and the run ends.
    void answersThePause_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Enter in the text") << "text";
        QTest::newRow("Enter on the window") << "window";
        QTest::newRow("Close button") << "button";
        QTest::newRow("closing the window") << "close";
    }
    void answersThePause() {
        QFETCH(QString, how);
        ConsoleWindow console(kPausingScript);
        auto process = startProcess(kPausingScript, true);
        QVERIFY(process);
        console.attach(process.get(), true);
        auto* button = console.findChild<QPushButton*>("cmdClose");
        QVERIFY(button->isVisible());

        QTRY_VERIFY(console.output().contains("converting"));
        QTest::qWait(200);
        QCOMPARE(process->state(), QProcess::Running); // waiting for Enter

        if (how == "text")
            QTest::keyClick(console.findChild<QPlainTextEdit*>("txtConsole"), Qt::Key_Return);
        else if (how == "window")
            QTest::keyClick(&console, Qt::Key_Enter);
        else if (how == "button")
            QTest::mouseClick(button, Qt::LeftButton);
        else
            console.close();

        QVERIFY(process->waitForFinished(3000));
        QCOMPARE(process->exitCode(), 0);
        QTRY_VERIFY(console.output().contains("answered=0"));
        QVERIFY(!button->isEnabled());
    }

    void enterIsIgnoredWithoutPause() {
        ConsoleWindow console("x");
        auto process =
            startProcess("/bin/sh -c \"sleep 0.3; read line; echo answered=$?\" sh", false);
        QVERIFY(process);
        console.attach(process.get(), false);
        QTest::keyClick(console.findChild<QPlainTextEdit*>("txtConsole"), Qt::Key_Return);
        QVERIFY(process->waitForFinished(3000));
        QTRY_VERIFY(console.output().contains("answered=1"));
    }

    void acceptsInputOnlyForItsOwnWindow() {
        ConsoleWindow console("x");
        QWidget elsewhere;
        console.show();
        elsewhere.show();
        QVERIFY(console.acceptsInput(&console));
        QVERIFY(console.acceptsInput(console.findChild<QPlainTextEdit*>("txtConsole")));
        QVERIFY(console.acceptsInput(console.windowHandle()));
        QVERIFY(!console.acceptsInput(&elsewhere));
        QVERIFY(!console.acceptsInput(elsewhere.windowHandle()));
        QVERIFY(!console.acceptsInput(nullptr));
    }

    // The whole path: single mode holds input back from every other window,
    // yet Enter typed into the console ends the script's pause.
    void singleModeRunIsAnsweredFromTheConsole() {
        OptionsModel model;
        ScriptedPrompter prompter;
        QProcessLauncher launcher;
        QtConsoleFactory consoles;
        AppContext ctx;
        ctx.model = &model;
        ctx.prompter = &prompter;
        ctx.launcher = &launcher;
        ctx.consoles = &consoles;
        QString seen;
        QTimer::singleShot(500, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (w->objectName() == "frmConsole" && w->isVisible()) {
                    auto* console = dynamic_cast<ConsoleWindow*>(w);
                    seen = console->output();
                    QCoreApplication::postEvent(
                        console->findChild<QPlainTextEdit*>("txtConsole"),
                        new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
                }
            }
        });
        QElapsedTimer clock;
        clock.start();

        runCommand(ctx, kPausingScript, QDir::tempPath());

        QCOMPARE(seen, QString("converting\n"));
        QVERIFY2(clock.elapsed() < 4000, "the Enter did not reach the console");
    }
};

QTEST_MAIN(TestConsoleWindow)
#include "tst_consolewindow.moc"
