// The TeX4ht manual: the log reformatting, the names and commands of the
// run, and the run itself with the real latex and tex4ht, a failing one and
// one that never ends.

#include "support/testmain.h"
#include "tex4ht/manualbuilder.h"

#include "pipeline/appcontext.h"
#include "platform/launcher.h"
#include "support/testhome.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace morvane;
using namespace morvane::test;
using namespace std::chrono_literals;

class TestManualBuilder : public QObject {
    Q_OBJECT

    OptionsModel model;
    QProcessLauncher launcher;
    AppContext ctx;
    std::unique_ptr<TestHome> home;
    QTemporaryDir fakeBin;
    QByteArray originalPath = qgetenv("PATH");

    // A `latex` found before the real one, running `body`.
    void fakeLatex(const QByteArray& body) {
        QFile script(fakeBin.filePath("latex"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n" + body + "\n");
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner);
        qputenv("PATH", fakeBin.path().toUtf8() + ":" + originalPath);
    }

    QString oldManual() { return home->write("tex4htcode.txt", "the old manual\n"); }

    static bool isGone(const QString& pid) {
        // A child left to an init that does not reap stays a zombie: ended all the same.
        QFile stat("/proc/" + pid + "/stat");
        if (!stat.open(QIODevice::ReadOnly))
            return true;
        const QList<QByteArray> fields = stat.readAll().split(' ');
        return fields.size() > 2 && fields[2] == "Z";
    }

private slots:
    void init() {
        home = std::make_unique<TestHome>(false);
        ctx = AppContext{};
        ctx.programDir = home->path();
        ctx.model = &model;
        ctx.seams.launcher = &launcher;
        ctx.settings.vars.tex4ht = "/usr/bin";
        qputenv("PATH", originalPath);
    }
    void cleanupTestCase() { qputenv("PATH", originalPath); }

    void reformatsLog_data() {
        QTest::addColumn<QString>("log");
        QTest::addColumn<QString>("manual");
        QTest::newRow("nothing before the first star line")
            << "(/x/a.4ht\nversion 1\n******\nkept\n"
            << "******\nkept\n";
        QTest::newRow("opened files joined with their next line")
            << "******\n(/t/html4.4ht\nversion 2\n) (/t/math.4ht\nv3\n)) (/t/b.4ht\r\nv4\r\n"
            << "******\n(/t/html4.4ht version 2)\n(/t/math.4ht v3)\n(/t/b.4ht v4)\n";
        QTest::newRow("blank-led opening and skipped lines between")
            << "******\n (/t/c.4ht\n)\n\\:tokwrite=\\toks17\nv5\n))\n)))\n"
            << "******\n(/t/c.4ht v5)\n";
        QTest::newRow("a file opened right after another") << "******\n(/t/a.4ht\n(/t/b.4ht\nv\n"
                                                           << "******\n(/t/a.4ht\n(/t/b.4ht v)\n";
        QTest::newRow("the missing aux note of the first run")
            << "******\nNo file qvtemp.aux.\nNo file other.aux.\n"
            << "******\nNo file other.aux.\n";
        QTest::newRow("a log without hooks gives nothing") << "This is TeX\n)\n"
                                                           << "";
    }
    void reformatsLog() {
        QFETCH(QString, log);
        QFETCH(QString, manual);
        QCOMPARE(reformatManualLog(log, "qvtemp"), manual);
    }

    void takesFreeBaseName() {
        QTemporaryDir dir;
        QCOMPARE(freeManualBaseName(dir.path(), ".tex"), QString("qvtemp"));
        for (const char* name : {"qvtemp.tex", "qvtemp0.tex", "qvtemp2.tex"}) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QCOMPARE(freeManualBaseName(dir.path(), ".tex"), QString("qvtemp1"));
    }

    void readsSwpLatexCall_data() {
        QTest::addColumn<QByteArray>("batch");
        QTest::addColumn<QString>("call");
        QTest::newRow("lines after start /w are not read")
            << QByteArray("@echo off\r\nSET SWPPATH=c:\\swp55\r\n%swppath%\\tcitex\\latex_ml.exe "
                          "%1\r\nstart /w x\r\nlatex_ml later\r\n")
            << "";
        QTest::newRow("the start /w line itself")
            << QByteArray("set swppath=c:\\swp\nstart /w %swppath%\\LaTeX_ML.exe -x %1\n")
            << "start /w c:\\swp\\LaTeX_ML";
        QTest::newRow("last line without latex_ml")
            << QByteArray("set swppath=x\nlatex %1\n") << "";
    }
    void readsSwpLatexCall() {
        QTemporaryDir dir;
        QFile file(dir.filePath("htswps.bat"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QFETCH(QByteArray, batch);
        file.write(batch);
        file.close();
        QCOMPARE(swpBatchFile("/t", dir.path()), file.fileName());
        QFETCH(QString, call);
        QCOMPARE(swpLatexCall(file.fileName()), call);
        QCOMPARE(swpLatexCall(dir.filePath("missing.bat")), QString());
    }

    void scriptEvaluatesNothing() {
        QTemporaryDir dir;
        QFile file(dir.filePath("t.sh"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(manualScript({"printf [%s] \"$HOME;it's\" `x`"}).toUtf8());
        file.close();
        QProcess sh;
        sh.start("/bin/sh", {file.fileName()});
        QVERIFY(sh.waitForFinished());
        QVERIFY(sh.readAllStandardOutput().contains("[$HOME;it's][`x`]"));
    }

    void buildsWithRealTex4ht() {
        QElapsedTimer clock;
        clock.start();
        const ManualBuild build = buildTex4htManual(ctx);
        QVERIFY2(build.built, qPrintable(build.failure));
        const QStringList lines =
            QString::fromUtf8(readAll(manualPath(ctx.programDir))).split('\n');
        QVERIFY(lines[0].startsWith("Tex4ht manual created "));
        QVERIFY(lines[1].isEmpty());
        QVERIFY(lines[2].startsWith("******"));
        QVERIFY(lines.contains("\\Configure{DOCTYPE}.........1"));
        QVERIFY(!lines.filter(QRegularExpression("^\\(/.*/html4\\.4ht version .*\\)$")).isEmpty());
        for (const QString& line : lines)
            QVERIFY2(!line.startsWith("\\:to") && line != ")" && line != "))", qPrintable(line));
        QVERIFY(clock.elapsed() < 20000);
    }

    void failedRunKeepsOldManual() {
        const QString manual = oldManual();
        fakeLatex("exit 3");
        const ManualBuild build = buildTex4htManual(ctx);
        QVERIFY(!build.built);
        QVERIFY(build.failure.startsWith("latex or tex4ht failed (exit status 3)."));
        QCOMPARE(readAll(manual), QByteArray("the old manual\n"));
    }

    void runPastTheLimitIsEndedWithItsChildren() {
        const QString manual = oldManual();
        const QString pidFile = fakeBin.filePath("child.pid");
        fakeLatex("sleep 60 &\necho $! > '" + pidFile.toUtf8() + "'\nsleep 60");
        QElapsedTimer clock;
        clock.start();
        const ManualBuild build = buildTex4htManual(ctx, 1500ms);
        QVERIFY(clock.elapsed() < 10000);
        QVERIFY(!build.built);
        QVERIFY(build.failure.contains("did not finish"));
        QCOMPARE(readAll(manual), QByteArray("the old manual\n"));
        const QString child = QString::fromUtf8(readAll(pidFile)).trimmed();
        QVERIFY(!child.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(isGone(child), 3000);
    }
};

MORVANE_TEST_GUILESS_MAIN(TestManualBuilder)
#include "tst_manualbuilder_e2e.moc"
