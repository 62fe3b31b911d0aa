// A conversion killed with kill -9 at any moment costs nothing: the next
// start puts back what the killed one renamed and its previous complete
// result, leaves no alias, temporary or private script behind, and the next
// run converts as before; the document is never touched.

#include "support/testhome.h"
#include "support/testmain.h"

#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

using namespace morvane::test;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QStringList entriesUnder(const QString& dir) {
    QStringList names;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        names.append(it.next().mid(dir.size() + 1));
    return names;
}

// A document that keeps each converter busy for a moment.
QByteArray documentText(int sections) {
    QByteArray text = "\\documentclass{article}\\begin{document}\n";
    for (int i = 0; i < sections; ++i)
        text += QString("\\section{S%1}\\label{s%1} Text %1, $x^{%1}$, see \\ref{s%1}.\n")
                    .arg(i)
                    .toUtf8();
    return text + "\\end{document}\n";
}

} // namespace

class TestKilledRun : public QObject {
    Q_OBJECT
    TestHome m_home;
    QTemporaryDir m_work;
    QProcessEnvironment m_env;

    // The exit code, -1 when the program did not start, -2 when it was killed.
    int convert(const QString& route, const QString& file, int killAfterMs = -1) {
        QProcess morvane;
        morvane.setProcessEnvironment(m_env);
        morvane.setWorkingDirectory(QFileInfo(file).path());
        morvane.setStandardOutputFile(QProcess::nullDevice());
        morvane.setStandardErrorFile(QProcess::nullDevice());
        morvane.start(MORVANE_BUILD_PROGRAM_DIR "/morvane", {"--convert=" + route, file});
        if (!morvane.waitForStarted())
            return -1;
        if (killAfterMs >= 0 && !morvane.waitForFinished(killAfterMs))
            ::kill(pid_t(morvane.processId()), SIGKILL);
        morvane.waitForFinished(300000);
        return morvane.exitStatus() == QProcess::NormalExit ? morvane.exitCode() : -2;
    }

    QString resultOf(const QString& route, const QString& dir, const QString& base) const {
        if (route == "tex4ht")
            return m_work.filePath("out/" + base + '/' + base + ".html");
        if (route == "latex2html")
            return m_work.filePath("out/" + base + "/index.html");
        const QString extension = route == "tth"     ? ".htm"
                                  : route == "hevea" ? ".html"
                                                     : '.' + route;
        return dir + '/' + base + extension;
    }

private slots:
    void initTestCase() {
        QByteArray ini = readAll(m_home.file("Morvane.ini"));
        ini.replace("\nSaveTo=\n", "\nSaveTo=" + m_work.filePath("out").toUtf8() + "\n");
        writeFile(m_home.file("Morvane.ini"), ini);
        for (const char* dir : {"out", "tmp", "other"})
            QVERIFY(QDir().mkpath(m_work.filePath(dir)));
        writeFile(m_work.filePath("other/other.tex"), documentText(1));
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert("MORVANE_HOME", m_home.path());
        m_env.insert("XDG_STATE_HOME", m_work.filePath("state"));
        m_env.insert("TMPDIR", m_work.filePath("tmp"));
        m_env.remove("DISPLAY");
    }

    void previousResultSurvivesTheKill_data() {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("base");
        QTest::addColumn<int>("killAfterMs");
        for (const char* route : {"tth", "hevea", "dvi", "pdf", "tex4ht", "latex2html"})
            // A quote in the name: converted under an alias (with the output
            // folder renamed while it runs).
            for (const char* base : {"plain", "it's"})
                for (int ms : {150, 700, 1500})
                    QTest::addRow("%s, %s, killed after %d ms", route, base, ms)
                        << route << base << ms;
    }
    void previousResultSurvivesTheKill() {
        QFETCH(QString, route);
        QFETCH(QString, base);
        QFETCH(int, killAfterMs);
        const QString dir = m_work.filePath("docs-" + route);
        QVERIFY(QDir().mkpath(dir));
        const QString document = dir + '/' + base + ".tex";
        const QByteArray text = documentText(route == "latex2html" ? 40 : 300);
        const QString result = resultOf(route, dir, base);
        if (!QFileInfo::exists(result)) {
            writeFile(document, text);
            QVERIFY(convert(route, document) >= 0);
        }
        const QByteArray before = readAll(result);
        QVERIFY2(!before.isEmpty(), qPrintable(result));

        const bool killed = convert(route, document, killAfterMs) == -2;
        // Any start finishes what the killed run left: the previous result,
        // or the new one when the run ended before the kill.
        QVERIFY(convert("tth", m_work.filePath("other/other.tex")) >= 0);
        if (killed)
            QCOMPARE(readAll(result), before);
        else
            QVERIFY(!readAll(result).isEmpty());
        QCOMPARE(readAll(document), text);
        QStringList left = entriesUnder(m_work.path()).filter("morvane-");
        left += entriesUnder(m_work.path()).filter(".morvane");
        QVERIFY2(left.isEmpty(), qPrintable(left.join(' ')));
        QCOMPARE(entriesUnder(m_work.filePath("tmp")), QStringList());
        QCOMPARE(QDir(m_work.filePath("state/morvane/journal")).entryList(QDir::Files),
                 QStringList());

        // And the next run converts as before.
        QVERIFY(convert(route, document) >= 0);
        QVERIFY(!readAll(result).isEmpty());
    }
};

MORVANE_TEST_GUILESS_MAIN(TestKilledRun)
#include "tst_killedrun_e2e.moc"
