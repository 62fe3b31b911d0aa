// A conversion killed with kill -9 at any moment costs nothing: the next run
// puts back what the killed one renamed, leaves no alias, temporary or
// private script behind, and converts as before; the document is untouched.

#include "support/testhome.h"
#include "support/testmain.h"

#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

using namespace morvane::test;

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entriesUnder(const QString& dir) {
    QStringList names;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        names.append(it.next().mid(dir.size() + 1));
    return names;
}

} // namespace

class TestKilledRun : public QObject {
    Q_OBJECT
    TestHome m_home;
    QTemporaryDir m_work;
    QProcessEnvironment m_env;
    QString m_document;
    QByteArray m_text;
    QByteArray m_page;

    int convert(int killAfterMs = -1) {
        QProcess morvane;
        morvane.setProcessEnvironment(m_env);
        morvane.setWorkingDirectory(m_work.filePath("docs"));
        morvane.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        morvane.setStandardOutputFile(QProcess::nullDevice());
        morvane.start(MORVANE_BUILD_PROGRAM_DIR "/morvane", {"--convert=tex4ht", m_document});
        if (!morvane.waitForStarted())
            return -1;
        if (killAfterMs >= 0 && !morvane.waitForFinished(killAfterMs))
            ::kill(pid_t(morvane.processId()), SIGKILL);
        morvane.waitForFinished(120000);
        return morvane.exitStatus() == QProcess::NormalExit ? morvane.exitCode() : -2;
    }

private slots:
    void initTestCase() {
        QByteArray ini = readFile(m_home.file("Morvane.ini"));
        ini.replace("\nSaveTo=\n", "\nSaveTo=" + m_work.filePath("out").toUtf8() + "\n");
        QFile file(m_home.file("Morvane.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(ini);
        file.close();
        QVERIFY(QDir().mkpath(m_work.filePath("out")));
        QVERIFY(QDir().mkpath(m_work.filePath("docs")));
        QVERIFY(QDir().mkpath(m_work.filePath("tmp")));
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert("MORVANE_HOME", m_home.path());
        m_env.insert("XDG_STATE_HOME", m_work.filePath("state"));
        m_env.insert("TMPDIR", m_work.filePath("tmp"));
        m_env.remove("DISPLAY");

        // A quote in the name: converted under an alias, with the output
        // folder renamed while it runs.
        m_document = m_work.filePath("docs/it's.tex");
        m_text = "\\documentclass{article}\\begin{document}\n";
        for (int i = 0; i < 300; ++i)
            m_text += QString("\\section{S%1}\\label{s%1} Text %1, $x^{%1}$, see \\ref{s%1}.\n")
                          .arg(i)
                          .toUtf8();
        m_text += "\\end{document}\n";
        QFile tex(m_document);
        QVERIFY(tex.open(QIODevice::WriteOnly));
        tex.write(m_text);
        tex.close();
        QCOMPARE(convert(), 0);
        m_page = readFile(m_work.filePath("out/it's/it's.html"));
        QVERIFY(m_page.contains("Text 299"));
    }

    void nextRunRecovers_data() {
        QTest::addColumn<int>("killAfterMs");
        for (int ms : {0, 150, 400, 800, 1200, 1800})
            QTest::addRow("killed after %d ms", ms) << ms;
    }
    void nextRunRecovers() {
        QFETCH(int, killAfterMs);
        convert(killAfterMs);
        QCOMPARE(convert(), 0);
        QCOMPARE(readFile(m_document), m_text);
        QCOMPARE(readFile(m_work.filePath("out/it's/it's.html")), m_page);
        const QStringList left = entriesUnder(m_work.path()).filter("morvane-");
        QVERIFY2(left.isEmpty(), qPrintable(left.join(' ')));
        QCOMPARE(entriesUnder(m_work.filePath("tmp")), QStringList());
        QCOMPARE(QDir(m_work.filePath("state/morvane/journal")).entryList(QDir::Files),
                 QStringList());
    }
};

MORVANE_TEST_GUILESS_MAIN(TestKilledRun)
#include "tst_killedrun_e2e.moc"
