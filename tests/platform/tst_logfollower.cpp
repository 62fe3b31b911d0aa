// The console's view of a converter's log: what a run appends to it is
// handed on while the run lasts and completely by the time it has ended,
// and what the log held before is not.

#include "platform/logfollower.h"
#include "support/testmain.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace morvane;

class TestLogFollower : public QObject {
    Q_OBJECT
private slots:
    void showsWhatTheRunAppendsAndNothingBefore() {
        QTemporaryDir dir;
        const QString log = dir.filePath("paper.hlog");
        QFile header(log);
        QVERIFY(header.open(QIODevice::WriteOnly));
        header.write("Hevea log file for paper.tex\n\n");
        header.close();

        QByteArray shown;
        QByteArray shownWhenEnded;
        LogFollower follower(log, [&shown](const QByteArray& bytes) { shown += bytes; });
        QProcess process;
        process.setProgram("/bin/sh");
        // The run writes its last line only once the test has seen the first.
        const QString go = dir.filePath("go");
        process.setArguments({"-c",
                              "printf 'first\\n' >>\"$1\"; while [ ! -e \"$2\" ]; do sleep 0.05; "
                              "done; printf 'last\\n' >>\"$1\"",
                              "sh", log, go});
        follower.follow(process);
        QObject::connect(&process, &QProcess::finished, [&] { shownWhenEnded = shown; });
        process.start();
        QTRY_COMPARE_WITH_TIMEOUT(shown, QByteArray("first\n"), 60000);
        QFile signal(go);
        QVERIFY(signal.open(QIODevice::WriteOnly));
        signal.close();
        QVERIFY(process.waitForFinished(60000));
        // All of it, before a reaction to the end connected after the follower.
        QCOMPARE(shownWhenEnded, QByteArray("first\nlast\n"));
    }

    // A converter that deletes and writes its log anew (as latexmlc does)
    // is shown from the new log's start.
    void aReplacedLogIsShownFromItsStart() {
        QTemporaryDir dir;
        const QString log = dir.filePath("paper.plog");
        QFile old(log);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an earlier, longer log\n");
        old.close();
        QByteArray shown;
        LogFollower follower(log, [&shown](const QByteArray& bytes) { shown += bytes; });
        QVERIFY(QFile::remove(log));
        QFile fresh(log);
        QVERIFY(fresh.open(QIODevice::WriteOnly));
        fresh.write("new\n");
        fresh.close();
        follower.readAdded();
        QCOMPARE(shown, QByteArray("new\n"));
    }
};

MORVANE_TEST_GUILESS_MAIN(TestLogFollower)
#include "tst_logfollower.moc"
