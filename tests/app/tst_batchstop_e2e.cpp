// Ctrl+C on batch mode ends the converter with it: a document that never
// ends stops, the program gives status 2 and no converter is left running.
// A closed terminal (HUP) does the same, and after a kill -9 of the program
// its converters still end. The previous result is there afterwards, not the
// part of a new one the stopped converter wrote (after a kill -9, once the
// next start has finished what the killed run left). That holds for a
// convert.sh that starts its group's watcher itself and for an older one the
// program watches.

#include "support/testhome.h"
#include "support/testmain.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

using namespace morvane::test;

namespace {

// A batch run's environment: the program directory `home`, the run journal
// under `work`, no display.
QProcessEnvironment batchEnvironment(const QString& home, const QTemporaryDir& work) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("MORVANE_HOME", home);
    env.insert("XDG_STATE_HOME", work.filePath("state"));
    env.remove("DISPLAY");
    return env;
}

} // namespace

class TestBatchStop : public QObject {
    Q_OBJECT
private slots:
    void interruptEndsTheConverter_data() {
        QTest::addColumn<QString>("route");
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("olderScript");
        QTest::newRow("pdf, Ctrl+C") << "pdf" << SIGINT << false;
        QTest::newRow("tex4ht, TERM") << "tex4ht" << SIGTERM << false;
        QTest::newRow("pdf, closed terminal") << "pdf" << SIGHUP << false;
        QTest::newRow("pdf, kill -9") << "pdf" << SIGKILL << false;
        QTest::newRow("tex4ht, kill -9") << "tex4ht" << SIGKILL << false;
        QTest::newRow("pdf, kill -9, older convert.sh") << "pdf" << SIGKILL << true;
    }
    void interruptEndsTheConverter() {
        QFETCH(QString, route);
        QFETCH(int, signal);
        QFETCH(bool, olderScript);
        TestHome home;
        if (olderScript) {
            QByteArray script = readAll(home.file("convert.sh"));
            QVERIFY(script.contains("\nwatch_lifeline\n"));
            script.replace("\nwatch_lifeline\n", "\n");
            QFile out(home.file("convert.sh"));
            QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(script);
        }
        QTemporaryDir work;
        const QString name = "neverending" + route + QString::number(signal);
        QFile tex(work.filePath(name + ".tex"));
        QVERIFY(tex.open(QIODevice::WriteOnly));
        tex.write("\\documentclass{article}\\begin{document}\\loop\\iftrue x\\par\\repeat"
                  "\\end{document}\n");
        tex.close();
        QFile ini(home.file("Morvane.ini"));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QByteArray text = ini.readAll();
        ini.close();
        text.replace("\nSaveTo=\n", "\nSaveTo=" + work.path().toUtf8() + "\n");
        QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(text);
        ini.close();

        const QString previous = route == "pdf" ? work.filePath(name + ".pdf")
                                                : work.filePath(name + "/" + name + ".html");
        QVERIFY(QDir().mkpath(QFileInfo(previous).path()));
        QFile earlier(previous);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("the previous result");
        earlier.close();

        QProcess morvane;
        const QProcessEnvironment env = batchEnvironment(home.path(), work);
        morvane.setProcessEnvironment(env);
        morvane.setWorkingDirectory(work.path());
        morvane.start(MORVANE_BUILD_PROGRAM_DIR "/morvane", {"--convert=" + route, name + ".tex"});
        QVERIFY(morvane.waitForStarted());
        QVERIFY(!morvane.waitForFinished(3000)); // the document never ends by itself
        ::kill(pid_t(morvane.processId()), signal);
        QVERIFY(morvane.waitForFinished(15000));
        if (signal != SIGKILL)
            QCOMPARE(morvane.exitCode(), 2);

        // Ended processes may take a moment to be reaped.
        QByteArray left;
        for (int tries = 0; tries < 30; ++tries) {
            QProcess pgrep;
            pgrep.start("pgrep", {"-f", name});
            QVERIFY(pgrep.waitForFinished());
            left = pgrep.readAllStandardOutput();
            if (left.isEmpty())
                break;
            QTest::qWait(100);
        }
        QCOMPARE(left, QByteArray());

        if (signal == SIGKILL) { // any start finishes what the killed run left
            QProcess next;
            next.setProcessEnvironment(env);
            next.setWorkingDirectory(work.path());
            next.start(MORVANE_BUILD_PROGRAM_DIR "/morvane", {"--convert=tth", "absent.tex"});
            QVERIFY(next.waitForFinished(30000));
        }
        QCOMPARE(readAll(previous), QByteArray("the previous result"));
    }

    // Started with its standard channels closed, the program still converts:
    // the pipe its converters' watchers read does not take a channel's
    // place, where a converter's input or the program's own messages would
    // reach it.
    void closedStandardChannels() {
        TestHome home;
        QTemporaryDir work;
        QFile tex(work.filePath("plain.tex"));
        QVERIFY(tex.open(QIODevice::WriteOnly));
        tex.write("\\documentclass{article}\\begin{document}Hello\\end{document}\n");
        tex.close();
        QProcess morvane;
        morvane.setProcessEnvironment(batchEnvironment(home.path(), work));
        morvane.setWorkingDirectory(work.path());
        morvane.start("/bin/sh", {"-c", "exec <&- >&- 2>&-; exec \"$0\" --convert=tth plain.tex",
                                  MORVANE_BUILD_PROGRAM_DIR "/morvane"});
        QVERIFY(morvane.waitForFinished(60000));
        QCOMPARE(morvane.exitCode(), 0);
        QVERIFY(readAll(work.filePath("plain.htm")).contains("Hello"));
    }
};

MORVANE_TEST_GUILESS_MAIN(TestBatchStop)
#include "tst_batchstop_e2e.moc"
