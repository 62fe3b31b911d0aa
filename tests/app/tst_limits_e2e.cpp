// A converter that never ends, or never stops growing, is ended by its
// limit together with everything it started: a LaTeX loop by the time limit,
// a stand-in converter that allocates without end by the memory limit (also
// when no single process passes it, only the group together). Batch mode
// gives status 2 and names the limit and how to raise it, on standard error
// and in the run's log; the window says so through the prompter. The
// document is never touched.

#include "drivers/conversionrig.h"
#include "platform/runlimits.h"
#include "support/routetabs.h"
#include "support/testmain.h"

#include <QElapsedTimer>
#include <cerrno>
#include <csignal>
#include <unistd.h>

using namespace morvane;
using namespace morvane::test;

namespace {

const QByteArray kLoop =
    "\\documentclass{article}\\begin{document}\\loop\\iftrue x\\par\\repeat\\end{document}\n";
const QByteArray kPlain = "\\documentclass{article}\\begin{document}Fine.\\end{document}\n";

// A stand-in HeVeA: it answers the version query like the real one and
// otherwise runs the shell code `body`.
QByteArray standInHevea(const QByteArray& body) {
    return "#!/bin/sh\n"
           "case \"$1\" in -version) echo 'hevea 2.36'; exit 0 ;; esac\n" +
           body + "\n";
}

// Grows by 8 MB at a time, touching every page, until it is ended.
const QByteArray kGrowsForEver =
    "exec python3 -c 'chunks = []\nwhile True: chunks.append(b\"x\" * (8 << 20))'";
// Two processes of 150 MB each, both under a limit of 200 MB, that then wait.
const QByteArray kTwoHalves =
    "python3 -c 'import time; a = b\"x\" * (150 << 20); time.sleep(600)' &\n"
    "python3 -c 'import time; a = b\"x\" * (150 << 20); time.sleep(600)' &\n"
    "wait";

// The process group of a running converter whose command line names
// `marker`; 0 when none runs. The program itself names it too, and so may a
// helper it runs in its own group: only a group of its own counts.
long converterGroup(const QByteArray& marker, qint64 program) {
    const long programGroup = long(::getpgid(pid_t(program)));
    const QDir proc(QStringLiteral("/proc"));
    for (const QString& entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (!readAll("/proc/" + entry + "/cmdline").contains(marker))
            continue;
        const QByteArray stat = readAll("/proc/" + entry + "/stat");
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 2 && fields.at(2).toLong() != programGroup)
            return fields.at(2).toLong();
    }
    return 0;
}

// The processes of `group` still there, as "pid state command" lines.
QString groupMembers(long group) {
    QStringList members;
    const QDir proc(QStringLiteral("/proc"));
    for (const QString& entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QByteArray stat = readAll("/proc/" + entry + "/stat");
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 2 && fields.at(2).toLong() == group)
            members.append(entry + ' ' + fields.at(0) + ' ' +
                           readAll("/proc/" + entry + "/cmdline").replace('\0', ' '));
    }
    return members.join('\n');
}

// No process of the group is left; ended processes may take a moment to be reaped.
bool groupGone(long group) {
    for (int tries = 0; tries < 100; ++tries) {
        if (::kill(-pid_t(group), 0) != 0 && errno == ESRCH)
            return true;
        QTest::qWait(50);
    }
    return false;
}

} // namespace

class TestLimitsE2e : public QObject {
    Q_OBJECT
private slots:
    void batchRunEndsAtItsLimit_data() {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QByteArray>("standIn"); // empty: the real converter
        QTest::addColumn<QStringList>("limits");
        QTest::addColumn<QString>("log");
        QTest::addColumn<QString>("named");
        QTest::addColumn<QString>("raise");
        QTest::addColumn<qint64>("memoryLimit");

        // texi2dvi takes seconds of its own before LaTeX starts on a busy
        // machine (more than eight while the whole suite runs on two cores):
        // the limit leaves LaTeX time to write its log.
        QTest::newRow("pdf route, LaTeX loop: time")
            << "pdf"
            << "loop-pdf" << kLoop << QByteArray() << QStringList{"--timeout=15"} << ".log"
            << "after 15 seconds, its time limit"
            << "--timeout=SECONDS" << qint64(0);
        QTest::newRow("dvi route (texi2dvi), LaTeX loop: time")
            << "dvi"
            << "loop-dvi" << kLoop << QByteArray() << QStringList{"--timeout=15"} << ".log"
            << "after 15 seconds, its time limit"
            << "--timeout=SECONDS" << qint64(0);
        // The time limit is there only so that a missed memory limit ends the
        // test with the wrong message instead of after ten minutes.
        QTest::newRow("converter allocating without end: memory")
            << "hevea"
            << "grows" << kPlain << standInHevea(kGrowsForEver)
            << QStringList{"--memory=200", "--timeout=60"} << ".hlog"
            << "more than 200 MB of memory, its memory limit"
            << "--memory=MB" << qint64(200);
        QTest::newRow("two processes under the limit, over it together: memory")
            << "hevea"
            << "halves" << kPlain << standInHevea(kTwoHalves)
            << QStringList{"--memory=200", "--timeout=60"} << ".hlog"
            << "more than 200 MB of memory, its memory limit"
            << "--memory=MB" << qint64(200);
    }
    void batchRunEndsAtItsLimit() {
        QFETCH(QString, route);
        QFETCH(QString, base);
        QFETCH(QByteArray, document);
        QFETCH(QByteArray, standIn);
        QFETCH(QStringList, limits);
        QFETCH(QString, log);
        QFETCH(QString, named);
        QFETCH(QString, raise);
        QFETCH(qint64, memoryLimit);

        TestHome home;
        QTemporaryDir work;
        const QString source = work.filePath(base + ".tex");
        QFile tex(source);
        QVERIFY(tex.open(QIODevice::WriteOnly));
        tex.write(document);
        tex.close();

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!standIn.isEmpty()) {
            const QString fakes = work.filePath("fakes");
            QVERIFY(QDir().mkpath(fakes));
            writeProgram(fakes + "/hevea", standIn);
            setIniKey(home.file("Morvane.ini"), "Hevea", fakes);
            env.insert("PATH", fakes + ':' + env.value("PATH"));
        }
        env.insert("MORVANE_HOME", home.path());
        env.insert("XDG_STATE_HOME", work.filePath("state"));
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");

        QProcess morvane;
        morvane.setProcessEnvironment(env);
        morvane.setWorkingDirectory(work.path());
        morvane.start(MORVANE_BUILD_PROGRAM_DIR "/morvane",
                      QStringList{"--convert=" + route} + limits + QStringList{base + ".tex"});
        QVERIFY(morvane.waitForStarted());

        // Watch the converter's group while it runs: when it started and
        // when its memory first passed the limit, to see how soon it ends.
        long group = 0;
        QElapsedTimer clock;
        clock.start();
        qint64 groupSeen = -1;
        qint64 limitPassed = -1;
        while (!morvane.waitForFinished(20) && clock.elapsed() < 120000) {
            if (group == 0) {
                group = converterGroup(base.toUtf8(), morvane.processId());
                if (group != 0)
                    groupSeen = clock.elapsed();
            }
            if (group != 0 && memoryLimit > 0 && limitPassed < 0 &&
                groupMemoryBytes(group) > memoryLimit * 1024 * 1024)
                limitPassed = clock.elapsed();
        }
        QCOMPARE(morvane.state(), QProcess::NotRunning); // ended, not hanging
        const qint64 ended = clock.elapsed();
        QVERIFY2(group != 0, "the converter's group was never seen");
        if (memoryLimit > 0)
            qInfo("ended %lld ms after the group passed the memory limit", ended - limitPassed);
        else
            qInfo("the converter ran for %lld ms", ended - groupSeen);

        QCOMPARE(morvane.exitStatus(), QProcess::NormalExit);
        QCOMPARE(morvane.exitCode(), 2);
        const QString err = QString::fromUtf8(morvane.readAllStandardError());
        QVERIFY2(err.contains(named) && err.contains(raise), qPrintable(err));
        QVERIFY2(groupGone(group),
                 qPrintable("left of the converter's group:\n" + groupMembers(group)));
        QCOMPARE(readAll(source), document);
        const QString logText = QString::fromUtf8(readAll(work.filePath(base + log)));
        QVERIFY2(logText.trimmed().endsWith(named + ". If the document really needs " +
                                            (raise.startsWith("--timeout") ? "longer" : "more") +
                                            ", run it with " + raise + '.'),
                 qPrintable(logText.right(400)));
    }

    void badLimitIsRefused_data() {
        QTest::addColumn<QString>("option");
        QTest::newRow("no time") << "--timeout=0";
        QTest::newRow("time not a number") << "--timeout=ten";
        QTest::newRow("negative memory") << "--memory=-200";
        QTest::newRow("no memory given") << "--memory=";
    }
    void badLimitIsRefused() {
        QFETCH(QString, option);
        TestHome home;
        QTemporaryDir work;
        QFile tex(work.filePath("fine.tex"));
        QVERIFY(tex.open(QIODevice::WriteOnly));
        tex.write(kPlain);
        tex.close();
        const BatchRun run =
            runBatch(home.path(), work.path(), {"--convert=pdf", option, "fine.tex"});
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains(option.toUtf8() + " needs a whole number above 0"),
                 run.err.constData());
        QVERIFY(!QFileInfo::exists(work.filePath("fine.pdf")));
    }

    // In the window the prompter says it, and View Log still shows the log.
    void windowTellsThroughThePrompter() {
        ConversionRig rig;
        QVERIFY(rig.loaded);
        QTemporaryDir work;
        const QString source = work.filePath("loop.tex");
        QFile tex(source);
        QVERIFY(tex.open(QIODevice::WriteOnly));
        tex.write(kLoop);
        tex.close();
        rig.ctx.settings.vars.timeLimitSeconds = 8;

        rig.convert(TabPdf, source);

        QCOMPARE(rig.prompter.prompts().size(), 1);
        const Prompt told = rig.prompter.prompts().first();
        QCOMPARE(told.title, QStringLiteral("Conversion Limit"));
        QCOMPARE(told.text,
                 QStringLiteral("The conversion of loop.tex was ended after 8 seconds, its time "
                                "limit. If the document really needs longer, raise the time "
                                "limit in More Preferences."));
        QVERIFY(rig.model.isEnabled(ctl::cmdLog));
        QVERIFY(readAll(work.filePath("loop.log")).contains("Morvane: " + told.text.toUtf8()));
        QCOMPARE(readAll(source), kLoop);
    }
};

MORVANE_TEST_GUILESS_MAIN(TestLimitsE2e)
#include "tst_limits_e2e.moc"
