// Convert on save end to end: the built program watching a real document
// through latex, and the window's check box converting with HeVeA.

#include "drivers/conversionrig.h"
#include "settings/controlnames.h"
#include "support/testmain.h"
#include "ui/convertonsave.h"

#include <csignal>
#include <sys/stat.h>

using namespace morvane;
using namespace morvane::test;

namespace {

// The built program in watch mode, its messages read as they come.
struct Watching {
    QProcess process;
    QByteArray err;

    Watching(const QString& home, const QString& dir, const QStringList& args) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("MORVANE_HOME", home);
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(dir);
        process.start(QStringLiteral(MORVANE_BUILD_PROGRAM_DIR "/morvane"), args);
    }
    ~Watching() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }
    // Waits until standard error holds `text` `times` times.
    bool waitFor(const QByteArray& text, int times = 1, int timeoutMs = 60000) {
        QElapsedTimer timer;
        timer.start();
        while (err.count(text) < times) {
            if (timer.hasExpired(timeoutMs) || process.state() == QProcess::NotRunning)
                return false;
            process.waitForReadyRead(100);
            err += process.readAllStandardError();
        }
        return true;
    }
};

void save(const QString& path, const QByteArray& text, bool renameOver) {
    const QString target = renameOver ? path + ".new" : path;
    QFile file(target);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
    file.close();
    if (renameOver)
        QVERIFY(::rename(QFile::encodeName(target), QFile::encodeName(path)) == 0);
}

const QByteArray kPaper = "\\documentclass{article}\n\\usepackage{mine}\n\\begin{document}\n"
                          "\\input{intro}\nDone.\n\\end{document}\n";

} // namespace

class TestWatchModeE2e : public QObject {
    Q_OBJECT
private slots:
    // The style file is known only from LaTeX's recorder list, the
    // introduction from the \input line; an editor's rename-over save of
    // either converts again, a deleted file waits for its return, and Ctrl+C
    // ends the watch with the last conversion's status.
    void watchesWhatLatexReads() {
        QTemporaryDir docs;
        save(docs.filePath("paper.tex"), kPaper, false);
        save(docs.filePath("mine.sty"), "\\newcommand\\mine{A}\n", false);
        save(docs.filePath("intro.tex"), "Intro \\mine.\n", false);
        TestHome home;
        Watching run(home.path(), docs.path(), {"--convert=dvi", "--watch", "paper.tex"});
        QVERIFY2(run.waitFor("watching 3 file(s) of paper.tex"), run.err.constData());
        const QString dvi = docs.filePath("paper.dvi");
        const QDateTime first = QFileInfo(dvi).lastModified();
        QVERIFY(first.isValid());

        save(docs.filePath("mine.sty"), "\\newcommand\\mine{B}\n", true);
        QVERIFY2(run.waitFor("mine.sty saved; converting again."), run.err.constData());
        QVERIFY(run.waitFor("watching", 2));
        QVERIFY(QFileInfo(dvi).lastModified() > first);

        QVERIFY(QFile::remove(docs.filePath("intro.tex")));
        QVERIFY2(run.waitFor("intro.tex is gone; waiting for it to come back."),
                 run.err.constData());
        QCOMPARE(run.err.count("converting again"), 1);
        save(docs.filePath("intro.tex"), "Intro again.\n", false);
        QVERIFY2(run.waitFor("intro.tex saved; converting again."), run.err.constData());
        QVERIFY(run.waitFor("watching", 3));

        ::kill(pid_t(run.process.processId()), SIGINT);
        QVERIFY(run.process.waitForFinished(30000));
        run.err += run.process.readAllStandardError();
        QCOMPARE(run.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(run.process.exitCode(), 0);
        QVERIFY(run.err.endsWith("morvane: stopped watching.\n"));
        QCOMPARE(run.err.count("converting again"), 2);
        QVERIFY(readAll(docs.filePath("paper.fls")).contains("mine.sty"));
    }

    // A special file named for watching is refused at once, never opened
    // (a pipe would block the program until someone writes to it).
    void specialFileIsRefused() {
        QTemporaryDir docs;
        QVERIFY(::mkfifo(QFile::encodeName(docs.filePath("pipe.tex")).constData(), 0600) == 0);
        TestHome home;
        Watching run(home.path(), docs.path(), {"--convert=tth", "--watch", "pipe.tex"});
        QVERIFY(run.process.waitForFinished(20000));
        run.err += run.process.readAllStandardError();
        QCOMPARE(run.process.exitCode(), 2);
        QVERIFY2(run.err.contains("is not a file"), run.err.constData());
    }

    // The window's check box: ticking converts, a save converts again, and
    // a page of the built-in browser is reloaded in place both times.
    void checkBoxConvertsOnSave() {
        QTemporaryDir docs;
        const QString source = docs.filePath("note.tex");
        save(source, "\\documentclass{article}\\begin{document}First.\\end{document}\n", false);
        ConversionRig rig;
        QVERIFY(rig.loaded);
        struct Viewer : ResultViewer {
            QStringList shown, reloaded, refreshed;
            void show(const QString& file) override { shown.append(file); }
            void reloadKeepingScroll(const QString& file) override { reloaded.append(file); }
            void reloadIfShowing(const QString& file) override { refreshed.append(file); }
        } viewer;
        rig.ctx.seams.viewer = &viewer;
        rig.selectTab(TabHevea);
        rig.model.setCheckValue(ctl::chkIE, 1);
        rig.model.setIndex(ctl::optIE, 1);
        rig.model.setText(ctl::cmbTeX, source);
        ConvertOnSave watch(rig.ctx);
        rig.model.setChecked(ctl::chkWatch, true);
        const QString page = docs.filePath("note.html");
        QVERIFY(readAll(page).contains("First."));
        QCOMPARE(viewer.reloaded, QStringList{page});

        save(source, "\\documentclass{article}\\begin{document}Second.\\end{document}\n", true);
        QTRY_VERIFY_WITH_TIMEOUT(readAll(page).contains("Second."), 30000);
        QCOMPARE(viewer.reloaded, (QStringList{page, page}));
        QVERIFY(viewer.shown.isEmpty());
        QCOMPARE(rig.ctx.seams.viewer, &viewer);
        QVERIFY(viewer.refreshed.isEmpty());

        // Not shown after the run: a page the browser has open is refreshed.
        rig.model.setCheckValue(ctl::chkIE, 0);
        save(source, "\\documentclass{article}\\begin{document}Again.\\end{document}\n", false);
        QTRY_VERIFY_WITH_TIMEOUT(readAll(page).contains("Again."), 30000);
        QTRY_COMPARE(viewer.refreshed, QStringList{page});
        QCOMPARE(viewer.reloaded.size(), 2);

        rig.model.setChecked(ctl::chkWatch, false);
        QVERIFY(!watch.isWatching());
        save(source, "\\documentclass{article}\\begin{document}Third.\\end{document}\n", false);
        QTest::qWait(800);
        QVERIFY(!readAll(page).contains("Third."));
    }
};

MORVANE_TEST_MAIN(TestWatchModeE2e)
#include "tst_watchmode_e2e.moc"
