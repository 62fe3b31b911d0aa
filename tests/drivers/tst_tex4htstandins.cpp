// The TeX4ht route's stand-ins, run as htlatex runs them: through PATH, in
// front of fake programs that show what they were given.

#include "drivers/tex4htstandins.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

using namespace morvane;

namespace {

// A program that prints its name and arguments, one per line, and ends with
// the status in $FAKE_STATUS.
void writeFake(const QString& dir, const QString& name) {
    QFile file(dir + "/" + name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\necho \"" + name.toUtf8() +
               "\"\nfor a do printf '[%s]\\n' \"$a\"; done\nexit \"${FAKE_STATUS:-0}\"\n");
    file.close();
    QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ExeOwner));
}

struct Run {
    int status = -1;
    QByteArray output;
};

// Runs `program` by name with PATH = the stand-ins, then `fakes`, then the
// system's folders, as convert.sh orders them.
Run runByName(const Tex4htStandIns& standIns, const QString& fakes, const QString& program,
              const QStringList& args, int fakeStatus) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PATH", standIns.folder() + ":" + fakes + ":/usr/bin:/bin");
    env.insert("FAKE_STATUS", QString::number(fakeStatus));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    // The shell looks the name up along PATH, as htlatex's does.
    process.start("/bin/sh", QStringList{"-c", "exec \"$0\" \"$@\"", program} + args);
    Run run;
    if (!process.waitForFinished(30000))
        return run;
    run.status = process.exitCode();
    run.output = process.readAll();
    return run;
}

} // namespace

class TestTex4htStandIns : public QObject {
    Q_OBJECT
private slots:
    void standInsAreReady() {
        const Tex4htStandIns standIns;
        QVERIFY(!standIns.folder().isEmpty());
        for (const QString& name : tex4htStandInNames()) {
            const QFileInfo file(standIns.folder() + "/" + name);
            QVERIFY2(file.isExecutable(), qPrintable(name));
        }
        QCOMPARE(QFileInfo(standIns.folder()).permissions() & QFileDevice::ReadOther,
                 QFileDevice::Permissions());
    }

    // TeX runs in non-stop mode, a run that ended with errors counts as done
    // (htlatex goes on to tex4ht), any other failure stays one.
    void texProgramsRunNonStop_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("fakeStatus");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("seen");
        QTest::newRow("htlatex's latex") << "latex" << QStringList{"\\def\\a{b} x", "doc"} << 0 << 0
                                         << QByteArray("latex\n[-interaction=nonstopmode]\n"
                                                       "[\\def\\a{b} x]\n[doc]\n");
        QTest::newRow("errors in the document") << "latex" << QStringList{"doc"} << 1 << 0
                                                << QByteArray("latex\n[-interaction="
                                                              "nonstopmode]\n[doc]\n");
        QTest::newRow("a failure that is no TeX error")
            << "xelatex" << QStringList{"doc"} << 3 << 3
            << QByteArray("xelatex\n[-interaction=nonstopmode]\n[doc]\n");
        QTest::newRow("a mode that waits becomes non-stop")
            << "dvilualatex"
            << QStringList{"--interaction=errorstopmode", "-interaction=scrollmode", "d"} << 0 << 0
            << QByteArray("dvilualatex\n[-interaction=nonstopmode]\n[-interaction=nonstopmode]\n"
                          "[-interaction=nonstopmode]\n[d]\n");
        QTest::newRow("make4ht's batch mode stays")
            << "latex" << QStringList{"--interaction=batchmode", "d"} << 0 << 0
            << QByteArray("latex\n[-interaction=nonstopmode]\n[--interaction=batchmode]\n[d]\n");
        QTest::newRow("names are arguments, never run")
            << "latex" << QStringList{"$(touch pwned) `x` ; a'b\"c *"} << 0 << 0
            << QByteArray("latex\n[-interaction=nonstopmode]\n[$(touch pwned) `x` ; a'b\"c *]\n");
    }

    void texProgramsRunNonStop() {
        QFETCH(QString, program);
        QFETCH(QStringList, args);
        QFETCH(int, fakeStatus);
        QFETCH(int, status);
        QFETCH(QByteArray, seen);
        const Tex4htStandIns standIns;
        QTemporaryDir fakes;
        writeFake(fakes.path(), program);
        const Run run = runByName(standIns, fakes.path(), program, args, fakeStatus);
        QCOMPARE(run.output, seen);
        QCOMPARE(run.status, status);
        QVERIFY(!QFile::exists(QDir::current().filePath("pwned")));
    }

    void rungsIsTheRealOneOrGhostscript_data() {
        QTest::addColumn<QStringList>("fakes");
        QTest::addColumn<QByteArray>("seen");
        QTest::newRow("real rungs") << QStringList{"rungs", "gs"} << QByteArray("rungs\n[-q]\n");
        QTest::newRow("no rungs: gs") << QStringList{"gs"} << QByteArray("gs\n[-q]\n");
    }

    void rungsIsTheRealOneOrGhostscript() {
        QFETCH(QStringList, fakes);
        QFETCH(QByteArray, seen);
        const Tex4htStandIns standIns;
        QTemporaryDir dir;
        for (const QString& fake : fakes)
            writeFake(dir.path(), fake);
        const Run run = runByName(standIns, dir.path(), "rungs", {"-q"}, 0);
        // The system may have a real rungs or gs of its own after the fakes.
        QCOMPARE(run.output, seen);
        QCOMPARE(run.status, 0);
    }

    void programMissingAltogether() {
        const Tex4htStandIns standIns;
        QTemporaryDir empty;
        QProcess process;
        QProcessEnvironment env;
        env.insert("PATH", standIns.folder() + ":" + empty.path());
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(standIns.folder() + "/uplatex", {"doc"});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 127);
        QVERIFY(process.readAll().contains("uplatex: command not found"));
    }
};

MORVANE_TEST_GUILESS_MAIN(TestTex4htStandIns)
#include "tst_tex4htstandins.moc"
