// The TtH route end to end with the real tth: through the Convert command
// with a scripted prompter, and through the built program's batch mode.

#include "conversionrig.h"
#include "drivers/tth.h"
#include "settings/controlnames.h"
#include "support/testmain.h"

using namespace morvane;
using namespace morvane::test;

namespace {

void tthOptions(OptionsModel& model, bool revise, bool runHtml) {
    model.setCheckValue(ctl::chkItalics, 1);
    model.setCheckValue(ctl::chkInline, 0);
    model.setCheckValue(ctl::chkNumber, 1);
    model.setCheckValue(ctl::chkRevise, revise ? 1 : 0);
    model.setCheckValue(ctl::chkIE, runHtml ? 1 : 0);
    model.setIndex(ctl::optIE, 0);
    model.setCheckValue(ctl::chkClose, 0);
}

QByteArray headerOf(const QString& source) {
    return "Tth log file for " + source.toUtf8() + "\n\n";
}

QByteArray cmdlineOf(const QString& home) {
    const QList<QByteArray> lines = readAll(home + "/convert.sh").split('\n');
    for (const QByteArray& line : lines) {
        if (line.startsWith("set cmdline="))
            return line;
    }
    return {};
}

} // namespace

class TestTthE2e : public QObject {
    Q_OBJECT

    QString m_sample;

private slots:
    void initTestCase() {
        m_sample = sample2e();
        QVERIFY2(QFile::exists(m_sample), "kpsewhich finds no sample2e.tex");
    }

    void sample2eThroughConvert() {
        QTemporaryDir work;
        const QString source = work.filePath("sample2e.tex");
        QVERIFY(QFile::copy(m_sample, source));
        const QByteArray original = readAll(source);

        ConversionRig rig;
        QVERIFY(rig.loaded);
        tthOptions(rig.model, true, true);
        rig.convert(TabTth, source);

        const QString page = work.filePath("sample2e.htm");
        QVERIFY(readAll(page).contains("An Example Document"));
        QCOMPARE(cmdlineOf(rig.home.path()), QByteArray("set cmdline=-i -n"));
        QCOMPARE(rig.shell.opened, QStringList{page});
        QVERIFY(rig.prompter.prompts().isEmpty());
        QCOMPARE(rig.ctx.expectedOutput, page);

        const QString log = work.filePath("sample2e.tlog");
        QCOMPARE(logOf(rig.ctx.logs, "tth"), log);
        const QByteArray text = readAll(log);
        QVERIFY(text.startsWith(headerOf(source)));
        QVERIFY(text.contains("Number of lines processed"));
        // sample2e.tex writes "e.g.\@" and TtH does not know \@: a real complaint.
        QVERIFY(text.contains("**** Unknown command \\@"));
        QVERIFY(rig.logMarked());
        QVERIFY(rig.model.isEnabled(ctl::cmdLog));
        QVERIFY(!QFile::exists(work.filePath("temp.log")));
        QCOMPARE(readAll(source), original);

        // A second run gives a fresh log with one header.
        rig.convert(TabTth, source);
        QCOMPARE(readAll(log).count("Tth log file for"), 1);
    }

    void reviseRemovesTheHourBlock() {
        QTemporaryDir work;
        const QString source = work.filePath("stamp.tex");
        QVERIFY(QFile::copy(dataDir() + "/stamp.tex", source));
        const QString page = work.filePath("stamp.htm");
        ConversionRig rig;

        tthOptions(rig.model, false, false);
        rig.convert(TabTth, source);
        const QByteArray plain = readAll(page);
        QVERIFY(plain.contains("<title>@hour</title>\n\n@hour@minute1060"));

        // TtH 4's style sheets put the block past the first 1000 bytes.
        QVERIFY(plain.indexOf("@hour@minute1060") + 16 > 1000);

        // Revise finds it there all the same: the title line and the 21
        // lines after it go, everything else stays as TtH wrote it.
        tthOptions(rig.model, true, false);
        rig.convert(TabTth, source);
        const QByteArray revised = readAll(page);
        const qsizetype title = plain.indexOf("<title>@hour</title>");
        qsizetype blockEnd = title;
        for (int line = 0; line < 22; ++line)
            blockEnd = plain.indexOf('\n', blockEnd) + 1;
        QCOMPARE(revised, plain.left(title) + plain.mid(blockEnd));
        QVERIFY(!revised.contains("@hour"));
        QVERIFY(revised.contains("Paragraph 8 after the stamp."));
        QVERIFY(!QFile::exists(work.filePath("temp.htm")));
        QVERIFY(rig.model.isEnabled(ctl::cmdShow));
        // TtH's only messages are its progress: the log is clean.
        QVERIFY(readAll(work.filePath("stamp.tlog")).contains("HTML Title constructed as:@hour"));
        QVERIFY(rig.logPlain());
        QCOMPARE(readAll(source), readAll(dataDir() + "/stamp.tex"));

        // A page without the block is left as TtH wrote it.
        const QString other = work.filePath("other.tex");
        QVERIFY(QFile::copy(dataDir() + "/xref/other.tex", other));
        rig.convert(TabTth, other);
        QVERIFY(readAll(work.filePath("other.htm")).contains("The other document."));
        QCOMPARE(readAll(other), readAll(dataDir() + "/xref/other.tex"));
    }

    // TtH's progress lines leave View Log plain; they stay in the log the
    // user sees.
    void cleanDocumentsLeaveTheLogPlain_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("progress");
        QTest::newRow("without .aux") << "xref/other.tex" << QByteArray("No auxiliary LaTeX file");
        QTest::newRow("@hour title") << "stamp.tex" << QByteArray("HTML Title constructed as:");
        // tth runs makeindex itself; it must be able to write the index files.
        QTest::newRow("index") << "index.tex" << QByteArray("Closing index file and processing");
    }
    void cleanDocumentsLeaveTheLogPlain() {
        QFETCH(QString, file);
        QFETCH(QByteArray, progress);
        QTemporaryDir work;
        const QString name = QFileInfo(file).completeBaseName();
        const QString source = work.filePath(name + ".tex");
        QVERIFY(QFile::copy(dataDir() + "/" + file, source));
        ConversionRig rig;
        tthOptions(rig.model, true, false);
        rig.model.setBold(ctl::cmdLog, true);
        rig.model.setCaption(ctl::cmdLog, "Errors in &Log");
        rig.convert(TabTth, source);
        const QByteArray log = readAll(work.filePath(name + ".tlog"));
        QVERIFY(log.startsWith(headerOf(source)));
        QVERIFY2(log.contains(progress), log.constData());
        QVERIFY(log.contains("Number of lines processed approximately"));
        QVERIFY2(rig.logPlain(), log.constData());
        QVERIFY(rig.model.isEnabled(ctl::cmdLog));
        QVERIFY(QFileInfo(work.filePath(name + ".htm")).size() > 0);

        QFile::remove(work.filePath(name + ".htm"));
        const BatchRun run =
            runBatch(rig.home.path(), work.path(), {"--convert=tth", name + ".tex"});
        QCOMPARE(run.status, 0);
        QVERIFY2(run.err.isEmpty(), run.err.constData());
        QVERIFY(QFileInfo(work.filePath(name + ".htm")).size() > 0);
        QCOMPARE(readAll(source), readAll(dataDir() + "/" + file));
    }

    void unknownMacro() {
        QTemporaryDir work;
        const QString source = work.filePath("macro.tex");
        QVERIFY(QFile::copy(dataDir() + "/macro.tex", source));
        ConversionRig rig;
        tthOptions(rig.model, true, false);
        rig.convert(TabTth, source);
        QVERIFY(readAll(work.filePath("macro.htm")).contains("Text with"));
        const QByteArray log = readAll(work.filePath("macro.tlog"));
        QVERIFY(log.startsWith(headerOf(source)));
        QVERIFY(log.contains("Unknown command \\undefinedmacro"));
        QVERIFY(rig.logMarked());
        QCOMPARE(readAll(source), readAll(dataDir() + "/macro.tex"));

        // TtH counts an unknown command as a warning: listed, status 0.
        const BatchRun run = runBatch(rig.home.path(), work.path(), {"--convert=tth", "macro.tex"});
        QCOMPARE(run.status, 0);
        QVERIFY2(run.err.contains("macro.tex:") && run.err.contains("warning: Unknown command"),
                 run.err.constData());
        QCOMPARE(readAll(source), readAll(dataDir() + "/macro.tex"));
    }

    void crossReferencesAndSubdirectoryInput() {
        QTemporaryDir work;
        QVERIFY(copyTree(dataDir() + "/xref", work.path()));
        const auto sources = filesBelow(work.path(), ".tex");
        ConversionRig rig;
        tthOptions(rig.model, true, false);
        rig.convert(TabTth, work.filePath("main.tex"));
        const QByteArray page = readAll(work.filePath("main.htm"));
        QVERIFY(page.contains("Back to Section"));    // \input{parts/more}
        QVERIFY(page.contains("href=\"other.tex\"")); // TtH's route has no link fix-up
        QVERIFY(page.contains("figure.png"));
        QVERIFY(rig.links.texts.isEmpty());
        QCOMPARE(filesBelow(work.path(), ".tex"), sources);

        // LaTeX's .aux file, prepared first in a private folder, resolves
        // \ref; without it TtH cannot and says so.
        for (const bool prepare : {true, false}) {
            QFile::remove(work.filePath("main.htm"));
            setIniKey(rig.home.file("Morvane.ini"), "PrepareReferences", prepare ? "Yes" : "No");
            const BatchRun run =
                runBatch(rig.home.path(), work.path(), {"--convert=tth", "main.tex"});
            // With the .aux TtH warns of hyperref's \AtBeginDocument in it;
            // without, of the reference: warnings both.
            QCOMPARE(run.status, 0);
            QCOMPARE(readAll(work.filePath("main.tlog")).contains("Unknown Latex \\ref:sec:more"),
                     !prepare);
            QVERIFY(readAll(work.filePath("main.htm")).contains("Back to Section"));
            QCOMPARE(filesBelow(work.path(), ".tex"), sources);
            QVERIFY(!QFileInfo::exists(work.filePath("main.aux")));
        }
    }

    void awkwardFileNames_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("blank") << "with blank";
        QTest::newRow("double quote") << "quote\"d";
        QTest::newRow("single quote") << "it's";
        QTest::newRow("semicolon") << "semi;colon";
        QTest::newRow("command substitution") << "$(touch PWNED)";
        QTest::newRow("backquotes") << "`touch PWNED`";
        QTest::newRow("leading dash") << "-dash";
    }
    void awkwardFileNames() {
        QFETCH(QString, name);
        QTemporaryDir work;
        const QString dir = work.filePath("odd dir; `touch PWNED`");
        QVERIFY(QDir().mkpath(dir));
        const QString source = dir + "/" + name + ".tex";
        QVERIFY(QFile::copy(dataDir() + "/xref/other.tex", source));

        ConversionRig rig;
        tthOptions(rig.model, true, false);
        rig.convert(TabTth, source);
        QVERIFY(readAll(dir + "/" + name + ".htm").contains("The other document."));
        QVERIFY(readAll(dir + "/" + name + ".tlog").startsWith(headerOf(source)));

        QFile::remove(dir + "/" + name + ".htm");
        const BatchRun run = runBatch(rig.home.path(), dir, {"--convert=tth", name + ".tex"});
        QCOMPARE(run.status, 0);
        QVERIFY(readAll(dir + "/" + name + ".htm").contains("The other document."));
        QCOMPARE(readAll(source), readAll(dataDir() + "/xref/other.tex"));
        QVERIFY(filesNamed(work.path(), "PWNED").isEmpty());
        QVERIFY(filesNamed(rig.home.path(), "PWNED").isEmpty());
    }

    // Awkward documents end, are judged, and leave the sources and
    // everything outside the document's folder as they were.
    void badDocumentsInBatchMode_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("status");
        QTest::newRow("input cycle: TtH gives up") << "cycle.tex" << 2;
        QTest::newRow("missing input and outside picture") << "missing.tex" << 1;
    }
    void badDocumentsInBatchMode() {
        QFETCH(QString, file);
        QFETCH(int, status);
        checkBadDocumentInBatchMode("tth", file, status, ".htm");
    }

    // A batch driver with Windows line ends is named as the cause, not the
    // log, which holds only its header.
    void batchDriverWithWindowsLineEndsIsNamed() {
        QTemporaryDir work;
        TestHome home;
        writeText(work.filePath("a.tex"),
                  "\\documentclass{article}\\begin{document}A\\end{document}\n");
        QByteArray script = readAll(home.file("convert.sh"));
        script.replace("\n", "\r\n");
        QFile out(home.file("convert.sh"));
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(script);
        out.close();
        const BatchRun run = runBatch(home.path(), work.path(), {"--convert=tth", "a.tex"});
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains("has Windows line ends (CR LF), which the shell cannot read"),
                 run.err.constData());
    }

    // The preparation's LaTeX run finds what TtH passes over: its errors
    // are listed with the document's line, and the page is still made.
    void preparationErrorsAreListed() {
        QTemporaryDir work;
        writeText(work.filePath("prep.tex"),
                  "\\documentclass{article}\n\\begin{document}\nSee \\ref{a}.\n"
                  "\\section{A}\\label{a}\n\\undefinedthing\n\\end{document}\n");
        TestHome home;
        const BatchRun run = runBatch(home.path(), work.path(), {"--convert=tth", "prep.tex"});
        QVERIFY2(run.err.contains(work.filePath("prep.tex").toUtf8() +
                                  ":5: error: Undefined control sequence."),
                 run.err.constData());
        QCOMPARE(run.status, 1);
        QVERIFY(readAll(work.filePath("prep.htm")).contains("See"));
    }

    // \include'd files in a subfolder: the preparation makes their .aux
    // files too, and TtH, which runs beside the document, reads their
    // labels from the prepared .aux.
    void includedFilesInSubfoldersArePrepared() {
        QTemporaryDir work;
        writeText(work.filePath("book.tex"),
                  "\\documentclass{report}\n\\begin{document}\nSee chapter~\\ref{one}.\n"
                  "\\include{parts/one}\n\\end{document}\n");
        writeText(work.filePath("parts/one.tex"), "\\chapter{One}\\label{one}\nText.\n");
        TestHome home;
        const BatchRun run = runBatch(home.path(), work.path(), {"--convert=tth", "book.tex"});
        QVERIFY2(run.status == 0, run.err.constData());
        QVERIFY(!readAll(work.filePath("book.htm")).contains("??"));
        QVERIFY(!QFileInfo::exists(work.filePath("parts/one.aux"))); // nothing beside the document
    }

    void batchMode() {
        QTemporaryDir work;
        QVERIFY(QFile::copy(m_sample, work.filePath("sample2e.tex")));
        const QByteArray original = readAll(work.filePath("sample2e.tex"));
        TestHome home;
        const QByteArray iniBefore = readAll(home.file("Morvane.ini"));
        BatchRun run =
            runBatch(home.path(), work.path(), {"--convert=tth", work.filePath("sample2e.tex")});
        QCOMPARE(run.status, 0); // TtH's warnings (its unknown \@,) are listed, not failures
        QVERIFY(run.err.contains("sample2e.tex:78: warning: Unknown command"));
        QVERIFY(readAll(work.filePath("sample2e.htm")).contains("An Example Document"));
        QVERIFY(readAll(work.filePath("sample2e.tlog"))
                    .startsWith(headerOf(work.filePath("sample2e.tex"))));
        QCOMPARE(readAll(work.filePath("sample2e.tex")), original);
        QCOMPARE(readAll(home.file("Morvane.ini")), iniBefore);
        QVERIFY(!QFile::exists(home.file("FileList.txt")));

        run = runBatch(home.path(), work.path(), {"--convert=tth", "nothing.tex"});
        QCOMPARE(run.status, 2);

        // With multiple conversions allowed the wait serves events instead of
        // blocking; the outcome is the same.
        setIniKey(home.file("Morvane.ini"), "AllowMultiProcess", "Yes");
        QFile::remove(work.filePath("sample2e.htm"));
        run = runBatch(home.path(), work.path(), {"--convert=tth", "sample2e.tex"});
        QCOMPARE(run.status, 0);
        QVERIFY(readAll(work.filePath("sample2e.htm")).contains("An Example Document"));

        // A tth that writes nothing leaves an empty page: nothing was produced.
        const QString fakes = work.filePath("fakes");
        QVERIFY(QDir().mkpath(fakes));
        writeProgram(fakes + "/tth", "#!/bin/sh\nexit 0\n");
        // The folder of Program Locations comes first on the path.
        setIniKey(home.file("Morvane.ini"), "Tth", fakes);
        run = runBatch(home.path(), work.path(), {"--convert=tth", "sample2e.tex"}, fakes);
        QCOMPARE(QFileInfo(work.filePath("sample2e.htm")).size(), 0);
        QCOMPARE(run.status, 2);
        QCOMPARE(readAll(work.filePath("sample2e.tex")), original);
    }
};

MORVANE_TEST_GUILESS_MAIN(TestTthE2e)
#include "tst_tth_e2e.moc"
