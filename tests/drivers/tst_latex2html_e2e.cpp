// The LaTeX2HTML route end to end: the real latex2html (with latex, netpbm
// and Ghostscript) on a document with a picture and references across
// sections, LaTeX's sample2e, the corpus and awkward input.

#include "conversionrig.h"
#include "drivers/l2hinit.h"
#include "settings/controlnames.h"
#include "support/testmain.h"

#include <QRegularExpression>
#include <QUrl>

using namespace morvane;
using namespace morvane::test;

namespace {

QString l2hData() {
    return QStringLiteral(MORVANE_SOURCE_DIR "/tests/data/latex2html");
}

} // namespace

class TestLatex2htmlE2e : public QObject {
    Q_OBJECT

    // A rig on the LaTeX2HTML tab with its output root `out`.
    static void prepare(ConversionRig& rig, const QString& out) {
        QVERIFY(rig.loaded);
        rig.ctx.settings.vars.l2hSaveTo = out;
        rig.selectTab(TabL2h);
        QVERIFY(rig.model.isEnabled(ctl::cmdConvert));
    }

private slots:
    void pages_data() {
        QTest::addColumn<bool>("subfolder");
        QTest::newRow("images beside the pages") << false;
        QTest::newRow("images in a subfolder") << true;
    }

    void pages() {
        QFETCH(bool, subfolder);
        QTemporaryDir work;
        const QString docs = work.filePath("docs");
        QVERIFY(copyTree(l2hData(), docs));
        const auto sources = filesBelow(docs, ".tex");
        const QString out = work.filePath("out");
        QVERIFY(QDir().mkpath(out));

        ConversionRig rig;
        prepare(rig, out);
        rig.model.setChecked(ctl::chkImageDir, subfolder);
        rig.model.setText(ctl::cmbTitle, "Bob's paper");
        rig.model.setText(ctl::cmbTeX, docs + "/report.tex");
        const std::optional<ConversionResult> result = cmdConvert_Click(rig.ctx);

        const QString dir = out + "/report";
        QVERIFY(result && result->produced);
        QCOMPARE(result->output, dir + "/index.html");
        QVERIFY(readAll(result->output).contains("<TITLE>Bob's paper</TITLE>"));
        // Each section has its page, and the \ref into the \input file
        // became a link to the page of that section.
        QVERIFY(filesNamed(dir, "node*.html").size() >= 2);
        QByteArray pages;
        for (const QString& page : filesNamed(dir, "node*.html"))
            pages += readAll(page);
        QVERIFY(pages.contains("#sec:results\""));
        QVERIFY(pages.contains("#sec:intro\""));
        QVERIFY(pages.contains("the introduction")); // the text of the \input file
        QCOMPARE(unresolvedReferences(dir), QStringList());
        const QStringList pictures = filesNamed(dir + "/images", "*.png");
        QCOMPARE(!pictures.isEmpty(), subfolder);
        // The working copy with its \input file and picture beside it.
        QVERIFY(readAll(dir + "/report.tex").contains("\\input{results}"));
        QVERIFY(readAll(dir + "/report.tex").contains("{plot.png}"));
        QVERIFY(QFileInfo::exists(dir + "/results.tex"));
        QVERIFY(QFileInfo::exists(dir + "/plot.png"));

        const QByteArray log = readAll(dir + "/images.log");
        QVERIFY(
            log.startsWith("LaTeX2HTML images log file for " + docs.toUtf8() + "/report.tex\n\n"));
        if (QFileInfo::exists(dir + "/WARNINGS"))
            QVERIFY(log.contains("\n\nWarnings:\n\n"));
        QCOMPARE(logOf(rig.ctx.logs, "latex2html"), dir + "/images.log");
        QVERIFY(rig.ctx.l2hRun);
        QCOMPARE(filesBelow(docs, ".tex"), sources);
    }

    // latex2html exits 0 whatever happens: an index.html left by the first
    // run is not the second run's result.
    void oldIndexIsNothingNew() {
        QTemporaryDir work;
        const QString source = work.filePath("sample2e.tex");
        QVERIFY(QFile::copy(sample2e(), source));
        ConversionRig rig;
        prepare(rig, work.path());
        rig.model.setText(ctl::cmbTeX, source);
        std::optional<ConversionResult> result = cmdConvert_Click(rig.ctx);
        QVERIFY(result && result->produced);

        const QString init = l2hInitPath(rig.ctx);
        QVERIFY(writeInitFile(init, "1;\n", "die \"stopped by the test\\n\";\n"));
        QTest::qWait(1100); // a new file time for anything this run writes
        result = cmdConvert_Click(rig.ctx);
        QVERIFY(result && !result->produced);
        QVERIFY(result->output.isEmpty());
        QVERIFY(readAll(work.filePath("sample2e/images.log")).contains("stopped by the test"));
        QVERIFY(readAll(init).endsWith("# User settings\ndie \"stopped by the test\\n\";\n"));
    }

    void inPlace_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("ok converts and keeps the first text") << int(Answer::Ok);
        QTest::newRow("cancel stops") << int(Answer::Cancel);
    }

    void inPlace() {
        QFETCH(int, answer);
        QTemporaryDir work;
        const QString dir = work.filePath("sample2e");
        QVERIFY(QDir().mkpath(dir));
        const QString source = dir + "/sample2e.tex";
        QVERIFY(QFile::copy(sample2e(), source));
        const QByteArray original = readAll(source);
        ConversionRig rig;
        prepare(rig, work.path());
        rig.prompter.queueAnswer(Answer(answer));
        rig.model.setText(ctl::cmbTeX, source);
        const std::optional<ConversionResult> result = cmdConvert_Click(rig.ctx);

        QCOMPARE(rig.prompter.prompts().size(), 1);
        const Prompt& asked = rig.prompter.prompts().at(0);
        QCOMPARE(asked.title, QString("Make Copy of Tex File"));
        QCOMPARE(asked.text,
                 "Morvane makes a copy of the tex file and puts it in the html output directory "
                 "and then may make changes to this copy.\n\nHowever, the original tex file is "
                 "already in the output directory so a backup of this file will be made with the "
                 "name\n\n\t" +
                     dir + "/Backup of sample2e.tex\n\n");
        QCOMPARE(asked.buttons, Buttons::OkCancel);
        QCOMPARE(asked.icon, Icon::Exclamation);
        QCOMPARE(readAll(source), original);
        if (answer == int(Answer::Cancel)) {
            QVERIFY(!result || !result->produced);
            QVERIFY(!QFileInfo::exists(dir + "/Backup of sample2e.tex"));
            QVERIFY(!QFileInfo::exists(dir + "/index.html"));
            return;
        }
        QVERIFY(result && result->produced);
        QCOMPARE(readAll(dir + "/Backup of sample2e.tex"), original);
    }

    void badInput_data() {
        QTest::addColumn<QString>("root");
        QTest::addColumn<bool>("antiVirus");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("textStart");
        QTest::newRow("missing output root") << "missing" << false << "Output Directory"
                                             << "Unable to make the output directory\n\n";
        QTest::newRow("anti-virus reminder cancelled")
            << "" << true << "Anti-Virus Problem"
            << "You must turn off anti-virus checking before continuing.\n\nPress OK to "
               "continue or Cancel to abort";
    }

    void badInput() {
        QFETCH(QString, root);
        QFETCH(bool, antiVirus);
        QFETCH(QString, title);
        QFETCH(QString, textStart);
        QTemporaryDir work;
        const QString source = work.filePath("sample2e.tex");
        QVERIFY(QFile::copy(sample2e(), source));
        ConversionRig rig;
        prepare(rig, work.filePath(root));
        rig.model.setChecked(ctl::chkAntiVirus, antiVirus);
        rig.prompter.queueAnswer(Answer::Cancel);
        const ConversionResult result = rig.runDriver(TabL2h, source);
        QVERIFY(result.output.isEmpty());
        QCOMPARE(rig.prompter.prompts().size(), 1);
        QCOMPARE(rig.prompter.prompts().at(0).title, title);
        QVERIFY(rig.prompter.prompts().at(0).text.startsWith(textStart));
        QCOMPARE(rig.prompter.prompts().at(0).icon, Icon::Exclamation);
        QCOMPARE(QDir(work.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"sample2e.tex"});
    }

    // LaTeX2HTML's unknown commands and the errors of its images.tex are
    // listed at the document's line that has them.
    void errorsNameTheDocumentsLine() {
        QTemporaryDir work;
        writeText(work.filePath("unk.tex"),
                  "\\documentclass{article}\n\\begin{document}\n"
                  "Hello \\foocmd{x} and $\\barcmd y$.\n\\end{document}\n");
        TestHome home;
        setIniKey(home.file("Morvane.ini"), "SaveTo", work.path());
        const BatchRun run =
            runBatch(home.path(), work.path(), {"--convert=latex2html", "unk.tex"});
        const QByteArray doc = work.filePath("unk.tex").toUtf8();
        QVERIFY2(run.err.contains(doc + ":3: error: Undefined control sequence.") &&
                     run.err.contains(doc + ":3: warning: Unknown command \\foocmd") &&
                     !run.err.contains("(in the converter's unk.tex)"),
                 run.err.constData());
    }

    // SVG pictures: the formula becomes an .svg file the page shows.
    void svgPictures() {
        QTemporaryDir work;
        writeText(work.filePath("svg.tex"), "\\documentclass{article}\n\\begin{document}\n"
                                            "A formula $\\sqrt{\\frac{a}{b}}$.\n\\end{document}\n");
        TestHome home;
        setIniKey(home.file("Morvane.ini"), "SaveTo", work.path());
        setIniKey(home.file("Morvane.ini"), "ImageType", "SVG");
        const BatchRun run =
            runBatch(home.path(), work.path(), {"--convert=latex2html", "svg.tex"});
        QVERIFY2(run.status == 0, run.err.constData());
        const QStringList svgs = filesNamed(work.filePath("svg"), "*.svg");
        QVERIFY2(!svgs.isEmpty(), "no SVG picture");
        QVERIFY(readAll(work.filePath("svg/index.html"))
                    .contains(QFileInfo(svgs.first()).fileName().toUtf8()));
    }

    void batchMode_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QList<int>>("statuses");
        QTest::newRow("sample2e") << ""
                                  << "sample2e.tex" << QList<int>{0};
        QTest::newRow("a dot before the extension") << ""
                                                    << "my.paper.tex" << QList<int>{0};
        QTest::newRow("an apostrophe") << ""
                                       << "bob's.tex" << QList<int>{0};
        // MORVANE_HOME given relative to where the program starts: the init
        // file must still reach latex2html, which runs elsewhere.
        QTest::newRow("relative MORVANE_HOME") << ""
                                               << "relative.tex" << QList<int>{0};
        QTest::newRow("broken document") << ""
                                         << "broken.tex" << QList<int>{1};
        // latex2html gives up on amsmath's test document ("Failed to read in
        // document parts") and gets through the others with warnings or
        // LaTeX errors in their images: each run must end by itself, with
        // the status saying which.
        QTest::newRow("amsmath-testmath") << "amsmath-testmath"
                                          << "main.tex" << QList<int>{0, 1, 2};
        QTest::newRow("pandoc-reader") << "pandoc-reader"
                                       << "main.tex" << QList<int>{0, 1};
    }

    void batchMode() {
        QFETCH(QString, folder);
        QFETCH(QString, file);
        QFETCH(QList<int>, statuses);
        QTemporaryDir work;
        const QString docs = work.filePath("doc");
        if (folder.isEmpty()) {
            QVERIFY(QDir().mkpath(docs));
            QVERIFY(
                QFile::copy(file == "broken.tex" ? l2hData() + "/broken/broken.tex" : sample2e(),
                            docs + "/" + file));
        } else {
            QVERIFY(copyTree(corpus(folder), docs));
        }
        const auto sources = filesBelow(docs, ".tex");
        const QString out = work.filePath("out");
        QVERIFY(QDir().mkpath(out));
        TestHome home;
        setIniKey(home.file("Morvane.ini"), "SaveTo", out);

        const QString homeAsGiven =
            file == "relative.tex" ? QDir(docs).relativeFilePath(home.path()) : home.path();
        const BatchRun run = runBatch(homeAsGiven, docs, {"--convert=latex2html", file});
        QVERIFY2(statuses.contains(run.status), run.err.constData());
        QCOMPARE(filesBelow(docs, ".tex"), sources);
        const QString dir = out + "/" + file.left(file.size() - 4);
        QCOMPARE(QFileInfo::exists(dir + "/index.html"), run.status != 2);
        // The corpus links to files outside itself on purpose; the pictures
        // latex2html made must all be there.
        QCOMPARE(unresolvedReferences(dir, !folder.isEmpty()), QStringList());
        const QByteArray log = readAll(dir + "/images.log");
        QVERIFY(log.startsWith("LaTeX2HTML images log file for "));
        if (run.status == 1)
            QVERIFY(log.contains("\n! "));
    }
};

MORVANE_TEST_GUILESS_MAIN(TestLatex2htmlE2e)
#include "tst_latex2html_e2e.moc"
