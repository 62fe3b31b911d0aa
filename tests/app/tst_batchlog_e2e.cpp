// Batch mode end to end with the real converters: the log's errors on
// standard error in the form editors jump to, and several files in one run.

#include "drivers/conversionrig.h"
#include "support/testmain.h"

using namespace morvane;
using namespace morvane::test;

namespace {

QString logsData() {
    return QStringLiteral(MORVANE_SOURCE_DIR "/tests/data/logs");
}

QStringList errorLines(const QByteArray& err) {
    QStringList lines;
    for (const QString& line : QString::fromUtf8(err).split('\n')) {
        if (line.contains(": error: ") || line.contains(": warning: "))
            lines.append(line);
    }
    return lines;
}

} // namespace

class TestBatchLogE2e : public QObject {
    Q_OBJECT

    QTemporaryDir m_work;
    QString m_docs;

private slots:
    void initTestCase() {
        m_docs = m_work.filePath("docs");
        QVERIFY(copyTree(logsData(), m_docs));
        QFile clean(m_docs + "/clean.tex");
        QVERIFY(clean.open(QIODevice::WriteOnly));
        clean.write("\\documentclass{article}\n\\begin{document}\nFine.\n\\end{document}\n");
    }

    void errorsOnStandardError_data() {
        QTest::addColumn<QString>("route");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("expected");
        // HeVeA gives up on the document: no page, but the messages say why.
        QTest::newRow("hevea, nothing produced")
            << "hevea" << 2
            << QStringList{"broken.tex:4: warning: Undefined label: 'nowhere'",
                           "chapter.tex:5: error: Giving up command: \\@close",
                           "chapter.tex:3: error: Latex environment 'itemize' is pending"};
        QTest::newRow("dvi, errors in the log")
            << "dvi" << 1
            << QStringList{"chapter.tex:5: error: LaTeX Error: \\begin{itemize} "
                           "on input line 3 ended by \\end{enumerate}.",
                           "broken.tex:8: error: Undefined control sequence."};
    }

    void errorsOnStandardError() {
        QFETCH(QString, route);
        QFETCH(int, status);
        QFETCH(QStringList, expected);
        TestHome home;
        const BatchRun run = runBatch(home.path(), m_docs, {"--convert=" + route, "broken.tex"});
        QCOMPARE(run.status, status);
        const QStringList lines = errorLines(run.err);
        for (const QString& line : expected)
            QVERIFY2(lines.contains(m_docs + '/' + line), qPrintable(run.err));
        // Nothing produced: the message names the log that says why.
        if (status == 2)
            QVERIFY2(run.err.contains("The log " + m_docs.toUtf8() + "/broken.hlog says why."),
                     run.err.constData());
    }

    void severalFiles() {
        TestHome home;
        const BatchRun run = runBatch(home.path(), m_docs,
                                      {"--convert=dvi", "clean.tex", "missing.tex", "broken.tex"});
        QCOMPARE(run.status, 2); // the worst of the three
        const QString err = QString::fromUtf8(run.err);
        QVERIFY2(err.contains("morvane: clean.tex: converted.\n"), qPrintable(err));
        QVERIFY(err.contains("morvane: missing.tex: not converted.\n"));
        QVERIFY(err.contains("morvane: broken.tex: converted, errors in the log.\n"));
        QVERIFY(err.contains(
            "morvane: 3 files: 1 converted, 1 with errors in the log, 1 not converted.\n"));
        // In the order given, each file's summary after its own messages.
        QVERIFY(err.indexOf("clean.tex: converted") < err.indexOf("missing.tex: not"));
        QVERIFY(err.indexOf("broken.tex:8: error:") < err.indexOf("broken.tex: converted"));
        QVERIFY(QFileInfo::exists(m_docs + "/clean.dvi"));
        QVERIFY(QFileInfo::exists(m_docs + "/broken.dvi"));
    }

    void severalCleanFilesExitZero() {
        TestHome home;
        const BatchRun run =
            runBatch(home.path(), m_docs, {"--convert=dvi", "clean.tex", "clean.tex"});
        QCOMPARE(run.status, 0);
    }

    // A route whose program is not where the settings say names the
    // setting and the Debian package that provides the program.
    void missingProgramNamesItsPackage() {
        TestHome home;
        setIniKey(home.file("Morvane.ini"), "Tth", "/nonexistent");
        const BatchRun run = runBatch(home.path(), m_docs, {"--convert=tth", "clean.tex"});
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains("Tth Not Found (see the [Paths] section of ") &&
                     run.err.contains("; on Debian: apt install tth)."),
                 run.err.constData());
    }
};

MORVANE_TEST_GUILESS_MAIN(TestBatchLogE2e)
#include "tst_batchlog_e2e.moc"
