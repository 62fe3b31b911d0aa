// `morvane --check` with the real converters, and with none to be found.

#include "drivers/conversionrig.h"
#include "support/testmain.h"

using namespace morvane;
using namespace morvane::test;

namespace {

BatchRun runCheck(const QString& home, const QString& path, const QString& userHome = {}) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("MORVANE_HOME", home);
    if (!userHome.isEmpty())
        env.insert("HOME", userHome);
    env.insert("PATH", path);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(MORVANE_BUILD_PROGRAM_DIR "/morvane"), {"--check"});
    BatchRun run;
    if (!process.waitForFinished(300000))
        return run;
    run.status = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QStringList reportLines(const QByteArray& out) {
    return QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts);
}

const QStringList kCaptions = {"HeVeA", "TtH", "TeX4ht",  "LaTeX2HTML",
                               "DVI",   "PDF", "LaTeXML", "Pandoc"};

} // namespace

class TestConverterCheckE2e : public QObject {
    Q_OBJECT

private slots:
    void everyRouteWorks() {
        TestHome home;
        QTemporaryDir userHome;
        const BatchRun run = runCheck(home.path(), qEnvironmentVariable("PATH"), userHome.path());
        const QStringList lines = reportLines(run.out);
        QCOMPARE(run.status, 0);
        // Every route's output stays in the check's own folder, whatever
        // output roots the settings name (by default the home folder).
        QCOMPARE(QDir(userHome.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
        QCOMPARE(lines.size(), kCaptions.size());
        // Aligned: every status begins in the same column.
        const qsizetype column = lines[0].indexOf(" works") + 1;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            QVERIFY2(lines[i].startsWith(kCaptions[i] + ' '), qPrintable(lines[i]));
            QCOMPARE(lines[i].mid(column, 6), QString("works "));
            QVERIFY(lines[i].contains(QRegularExpression("\\d+\\.\\d s ")));
        }
        QVERIFY(lines[0].contains(QRegularExpression("hevea \\d+\\.\\d+")));
    }

    void everyConverterMissing() {
        TestHome home;
        QTemporaryDir empty;
        for (const char* key : {"Hevea", "Tth", "Texify", "Tex4ht", "l2h"})
            setIniKey(home.path() + "/Morvane.ini", key, empty.path());
        const BatchRun run = runCheck(home.path(), empty.path());
        const QStringList lines = reportLines(run.out);
        QCOMPARE(run.status, 1);
        QCOMPARE(lines.size(), kCaptions.size());
        for (const QString& line : lines) {
            QVERIFY2(line.contains(" missing "), qPrintable(line));
            QVERIFY(line.contains("Debian package"));
        }
        QVERIFY(lines[2].contains("htlatex (Debian package texlive-plain-generic)"));
        QVERIFY(lines[5].contains("pdflatex (Debian package texlive-latex-base)"));
        QVERIFY(lines[6].contains("latexmlc (Debian package latexml)"));
    }
};

MORVANE_TEST_GUILESS_MAIN(TestConverterCheckE2e)
#include "tst_convertercheck_e2e.moc"
