#include "drivers/conversionrig.h"
#include "pipeline/appcontext.h"
#include "pipeline/commandrunner.h"
#include "pipeline/conversion.h"
#include "platform/launcher.h"
#include "platform/prompter.h"
#include "support/doubles.h"
#include "support/testmain.h"
#include "ui/consolewindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <memory>

using namespace morvane;

namespace {

// A process started as runCommand starts it: merged output, standard input
// open only when the console must answer a pause.
std::unique_ptr<QProcess> startProcess(const QString& line, bool keepInputOpen,
                                       const QString& directory = QString()) {
    LaunchChannels channels;
    channels.keepInputOpen = keepInputOpen;
    return std::unique_ptr<QProcess>(QProcessLauncher().start(line, directory, nullptr, channels));
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
        QTemporaryDir dir;
        ConsoleWindow console("/bin/sh -c ...");
        // The script goes on only when the test has seen the first lines.
        auto process = startProcess("/usr/bin/timeout 10 /bin/sh -c \"echo first; echo warning "
                                    ">&2; while [ ! -e go ]; do sleep 0.05; done; echo last\"",
                                    false, dir.path());
        QVERIFY(process);
        console.attach(process.get(), false);
        QVERIFY(console.isVisible());
        QCOMPARE(console.windowTitle(), QString("/bin/sh -c ..."));
        QVERIFY(!console.findChild<QPushButton*>("cmdClose")->isVisible());

        QTRY_VERIFY(console.output().contains("warning"));
        QVERIFY(console.output().contains("first"));
        QCOMPARE(process->state(), QProcess::Running);
        QVERIFY(!console.output().contains("last"));
        QFile go(dir.filePath("go"));
        QVERIFY(go.open(QIODevice::WriteOnly));

        QTRY_VERIFY(!console.isVisible());
        QCOMPARE(process->state(), QProcess::NotRunning);
        QCOMPARE(console.output(), QString("first\nwarning\nlast\n"));
    }

    // Stop, and closing the window while the converter works, end the whole
    // process group: the background child of the shell goes too.
    void stopEndsTheWholeGroup_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("stop button") << "button";
        QTest::newRow("closing the window") << "close";
        QTest::newRow("Esc") << "esc";
    }
    void stopEndsTheWholeGroup() {
        QFETCH(QString, how);
        auto process = startProcess("/bin/sh -c \"sleep 60 & sleep 60\"", false);
        QVERIFY(process);
        const pid_t group = pid_t(process->processId());
        ConsoleWindow console("sh");
        console.attach(process.get(), false);
        QElapsedTimer timer;
        timer.start();
        if (how == "close")
            console.close();
        else if (how == "esc")
            QTest::keyClick(console.findChild<QPlainTextEdit*>("txtConsole"), Qt::Key_Escape);
        else
            console.findChild<QPushButton*>("cmdStop")->click();
        QVERIFY(console.wasStopped());
        QVERIFY(process->state() == QProcess::NotRunning);
        QVERIFY(timer.elapsed() < 5000);
        // No process of the group is left once the ended ones are reaped.
        QTRY_COMPARE_WITH_TIMEOUT(::kill(-group, 0), -1, 3000);
    }

    void quietConverterIsShownNotEnded_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("quiet");
        QTest::newRow("writes nothing after its first line")
            << "/bin/sh -c \"echo start; sleep 30\"" << true;
        QTest::newRow("writes all the time")
            << "/bin/sh -c \"while :; do echo working; sleep 0.1; done\"" << false;
    }
    void quietConverterIsShownNotEnded() {
        QFETCH(QString, line);
        auto process = startProcess(line, false);
        QVERIFY(process);
        ConsoleWindow console("sh");
        console.setQuietAfter(800);
        console.attach(process.get(), false);
        QTest::qWait(2300);                            // two ticks of the console's clock
        QCOMPARE(process->state(), QProcess::Running); // told, never ended for it
        const QString shown = console.findChild<QLabel*>("lblQuiet")->text();
        QTEST(shown.startsWith("No output for ") && shown.endsWith(" s"), "quiet");
        console.stop();
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

    // Input left open, yet no pause asked: Enter must not feed the script
    // (which then times out at its read instead of going on).
    void enterIsIgnoredWithoutPause() {
        ConsoleWindow console("x");
        auto process = startProcess("/usr/bin/timeout 1 /bin/sh -c \"echo reading; read line; echo "
                                    "answered=$?\" sh",
                                    true);
        QVERIFY(process);
        console.attach(process.get(), false);
        QTRY_VERIFY(console.output().contains("reading"));
        QTest::keyClick(console.findChild<QPlainTextEdit*>("txtConsole"), Qt::Key_Return);
        QTest::keyClick(&console, Qt::Key_Return);
        QVERIFY(process->waitForFinished(5000));
        QVERIFY(!console.output().contains("answered"));
        QVERIFY(process->exitCode() != 0);
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
        ctx.seams.prompter = &prompter;
        ctx.seams.launcher = &launcher;
        ctx.seams.consoles = &consoles;
        QTemporaryDir dir;
        QString seen;
        QTimer lookForConsole;
        connect(&lookForConsole, &QTimer::timeout, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* console = dynamic_cast<ConsoleWindow*>(w);
                if (!console || !console->isVisible() || !console->output().contains("converting"))
                    continue;
                lookForConsole.stop();
                seen = console->output();
                QCoreApplication::postEvent(
                    console->findChild<QPlainTextEdit*>("txtConsole"),
                    new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
            }
        });
        lookForConsole.start(20);

        // Without the Enter, timeout ends the script before it writes the file.
        Conversion conversion(ctx, builtInRoutes()[0], dir.filePath("a.tex"));
        runCommand(conversion,
                   "/usr/bin/timeout 5 /bin/sh -c \"echo converting; read line; echo $? > "
                   "answered.txt\" sh pause",
                   dir.path());

        QCOMPARE(seen, QString("converting\n"));
        QFile answered(dir.filePath("answered.txt"));
        QVERIFY(answered.open(QIODevice::ReadOnly));
        QCOMPARE(answered.readAll().trimmed(), QByteArray("0"));
    }

    // Beside the main window, never over it while the screen has room.
    void opensBesideTheMainWindow_data() {
        QTest::addColumn<QRect>("owner");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("room on the right") << QRect(0, 100, 600, 500) << QPoint(608, 100);
        QTest::newRow("room on the left") << QRect(900, 100, 600, 500) << QPoint(172, 100);
        QTest::newRow("room below only") << QRect(300, 0, 1000, 300) << QPoint(300, 308);
        QTest::newRow("no room") << QRect(0, 0, 1600, 900) << QPoint(880, 480);
    }
    void opensBesideTheMainWindow() {
        QFETCH(QRect, owner);
        QFETCH(QPoint, expected);
        QCOMPARE(consolePosition(owner, QSize(720, 420), QRect(0, 0, 1600, 900)), expected);
        QCOMPARE(elapsedText(65400), QString("Elapsed time 1:05"));
    }

    // HeVeA's messages reach the console while the log receives them as
    // before; the title names the document and the route.
    void showsTheConvertersMessages() {
        test::ConversionRig rig;
        QtConsoleFactory consoles;
        rig.ctx.seams.consoles = &consoles;
        QTemporaryDir dir;
        const QString source = dir.filePath("paper.tex");
        QFile doc(source);
        QVERIFY(doc.open(QIODevice::WriteOnly));
        doc.write("\\documentclass{article}\\begin{document}\\ref{nowhere}\\end{document}\n");
        doc.close();
        // What the console showed when it closed at the end of the run.
        struct Watch : QObject {
            QString title;
            QString shown;
            bool eventFilter(QObject* target, QEvent* event) override {
                if (auto* console = dynamic_cast<ConsoleWindow*>(target);
                    console && event->type() == QEvent::Hide) {
                    title = console->windowTitle();
                    shown = console->output();
                }
                return false;
            }
        } watch;
        qApp->installEventFilter(&watch);
        rig.convert(TabHevea, source);
        qApp->removeEventFilter(&watch);
        const QString title = watch.title;
        const QString shown = watch.shown;
        QCOMPARE(title, QString("Converting paper.tex with HeVeA"));
        const QByteArray log = test::readAll(dir.filePath("paper.hlog"));
        const QByteArray messages = log.mid(log.indexOf("\n\n") + 2);
        QVERIFY2(messages.contains("nowhere"), log.constData());
        QVERIFY2(shown.toUtf8().contains(messages.left(messages.indexOf('\n'))), qPrintable(shown));
    }
};

MORVANE_TEST_MAIN(TestConsoleWindow)
#include "tst_consolewindow.moc"
