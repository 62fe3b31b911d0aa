// The DVI and PDF routes end to end with the real latex, pdflatex and
// texi2dvi: through the Convert command with a scripted prompter, and through
// the built program's batch mode.

#include "conversionrig.h"
#include "drivers/dvipdf.h"
#include "settings/controlnames.h"
#include "support/testmain.h"

#include <QElapsedTimer>

using namespace morvane;
using namespace morvane::test;

namespace {

void dviPdfOptions(OptionsModel& model, bool dviTexify, bool pdfTexify, bool report) {
    model.setCheckValue(ctl::chkTexify(0), dviTexify ? 1 : 0);
    model.setCheckValue(ctl::chkTexify(1), pdfTexify ? 1 : 0);
    model.setCheckValue(ctl::chkReport(0), report ? 1 : 0);
    model.setCheckValue(ctl::chkReport(1), report ? 1 : 0);
    model.setCheckValue(ctl::chkSWPGS, 0);
    model.setCheckValue(ctl::chkIE, 0);
}

QByteArray headerOf(const QString& source) {
    return "Latex log file for " + source.toUtf8() + "\n\n";
}

QByteArray settingLine(const QString& home, const QByteArray& name) {
    const QList<QByteArray> lines = readAll(home + "/convert.sh").split('\n');
    for (const QByteArray& line : lines) {
        if (line.startsWith("set " + name + "="))
            return line;
    }
    return {};
}

const QByteArray kBroken = "\\documentclass{article}\n\\begin{document}\nText \\undefinedmacro\n"
                           "\\end{document}\n";
// No \end{document}: TeX asks for more input, and must not wait for it.
const QByteArray kUnfinished = "\\documentclass{article}\n\\begin{document}\nText\n";

} // namespace

class TestDviPdfE2e : public QObject {
    Q_OBJECT

    QString m_sample;

private slots:
    void initTestCase() {
        m_sample = sample2e();
        QVERIFY2(QFile::exists(m_sample), "kpsewhich finds no sample2e.tex");
    }

    // sample2e.tex through the Convert command by every method.
    void sample2eThroughConvert_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<bool>("texify");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QByteArray>("magic");
        QTest::addColumn<QByteArray>("cmdline");
        QTest::newRow("latex") << int(TabDvi) << false << ".dvi" << QByteArray("\xf7\x02", 2)
                               << QByteArray();
        QTest::newRow("pdflatex") << int(TabPdf) << false << ".pdf" << QByteArray("%PDF")
                                  << QByteArray();
        QTest::newRow("texify dvi") << int(TabDvi) << true << ".dvi" << QByteArray("\xf7\x02", 2)
                                    << QByteArray("set cmdline= -V ");
        QTest::newRow("texify pdf") << int(TabPdf) << true << ".pdf" << QByteArray("%PDF")
                                    << QByteArray("set cmdline=-p -V");
    }
    void sample2eThroughConvert() {
        QFETCH(int, tab);
        QFETCH(bool, texify);
        QFETCH(QString, suffix);
        QFETCH(QByteArray, magic);
        QFETCH(QByteArray, cmdline);
        QTemporaryDir work;
        const QString source = work.filePath("sample2e.tex");
        QVERIFY(QFile::copy(m_sample, source));
        const QByteArray original = readAll(source);

        ConversionRig rig;
        QVERIFY(rig.loaded);
        dviPdfOptions(rig.model, tab == TabDvi && texify, tab == TabPdf && texify, true);
        rig.model.setCheckValue(ctl::chkIE, 1);
        rig.convert(tab, source);

        const QString result = work.filePath("sample2e" + suffix);
        QVERIFY(readAll(result).startsWith(magic));
        QCOMPARE(rig.ctx.expectedOutput, result);
        QCOMPARE(rig.shell.opened, QStringList{result});
        QVERIFY(rig.prompter.prompts().isEmpty());
        if (!cmdline.isEmpty())
            QCOMPARE(settingLine(rig.home.path(), "cmdline"), cmdline);

        const QString log = work.filePath("sample2e.log");
        QCOMPARE(logOf(rig.ctx.logs, "dvi"), log);
        const QByteArray text = readAll(log);
        QVERIFY(text.startsWith(headerOf(source)));
        QCOMPARE(text.count("Latex log file for"), 1);
        QVERIFY(rig.logPlain());
        QVERIFY(rig.model.isEnabled(ctl::cmdLog));
        QCOMPARE(readAll(source), original);
    }

    // The result keeps the whole name before the extension.
    void dottedName() {
        QTemporaryDir work;
        const QString source = work.filePath("my.paper.tex");
        QVERIFY(QFile::copy(m_sample, source));
        ConversionRig rig;
        dviPdfOptions(rig.model, false, false, false);
        const ConversionResult dvi = rig.runDriver(TabDvi, source);
        QCOMPARE(dvi.output, work.filePath("my.paper.dvi"));
        QCOMPARE(dvi.log, work.filePath("my.paper.log"));
        QVERIFY(QFileInfo(dvi.output).size() > 0);
        QVERIFY(!QFile::exists(work.filePath("my.dvi")));

        const BatchRun run =
            runBatch(rig.home.path(), work.path(), {"--convert=pdf", "my.paper.tex"});
        QCOMPARE(run.status, 0);
        QVERIFY(readAll(work.filePath("my.paper.pdf")).startsWith("%PDF"));
    }

    void brokenDocument_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<bool>("texify");
        QTest::newRow("latex") << int(TabDvi) << false;
        QTest::newRow("pdflatex") << int(TabPdf) << false;
        QTest::newRow("texify pdf") << int(TabPdf) << true;
    }
    void brokenDocument() {
        QFETCH(int, tab);
        QFETCH(bool, texify);
        QTemporaryDir work;
        const QString source = work.filePath("broken.tex");
        writeText(source, kBroken);
        ConversionRig rig;
        dviPdfOptions(rig.model, texify, texify, false);
        QElapsedTimer timer;
        timer.start();
        rig.convert(tab, source);
        QVERIFY(timer.elapsed() < 60000);
        const QByteArray log = readAll(work.filePath("broken.log"));
        QVERIFY(log.startsWith(headerOf(source)));
        QVERIFY(log.contains("Undefined control sequence."));
        QVERIFY(rig.logMarked());
        QCOMPARE(readAll(source), kBroken);
    }

    void brokenDocumentsInBatchMode_data() {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<bool>("texify");
        // An error with a result: the log says what went wrong.
        QTest::newRow("dvi texify, undefined macro")
            << "dvi" << kBroken << 1 << QByteArray("Undefined control sequence.") << true;
        QTest::newRow("pdf texify, undefined macro")
            << "pdf" << kBroken << 1 << QByteArray("Undefined control sequence.") << true;
        QTest::newRow("dvi one run, undefined macro")
            << "dvi" << kBroken << 1 << QByteArray("Undefined control sequence.") << false;
        QTest::newRow("pdf one run, undefined macro")
            << "pdf" << kBroken << 1 << QByteArray("Undefined control sequence.") << false;
        // Nothing is written: no new result.
        QTest::newRow("dvi texify, unfinished")
            << "dvi" << kUnfinished << 2 << QByteArray("Emergency stop.") << true;
        QTest::newRow("pdf texify, unfinished")
            << "pdf" << kUnfinished << 2 << QByteArray("Emergency stop.") << true;
        QTest::newRow("dvi one run, unfinished")
            << "dvi" << kUnfinished << 2 << QByteArray("Emergency stop.") << false;
        QTest::newRow("pdf one run, unfinished")
            << "pdf" << kUnfinished << 2 << QByteArray("Emergency stop.") << false;
    }
    void brokenDocumentsInBatchMode() {
        QFETCH(QString, route);
        QFETCH(QByteArray, text);
        QFETCH(int, status);
        QFETCH(QByteArray, message);
        QFETCH(bool, texify);
        QTemporaryDir work;
        writeText(work.filePath("broken.tex"), text);
        TestHome home;
        setIniKey(home.file("Morvane.ini"), route == "dvi" ? "UseDVI" : "UsePDF",
                  texify ? "Yes" : "No");
        QElapsedTimer timer;
        timer.start();
        const BatchRun run =
            runBatch(home.path(), work.path(), {"--convert=" + route, "broken.tex"});
        QVERIFY(timer.elapsed() < 60000);
        QCOMPARE(run.status, status);
        QVERIFY(readAll(work.filePath("broken.log")).contains(message));
        QVERIFY(run.err.contains("broken.log") || status == 2);
        QCOMPARE(readAll(work.filePath("broken.tex")), text);
    }

    // texi2dvi reads the earlier run's log to decide how often LaTeX runs
    // (without it, once more): the log stays in place while it runs, and the
    // one it writes is judged. The stand-in texi2dvi notes whether it found
    // the earlier log, then writes a log of its own.
    void texifyFindsTheEarlierLog_data() {
        QTest::addColumn<QString>("route");
        QTest::newRow("dvi through texi2dvi") << "texify";
        QTest::newRow("pdf through texi2dvi") << "pdf";
    }
    void texifyFindsTheEarlierLog() {
        QFETCH(QString, route);
        QTemporaryDir work;
        const QString source = work.filePath("paper.tex");
        QVERIFY(QFile::copy(m_sample, source));
        QFile earlier(work.filePath("paper.log"));
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier run\n");
        earlier.close();
        const QString fakes = work.filePath("fakes");
        QVERIFY(QDir().mkpath(fakes));
        writeProgram(fakes + "/texi2dvi",
                     "#!/bin/sh\n"
                     "if [ -f paper.log ]; then echo found >seen; else echo missing >seen; fi\n"
                     "echo 'This is a log of this run.' >paper.log\n"
                     ": >paper.dvi; : >paper.pdf\n");
        TestHome home;
        setIniKey(home.file("Morvane.ini"), "Texify", fakes);
        const BatchRun run =
            runBatch(home.path(), work.path(), {"--convert=" + route, "paper.tex"}, fakes);
        QCOMPARE(readAll(work.filePath("seen")), QByteArray("found\n"));
        const QByteArray log = readAll(work.filePath("paper.log"));
        QVERIFY2(log.startsWith(headerOf(source)), run.err.constData());
        QVERIFY(log.endsWith("This is a log of this run.\n"));
    }

    void batchMode_data() {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("dvi") << "dvi"
                             << ".dvi";
        QTest::newRow("pdf") << "pdf"
                             << ".pdf";
    }
    void batchMode() {
        QFETCH(QString, route);
        QFETCH(QString, suffix);
        QTemporaryDir work;
        const QString source = work.filePath("sample2e.tex");
        QVERIFY(QFile::copy(m_sample, source));
        TestHome home;
        BatchRun run = runBatch(home.path(), work.path(), {"--convert=" + route, source});
        QCOMPARE(run.status, 0);
        QVERIFY(QFileInfo(work.filePath("sample2e" + suffix)).size() > 0);
        QVERIFY(readAll(work.filePath("sample2e.log")).startsWith(headerOf(source)));

        // An old result is no new result: a latex that writes nothing.
        const QString fakes = work.filePath("fakes");
        QVERIFY(QDir().mkpath(fakes));
        for (const char* name : {"latex", "pdflatex", "texi2dvi"})
            writeProgram(fakes + "/" + name, "#!/bin/sh\nexit 0\n");
        QTest::qWait(1100);
        // The folder of Program Locations comes first on the path.
        setIniKey(home.file("Morvane.ini"), "Texify", fakes);
        run = runBatch(home.path(), work.path(), {"--convert=" + route, "sample2e.tex"}, fakes);
        QCOMPARE(run.status, 2);
        // The earlier run's log is not taken for this run's.
        QVERIFY2(!QFile::exists(work.filePath("sample2e.log")), run.err.constData());

        run = runBatch(home.path(), work.path(), {"--convert=" + route, "nothing.tex"});
        QCOMPARE(run.status, 2);
    }

    // The corpus in batch mode. The thesis goes through texi2dvi, which must
    // resolve its bibliography and index; a JPEG picture has no place in a
    // DVI file, so that document's DVI log holds the error.
    void corpus_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("route");
        QTest::addColumn<int>("status");
        QTest::newRow("amsmath, dvi") << "amsmath-testmath"
                                      << "dvi" << 0;
        QTest::newRow("pandoc, dvi: JPEG pictures") << "pandoc-reader"
                                                    << "dvi" << 1;
        QTest::newRow("pandoc, pdf") << "pandoc-reader"
                                     << "pdf" << 0;
        QTest::newRow("thesis, texify pdf: bibliography and index") << "thesis-kks32"
                                                                    << "pdf" << 0;
    }
    void corpus() {
        QFETCH(QString, folder);
        QFETCH(QString, route);
        QFETCH(int, status);
        QTemporaryDir work;
        QVERIFY(copyTree(test::corpus(folder), work.path()));
        const auto sources = filesBelow(work.path(), ".tex");
        TestHome home;
        setIniKey(home.file("Morvane.ini"), "UsePDF", "Yes");
        const BatchRun run = runBatch(home.path(), work.path(), {"--convert=" + route, "main.tex"});
        QVERIFY2(run.status == status, run.err.constData());
        QCOMPARE(filesBelow(work.path(), ".tex"), sources);
        QVERIFY(QFileInfo(work.filePath("main." + route)).size() > 0);
        if (status == 1)
            QVERIFY(run.err.contains("main.tex:") && run.err.contains(": error: "));
        if (folder != "thesis-kks32")
            return;
        QVERIFY(readAll(work.filePath("main.bbl")).contains("\\bibitem"));
        QVERIFY(readAll(work.filePath("main.ind")).contains("\\item"));
        const QByteArray log = readAll(work.filePath("main.log"));
        QVERIFY(!log.contains("undefined references"));
        QVERIFY(!log.contains("Citation") || !log.contains("undefined"));
    }

    // "texify" is the DVI route through texi2dvi whatever UseDVI says.
    void texifyWord() {
        QTemporaryDir work;
        QVERIFY(QFile::copy(m_sample, work.filePath("sample2e.tex")));
        TestHome home;
        setIniKey(home.file("Morvane.ini"), "UseDVI", "No");
        const BatchRun run =
            runBatch(home.path(), work.path(), {"--convert=texify", "sample2e.tex"});
        QVERIFY2(run.status == 0, run.err.constData());
        QVERIFY(QFileInfo(work.filePath("sample2e.dvi")).size() > 0);
        QCOMPARE(settingLine(home.path(), "cmdline"), QByteArray("set cmdline="));
        QVERIFY(readAll(home.file("convert.sh")).contains("\nset progpath="));
    }
};

MORVANE_TEST_GUILESS_MAIN(TestDviPdfE2e)
#include "tst_dvipdf_e2e.moc"
