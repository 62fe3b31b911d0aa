// The TeX4ht route's stand-ins, started by name through PATH as htlatex
// starts them, in front of fake programs that show what they were given.

#include "drivers/tex4htstandins.h"
#include "support/testmain.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

using namespace morvane;

class TestTex4htStandIns : public QObject {
    Q_OBJECT
private slots:
    void runTheRealProgram_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("fakes"); // the first one fails with `fakeStatus`
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("fakeStatus");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("seen");
        const QByteArray nonStop = "[-interaction=nonstopmode]\n";
        QTest::newRow("errors in the document count as done")
            << "latex" << QStringList{"latex"} << QStringList{"$(touch pwned) `x`;", "doc"} << 1
            << 0 << "latex\n" + nonStop + "[$(touch pwned) `x`;]\n[doc]\n";
        QTest::newRow("another failure stays one")
            << "xelatex" << QStringList{"xelatex"} << QStringList{"doc"} << 3 << 3
            << "xelatex\n" + nonStop + "[doc]\n";
        QTest::newRow("waiting modes become non-stop, batch mode stays")
            << "dvilualatex" << QStringList{"dvilualatex"}
            << QStringList{"--interaction=errorstopmode", "-interaction=batchmode", "d"} << 0 << 0
            << "dvilualatex\n" + nonStop + nonStop + "[-interaction=batchmode]\n[d]\n";
        QTest::newRow("rungs missing: Ghostscript")
            << "rungs" << QStringList{"gs"} << QStringList{"-q"} << 0 << 0
            << QByteArray("gs\n[-q]\n");
        QTest::newRow("rungs there: rungs")
            << "rungs" << QStringList{"rungs", "gs"} << QStringList{"-q"} << 0 << 0
            << QByteArray("rungs\n[-q]\n");
    }

    void runTheRealProgram() {
        QFETCH(QString, program);
        QFETCH(QStringList, fakes);
        QFETCH(QStringList, args);
        QFETCH(int, fakeStatus);
        QFETCH(int, status);
        QFETCH(QByteArray, seen);
        const Tex4htStandIns standIns;
        QVERIFY(!standIns.folder().isEmpty());
        QTemporaryDir fakeDir;
        for (const QString& fake : fakes) {
            QFile file(fakeDir.filePath(fake));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("#!/bin/sh\necho " + fake.toUtf8() +
                       "\nfor a do printf '[%s]\\n' \"$a\"; done\nexit \"$FAKE_STATUS\"\n");
            file.close();
            QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ExeOwner));
        }
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PATH", standIns.folder() + ":" + fakeDir.path() + ":/usr/bin:/bin");
        env.insert("FAKE_STATUS", QString::number(fakeStatus));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(fakeDir.path());
        // The shell looks the name up along PATH, as htlatex's does.
        process.start("/bin/sh", QStringList{"-c", "exec \"$0\" \"$@\"", program} + args);
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.readAllStandardOutput(), seen);
        QCOMPARE(process.exitCode(), status);
        QVERIFY(!QFile::exists(fakeDir.filePath("pwned")));
    }
};

MORVANE_TEST_GUILESS_MAIN(TestTex4htStandIns)
#include "tst_tex4htstandins.moc"
