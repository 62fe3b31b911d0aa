// A disk that is full or read-only: batch mode says which, instead of only
// that nothing was produced. Each case runs
// in a mount namespace of its own with a small tmpfs, so nothing of the
// machine's is filled or remounted.

#include "drivers/conversionrig.h"
#include "support/testhome.h"
#include "support/testmain.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace morvane;

class TestDiskFailuresE2e : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QProcess probe;
        probe.start("unshare", {"--user", "--map-root-user", "--mount", "true"});
        if (!probe.waitForFinished() || probe.exitCode() != 0)
            QSKIP("no mount namespaces for this user");
    }

    void causeIsNamed_data() {
        QTest::addColumn<QString>("spoil"); // shell commands run on the mounted folder $D
        QTest::addColumn<QString>("cause");
        QTest::newRow("full disk") << "head -c 1M /dev/zero > \"$D/filler\" 2>/dev/null; true"
                                   << " is full";
        QTest::newRow("read-only disk") << "mount -o remount,ro \"$D\""
                                        << " cannot be written";
    }
    void causeIsNamed() {
        QFETCH(QString, spoil);
        QFETCH(QString, cause);
        QTemporaryDir work;
        const QString disk = work.filePath("disk");
        QVERIFY(QDir().mkpath(disk));
        test::TestHome home;
        const QByteArray text =
            "\\documentclass{article}\\begin{document}Zebra $x^2$.\\end{document}\n";
        const QString script = "mount -t tmpfs -o size=640k tmpfs \"$D\" && "
                               "printf '%s' \"$TEXT\" > \"$D/paper.tex\" && " +
                               spoil + " && cd \"$D\" && exec \"$0\" --convert=tth paper.tex";
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("MORVANE_HOME", home.path());
        env.insert("XDG_STATE_HOME", work.filePath("state"));
        env.insert("D", disk);
        env.insert("TEXT", QString::fromUtf8(text));
        env.remove("DISPLAY");
        run.setProcessEnvironment(env);
        run.start("unshare", {"--user", "--map-root-user", "--mount", "sh", "-c", script,
                              MORVANE_BUILD_PROGRAM_DIR "/morvane"});
        QVERIFY(run.waitForFinished(120000));
        const QString err = QString::fromLocal8Bit(run.readAllStandardError());
        QCOMPARE(run.exitCode(), 2);
        QVERIFY2(err.contains(cause), qPrintable(err));
    }
};

MORVANE_TEST_GUILESS_MAIN(TestDiskFailuresE2e)
#include "tst_diskfailures_e2e.moc"
