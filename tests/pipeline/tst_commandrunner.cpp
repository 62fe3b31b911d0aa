#include "pipeline/appcontext.h"
#include "pipeline/commandrunner.h"
#include "pipeline/conversion.h"
#include "platform/launcher.h"
#include "platform/prompter.h"
#include "platform/stdoutconsole.h"
#include "settings/controlnames.h"
#include "support/doubles.h"
#include "support/testhome.h"
#include "support/testmain.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <list>
#include <memory>

#include <cstdio>
#include <unistd.h>

using namespace morvane;

namespace {

// A console that answers a pause after a while; what it was given is kept
// in `attachments` (one waitsForEnter per attach), which outlives the console.
class RecordingConsole : public Console {
public:
    void attach(QProcess* process, bool waitsForEnter) override {
        if (attachments)
            attachments->append(waitsForEnter);
        if (waitsForEnter) {
            QTimer::singleShot(200, process, [process] {
                process->write("\n");
                process->closeWriteChannel();
            });
        }
    }
    QList<bool>* attachments = nullptr;
};

class RecordingConsoleFactory : public ConsoleFactory {
public:
    Console* create(const QString& commandLine) override {
        lines.append(commandLine);
        auto* console = new RecordingConsole;
        console->attachments = &attachments;
        return console;
    }
    QStringList lines;
    QList<bool> attachments;
};

// Records the clicks and key presses it receives.
class InputProbe : public QWidget {
public:
    QStringList received;

protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::MouseButtonPress)
            received.append("click");
        if (e->type() == QEvent::KeyPress)
            received.append(QKeySequence(static_cast<QKeyEvent*>(e)->key()).toString());
        return QWidget::event(e);
    }
};

// Shell text that waits until the test creates `name` in the working
// directory, so that the test and not the clock decides when a process ends
// (it gives up after about 10 s).
QString untilFile(const QString& name) {
    return QStringLiteral("i=0; while [ ! -e %1 ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i+1)); "
                          "done")
        .arg(name);
}

void touch(const QString& path) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
}

QString fileText(const QString& path) {
    return QString::fromUtf8(test::readAll(path)).trimmed();
}

// `/bin/sh -c "script"` padded with a dummy $0 to exactly `length` characters.
QString paddedLine(const QString& script, int length) {
    const QString base = QStringLiteral("/bin/sh -c \"%1\" ").arg(script);
    return base + QString(length - base.length(), QLatin1Char('x'));
}

QString expectedLongLineText(const QString& line) {
    return "The command line\n" + line + "\nhas " + QString::number(line.length()) +
           " characters and is more than the maximum length of 131072 characters.\n\n"
           "The DOS program may therefore not work properly.\nDo you wish to continue?";
}

} // namespace

class TestCommandRunner : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    OptionsModel* m_model = nullptr;
    ScriptedPrompter m_prompter;
    QProcessLauncher m_launcher;
    AppContext m_ctx;
    // One conversion per run: nested runs in multiple mode each have their own.
    std::list<std::unique_ptr<Conversion>> m_conversions;

    QString work(const QString& name) const { return m_dir.filePath(name); }

    Conversion& conversion() {
        const Route* route = m_ctx.selectedRoute();
        m_conversions.push_back(std::make_unique<Conversion>(
            m_ctx, route ? *route : builtInRoutes()[0], m_model->text(ctl::cmbTeX)));
        return *m_conversions.back();
    }

private slots:
    void init() {
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        delete m_model;
        m_model = new OptionsModel;
        m_prompter.clear();
        m_ctx = AppContext{};
        m_ctx.model = m_model;
        m_ctx.seams.prompter = &m_prompter;
        m_ctx.seams.launcher = &m_launcher;
        m_ctx.programDir = m_dir.path();
    }

    void cleanupTestCase() { delete m_model; }

    void splitsCommandLines_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("plain") << "/usr/bin/hevea -fix a.tex"
                               << "/usr/bin/hevea" << QStringList{"-fix", "a.tex"};
        QTest::newRow("script through sh")
            << "/opt/m/convert.sh tex4ht paper pause"
            << "/bin/sh" << QStringList{"/opt/m/convert.sh", "tex4ht", "paper", "pause"};
        QTest::newRow("quoted blanks stay one argument")
            << "\"/my dir/convert.sh\" hevea \"/my docs/a b.tex\""
            << "/bin/sh" << QStringList{"/my dir/convert.sh", "hevea", "/my docs/a b.tex"};
        QTest::newRow("shell characters are plain text")
            << "/bin/echo a;rm -rf x $(id) `id` | cat"
            << "/bin/echo" << QStringList{"a;rm", "-rf", "x", "$(id)", "`id`", "|", "cat"};
        QTest::newRow("empty") << "   "
                               << "" << QStringList{};
    }
    void splitsCommandLines() {
        QFETCH(QString, line);
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        const LaunchCommand command = splitCommandLine(line);
        QCOMPARE(command.program, program);
        QCOMPARE(command.arguments, arguments);
    }

    void detectsPause_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("pause");
        QTest::newRow("last argument") << "/p/convert.sh tex4ht paper pause" << true;
        QTest::newRow("absent") << "/p/convert.sh tex4ht paper" << false;
        QTest::newRow("quoted file named pause is still last")
            << "/p/convert.sh x \"pause\"" << true;
        QTest::newRow("not last") << "/p/convert.sh pause paper" << false;
        QTest::newRow("program alone") << "pause" << false;
    }
    void detectsPause() {
        QFETCH(QString, line);
        QFETCH(bool, pause);
        QCOMPARE(asksForPause(line), pause);
    }

    // The long-line question: asked only in single mode with the warning on
    // and more than Linux's 131072 bytes for one argument; answering Yes runs
    // the command.
    void longLineQuestion_data() {
        QTest::addColumn<bool>("multi");
        QTest::addColumn<bool>("warning");
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("asked");
        QTest::newRow("219 chars, a deep folder: no question") << false << true << 219 << false;
        QTest::newRow("131072 chars, warning on: no question") << false << true << 131072 << false;
        QTest::newRow("131073 chars, warning on: question") << false << true << 131073 << true;
        QTest::newRow("131073 chars, warning off: no question")
            << false << false << 131073 << false;
        QTest::newRow("131073 chars, multiple mode: no question")
            << true << true << 131073 << false;
    }
    void longLineQuestion() {
        QFETCH(bool, multi);
        QFETCH(bool, warning);
        QFETCH(int, length);
        QFETCH(bool, asked);
        m_model->setChecked(ctl::chkMulti, multi);
        m_model->setChecked(ctl::chkWarning, warning);
        const QString line = paddedLine("echo ran > ran.txt", length);
        QCOMPARE(line.length(), length);
        m_prompter.queueAnswer(Answer::Yes);

        runCommand(conversion(), line, m_dir.path());

        if (asked) {
            QCOMPARE(m_prompter.prompts().size(), 1);
            const Prompt expected{expectedLongLineText(line), "DOS Command Line", Buttons::YesNo,
                                  Icon::Exclamation, Answer::No};
            QCOMPARE(m_prompter.prompts().first(), expected);
        } else {
            QVERIFY(m_prompter.prompts().isEmpty());
        }
        QCOMPARE(fileText(work("ran.txt")), QString("ran"));
    }

    void decliningTheLongLineRunsNothing() {
        m_model->setChecked(ctl::chkWarning, true);
        const QString line = paddedLine("echo ran > ran.txt", 131073);
        m_prompter.queueAnswer(Answer::No);
        QSignalSpy spy(m_model, &OptionsModel::changed);

        runCommand(conversion(), line, m_dir.path());

        QCOMPARE(m_prompter.prompts().size(), 1);
        QVERIFY(!QFile::exists(work("ran.txt")));
        QCOMPARE(spy.count(), 0);
    }

    void singleModeRunsInWorkingDirectoryAndReturnsAfterEnd() {
        const QString ownDirectory = QDir::currentPath();
        QSignalSpy spy(m_model, &OptionsModel::changed);

        runCommand(conversion(), "/bin/sh -c \"sleep 0.4; pwd > where.txt\"", m_dir.path());

        // Written after the sleep: the wait did not return before the end.
        QCOMPARE(fileText(work("where.txt")), QDir(m_dir.path()).canonicalPath());
        QCOMPARE(QDir::currentPath(), ownDirectory);
        // Single mode leaves the count, the list and the tag alone.
        QCOMPARE(spy.count(), 0);
        QCOMPARE(m_ctx.runningProcesses, 0);
    }

    void scriptRunsThroughShWithItsArguments() {
        QFile script(work("echo args.sh"));
        QVERIFY(script.open(QIODevice::WriteOnly)); // no run bit on purpose
        script.write("printf '%s|%s' \"$1\" \"$2\" > args.txt\n");
        script.close();

        runCommand(conversion(), "\"" + script.fileName() + "\" one \"two words\"", m_dir.path());

        QCOMPARE(fileText(work("args.txt")), QString("one|two words"));
    }

    void multipleModeSingleRunListsTheFile() {
        m_model->setChecked(ctl::chkMulti, true);
        m_model->setText(ctl::cmbTeX, "/docs/paper.tex");
        QStringList listWhileRunning;
        QString tagWhileRunning;
        QTimer::singleShot(0, [&] {
            listWhileRunning = m_model->items(ctl::lstProcesses);
            tagWhileRunning = m_model->tag(ctl::cmdConvert);
            touch(work("go"));
        });

        runCommand(conversion(), "/bin/sh -c \"" + untilFile("go") + "\"", m_dir.path());

        QCOMPARE(listWhileRunning, QStringList{"/docs/paper.tex"});
        QCOMPARE(tagWhileRunning, QString("wait"));
        QVERIFY(m_model->items(ctl::lstProcesses).isEmpty());
        QCOMPARE(m_model->tag(ctl::cmdConvert), QString());
        QCOMPARE(m_ctx.runningProcesses, 0);
    }

    // A Convert during the wait runs nested: the first process ends first, but
    // the nested wait (started last) must finish first.
    void multipleModeNestedRunsFinishLastStartedFirst() {
        m_model->setChecked(ctl::chkMulti, true);
        m_model->setText(ctl::cmbTeX, "/docs/first.tex");
        QStringList finished;
        QStringList listWhileBoth, listAfterNested;
        QString tagWhileBoth = "unset", tagAfterNested = "unset";
        int countWhileBoth = -1, countAfterNested = -1;
        bool firstEndedBeforeNestedReturned = false;
        bool secondEnded = false;

        // Inside the first wait: start the second; while both run, look and
        // let the first end; once it has, let the second end.
        QTimer::singleShot(0, [&] {
            m_model->setText(ctl::cmbTeX, "/docs/second.tex");
            QTimer::singleShot(100, [&] {
                listWhileBoth = m_model->items(ctl::lstProcesses);
                tagWhileBoth = m_model->tag(ctl::cmdConvert);
                countWhileBoth = m_ctx.runningProcesses;
                touch(work("go1"));
            });
            QTimer firstDone;
            connect(&firstDone, &QTimer::timeout, [&] {
                if (QFile::exists(work("first.txt"))) {
                    firstDone.stop();
                    touch(work("go2"));
                }
            });
            firstDone.start(20);
            runCommand(conversion(), "/bin/sh -c \"" + untilFile("go2") + "; echo 2 > second.txt\"",
                       m_dir.path());
            finished << "second";
            secondEnded = QFile::exists(work("second.txt"));
            firstEndedBeforeNestedReturned = QFile::exists(work("first.txt"));
            listAfterNested = m_model->items(ctl::lstProcesses);
            tagAfterNested = m_model->tag(ctl::cmdConvert);
            countAfterNested = m_ctx.runningProcesses;
        });

        runCommand(conversion(), "/bin/sh -c \"" + untilFile("go1") + "; echo 1 > first.txt\"",
                   m_dir.path());
        finished << "first";

        QCOMPARE(finished, (QStringList{"second", "first"}));
        QVERIFY(secondEnded);
        QVERIFY(firstEndedBeforeNestedReturned);
        QCOMPARE(listWhileBoth, (QStringList{"/docs/first.tex", "/docs/second.tex"}));
        QCOMPARE(tagWhileBoth, QString("wait"));
        QCOMPARE(countWhileBoth, 2);
        // The first end clears the tag although a run is still tracked; the
        // list stays until the last.
        QCOMPARE(tagAfterNested, QString());
        QCOMPARE(countAfterNested, 1);
        QCOMPARE(listAfterNested, (QStringList{"/docs/first.tex", "/docs/second.tex"}));
        QVERIFY(m_model->items(ctl::lstProcesses).isEmpty());
        QCOMPARE(m_model->tag(ctl::cmdConvert), QString());
        QCOMPARE(m_ctx.runningProcesses, 0);
    }

    void aCommandThatCannotStartReturnsSilently_data() {
        QTest::addColumn<bool>("multi");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("directory");
        QTest::newRow("single, missing program") << false << "/nonexistent/prog a.tex"
                                                 << "";
        QTest::newRow("multiple, missing program") << true << "/nonexistent/prog a.tex"
                                                   << "";
        QTest::newRow("single, missing directory") << false << "/bin/sh -c \"echo x > x.txt\""
                                                   << "/nonexistent/dir";
        QTest::newRow("multiple, missing directory") << true << "/bin/sh -c \"echo x > x.txt\""
                                                     << "/nonexistent/dir";
        QTest::newRow("multiple, empty line") << true << ""
                                              << "";
    }
    void aCommandThatCannotStartReturnsSilently() {
        QFETCH(bool, multi);
        QFETCH(QString, line);
        QFETCH(QString, directory);
        m_model->setChecked(ctl::chkMulti, multi);
        m_model->setChecked(ctl::chkWarning, true);
        m_model->setText(ctl::cmbTeX, "/docs/a.tex");
        QSignalSpy spy(m_model, &OptionsModel::changed);

        runCommand(conversion(), line, directory.isEmpty() ? m_dir.path() : directory);

        QVERIFY(m_prompter.prompts().isEmpty());
        QCOMPARE(spy.count(), 0);
        QCOMPARE(m_ctx.runningProcesses, 0);
        QVERIFY(!QFile::exists(work("x.txt")));
    }

    void noLauncherRunsNothing() {
        m_ctx.seams.launcher = nullptr;
        runCommand(conversion(), "/bin/sh -c \"echo x > x.txt\"", m_dir.path());
        QVERIFY(!QFile::exists(work("x.txt")));
    }

    void recordingLauncherRecordsAndRunsItsStandIn_data() {
        QTest::addColumn<QString>("standIn");
        QTest::newRow("nothing starts") << "";
        QTest::newRow("stand-in runs in the working directory") << "/bin/sh -c \"pwd > x.txt\"";
    }
    void recordingLauncherRecordsAndRunsItsStandIn() {
        QFETCH(QString, standIn);
        RecordingLauncher launcher;
        launcher.standIn = standIn;
        m_ctx.seams.launcher = &launcher;
        m_model->setChecked(ctl::chkMulti, true);
        RecordingConsoleFactory consoles;
        m_ctx.seams.consoles = &consoles;
        const QString line = "/p/convert.sh tex4ht paper pause";

        runCommand(conversion(), line, m_dir.path());

        QCOMPARE(launcher.starts.size(), 1);
        QCOMPARE(launcher.starts.first().commandLine, line);
        QCOMPARE(launcher.starts.first().workingDirectory, m_dir.path());
        QVERIFY(launcher.starts.first().channels.keepInputOpen);
        QVERIFY(!launcher.starts.first().channels.discardOutput);
        QCOMPARE(QFile::exists(work("x.txt")), !standIn.isEmpty());
        QCOMPARE(consoles.attachments.size(), standIn.isEmpty() ? 0 : 1);
    }

    // In single mode clicks and keys posted inside the program wait until the
    // process has ended, and the window system's (QTest's) are dropped; in
    // multiple mode all are served during the wait.
    void userInputDuringTheWait_data() {
        QTest::addColumn<bool>("multi");
        QTest::addColumn<QStringList>("duringWait");
        QTest::addColumn<QStringList>("afterWait");
        QTest::newRow("single mode holds input back")
            << false << QStringList{} << QStringList{"click", "A"};
        QTest::newRow("multiple mode serves input")
            << true << QStringList{"B", "click", "A"} << QStringList{"B", "click", "A"};
    }
    void userInputDuringTheWait() {
        QFETCH(bool, multi);
        QFETCH(QStringList, duringWait);
        QFETCH(QStringList, afterWait);
        m_model->setChecked(ctl::chkMulti, multi);
        InputProbe probe;
        probe.show();
        bool posted = false;
        // Posted events are served before a timer due 100 ms later, so the
        // process is still running while they are offered.
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(100, [&] { touch(work("go")); });
            QTest::keyClick(&probe, Qt::Key_B);
            QCoreApplication::postEvent(
                &probe, new QMouseEvent(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5),
                                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
            QCoreApplication::postEvent(&probe,
                                        new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier));
            posted = true;
        });

        runCommand(conversion(), "/bin/sh -c \"" + untilFile("go") + "; echo done > done.txt\"",
                   m_dir.path());

        QVERIFY(posted);
        QVERIFY(QFile::exists(work("done.txt")));
        QCOMPARE(probe.received, duringWait);
        QTRY_COMPARE(probe.received, afterWait);
        QTest::qWait(50);
        QCOMPARE(probe.received, afterWait);
    }

    // Only the console's own window takes input while single mode waits, so
    // the user can answer the script's pause.
    void consoleWindowTakesInputDuringSingleWait() {
        class ExemptConsole : public RecordingConsole {
        public:
            bool acceptsInput(const QObject* target) const override { return target == exempt; }
            const QObject* exempt = nullptr;
        };
        InputProbe console, other;
        ExemptConsole* made = nullptr;
        class Factory : public ConsoleFactory {
        public:
            Console* create(const QString&) override {
                *made = new ExemptConsole;
                (*made)->exempt = exempt;
                return *made;
            }
            ExemptConsole** made;
            const QObject* exempt;
        } factory;
        factory.made = &made;
        factory.exempt = &console;
        m_ctx.seams.consoles = &factory;
        QStringList consoleDuringWait, otherDuringWait;
        QTimer::singleShot(0, [&] {
            QTest::keyClick(&other, Qt::Key_B); // from the window system: dropped
            for (QWidget* w : {static_cast<QWidget*>(&console), static_cast<QWidget*>(&other)})
                QCoreApplication::postEvent(
                    w, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
        });
        QTimer::singleShot(300, [&] {
            consoleDuringWait = console.received;
            otherDuringWait = other.received;
            touch(work("go"));
        });

        runCommand(conversion(),
                   "/usr/bin/timeout 10 /bin/sh -c \"read line; s=$?; " + untilFile("go") +
                       "; echo $s > a.txt\" sh pause",
                   m_dir.path());

        QCOMPARE(fileText(work("a.txt")), QString("0"));
        QCOMPARE(consoleDuringWait, QStringList{"Return"});
        QVERIFY(otherDuringWait.isEmpty());
        QTRY_COMPARE(other.received, QStringList{"Return"});
    }

    // Standard input stays open only for a console that answers a pause;
    // without one the script reads end of file instead of waiting for ever.
    void pauseAndStandardInput_data() {
        QTest::addColumn<bool>("withConsole");
        QTest::addColumn<bool>("pause");
        QTest::addColumn<QString>("readStatus");
        QTest::newRow("console answers the pause") << true << true << "0";
        QTest::newRow("no console: input closed") << false << true << "1";
        QTest::newRow("no pause: input closed") << true << false << "1";
    }
    void pauseAndStandardInput() {
        QFETCH(bool, withConsole);
        QFETCH(bool, pause);
        QFETCH(QString, readStatus);
        RecordingConsoleFactory factory;
        if (withConsole)
            m_ctx.seams.consoles = &factory;
        const QString line = "/usr/bin/timeout 5 /bin/sh -c \"read line; echo $? > status.txt\" " +
                             QString(pause ? "sh pause" : "sh");

        runCommand(conversion(), line, m_dir.path());

        QCOMPARE(fileText(work("status.txt")), readStatus);
        if (withConsole) {
            QCOMPARE(factory.lines, QStringList{line});
            QCOMPARE(factory.attachments, QList<bool>{pause});
        }
    }

    void batchConsoleForwardsOutputAndAnswersThePause() {
        StdoutConsoleFactory factory;
        m_ctx.seams.consoles = &factory;
        QTemporaryFile captured;
        QVERIFY(captured.open());
        std::fflush(stdout);
        const int saved = ::dup(STDOUT_FILENO);
        ::dup2(captured.handle(), STDOUT_FILENO);

        runCommand(conversion(),
                   "/usr/bin/timeout 5 /bin/sh -c \"echo out; echo err >&2; read line; echo "
                   "read=$?\" sh pause",
                   m_dir.path());

        std::fflush(stdout);
        ::dup2(saved, STDOUT_FILENO);
        ::close(saved);
        const QString text = fileText(captured.fileName());
        QVERIFY2(text.contains("out") && text.contains("err") && text.contains("read=0"),
                 qPrintable(text));
    }

    void chkMultiExplains_data() {
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("quotedName");
        QTest::newRow("ticked, shipped caption") << true << ""
                                                 << ""
                                                 << "Allow multiple conversions";
        QTest::newRow("ticked, every & removed") << true << ""
                                                 << "&Allow && several &conversions"
                                                 << "Allow  several conversions";
        QTest::newRow("loading settings: silent") << true << "no message"
                                                  << ""
                                                  << "";
        QTest::newRow("unticked: silent") << false << ""
                                          << ""
                                          << "";
    }
    void chkMultiExplains() {
        QFETCH(bool, ticked);
        QFETCH(QString, tag);
        QFETCH(QString, caption);
        QFETCH(QString, quotedName);
        m_model->setChecked(ctl::chkMulti, ticked);
        m_model->setTag(ctl::chkMulti, tag);
        if (!caption.isEmpty())
            m_model->setCaption(ctl::chkMulti, caption);

        chkMulti_Click(m_ctx);

        if (quotedName.isEmpty()) {
            QVERIFY(m_prompter.prompts().isEmpty());
            return;
        }
        const QString text =
            "There is a small chance that this facility (to convert more than one tex file at "
            "the same time) could cause unusual effects.\n\nIf you have problems with it then "
            "you can disable it by unchecking the '" +
            quotedName +
            "' box.\n\nIt can also be disabled by setting \nAllowMultiProcess=No\nin the "
            "[Preferences] section of Morvane.ini\n\n";
        QCOMPARE(m_prompter.prompts().size(), 1);
        QCOMPARE(m_prompter.prompts().first(),
                 (Prompt{text, "Allow Multiple Conversions", Buttons::Ok, Icon::Exclamation,
                         Answer::Ok}));
    }
};

MORVANE_TEST_MAIN(TestCommandRunner)
#include "tst_commandrunner.moc"
