// The TeX4ht route end to end: the real htlatex, ht and tex4ht on LaTeX's
// own documents, the corpus and a document with pictures, inputs and its own
// tex4ht package line.

#include "conversionrig.h"
#include "settings/controlnames.h"
#include "support/testmain.h"
#include "tex4ht/tex4htcommand.h"
#include "tex4ht/tex4htoptions.h"

#include <QRegularExpression>

using namespace morvane;
using namespace morvane::test;

namespace {

QString tex4htData() {
    return QStringLiteral(MORVANE_SOURCE_DIR "/tests/data/tex4ht");
}

void storeOptions(OptionsModel& model, const Tex4htOptions& options) {
    storeTex4htOptions(model, composeTex4htOptions(options));
}

} // namespace

Q_DECLARE_METATYPE(Tex4htOptions)

class TestTex4htE2e : public QObject {
    Q_OBJECT

    QTemporaryDir m_work;
    QString m_docs; // a copy of the own documents, with ../pics beside it
    QString m_out;

    // A rig for the TeX4ht tab with its output root in the work folder.
    void prepare(ConversionRig& rig) {
        QVERIFY(rig.loaded);
        rig.ctx.settings.vars.tex4htSaveTo = m_out;
        rig.selectTab(TabTex4ht);
    }

private slots:
    void initTestCase() {
        m_docs = m_work.filePath("tex4ht/docs");
        QVERIFY(copyTree(tex4htData(), m_work.filePath("tex4ht")));
        QVERIFY(QFile::copy(sample2e(), m_docs + "/sample2e.tex"));
        m_out = m_work.filePath("out");
        QVERIFY(QDir().mkpath(m_out));
    }

    void formats_data() {
        QTest::addColumn<QString>("document");
        QTest::addColumn<Tex4htOptions>("options");
        QTest::addColumn<QString>("images");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("pageHolds");

        Tex4htOptions o;
        QTest::newRow("html 4.0") << "sample2e" << o << ""
                                  << "sample2e.html"
                                  << "<!DOCTYPE html";
        o.format = Tex4htFormat::Html32;
        QTest::newRow("html 3.2") << "sample2e" << o << ""
                                  << "sample2e.html"
                                  << "HTML 3.2";
        o = {};
        o.format = Tex4htFormat::MathMl;
        o.usePackage = true;
        QTest::newRow("xhtml with mathml") << "paper" << o << ""
                                           << "paper.html"
                                           << "<math";
        o = {};
        QTest::newRow("images in a subfolder") << "paper" << o << "images"
                                               << "paper.html"
                                               << "src=\"images/plot.png\"";
        o.useConfig = true;
        o.configName = "mycfg";
        QTest::newRow("configuration file on the command line") << "sample2e" << o << ""
                                                                << "sample2e.html"
                                                                << "made with mycfg";
        o = {};
        o.htm = true;
        QTest::newRow("8.3 names") << "sample2e" << o << ""
                                   << "sample2e.htm"
                                   << "<html";
    }

    void formats() {
        QFETCH(QString, document);
        QFETCH(Tex4htOptions, options);
        QFETCH(QString, images);
        QFETCH(QString, page);
        QFETCH(QString, pageHolds);

        QFile cfg(m_docs + "/mycfg.cfg");
        QVERIFY(cfg.open(QIODevice::WriteOnly));
        cfg.write("\\Preamble{html}\n\\Configure{@HEAD}{\\HCode{<meta name=\"generator\" "
                  "content=\"made with mycfg\" />\\Hnewline}}\n\\begin{document}\n"
                  "\\EndPreamble\n");
        cfg.close();

        ConversionRig rig;
        prepare(rig);
        rig.model.setChecked(ctl::chkImages, !images.isEmpty());
        rig.model.setText(ctl::txtImages, images.isEmpty() ? "images" : images);
        options.imagesFolder = images;
        storeOptions(rig.model, options);
        // The author's own package line is replaced by the chosen one.
        rig.prompter.queueAnswer(Answer::Yes);
        const QString source = m_docs + "/" + document + ".tex";
        const QByteArray before = readAll(source);

        rig.model.setText(ctl::cmbTeX, source);
        const std::optional<ConversionResult> result = cmdConvert_Click(rig.ctx);
        QVERIFY(result && result->produced);
        const QString dir = m_out + "/" + document;
        QCOMPARE(result->output, dir + "/" + page);
        QVERIFY2(readAll(result->output).contains(pageHolds.toUtf8()),
                 readAll(result->output).left(2000).constData());
        QVERIFY(readAll(result->log).startsWith("TeX4ht log file for " + source.toUtf8()));
        QCOMPARE(readAll(source), before);
        QCOMPARE(unresolvedReferences(dir), QStringList());
        if (!images.isEmpty())
            QVERIFY(QFileInfo::exists(dir + "/images/plot.png"));
        if (document == "paper") {
            // Both pictures sit in the output folder under their bare names.
            const QByteArray copy = readAll(dir + "/paper.tex");
            QVERIFY(copy.contains("{plot.png}") && copy.contains("{logo.png}"));
            // The reference into the input file carries the section's number
            // and its anchor; the citation comes from the document's .bbl.
            const QByteArray html = readAll(result->output);
            QVERIFY2(!html.contains("??"), html.constData());
            static const QRegularExpression toSectionOne(
                QStringLiteral("href=\"[^\"#]*#([^\"]+)\"\\s*>2<!--tex4ht:ref: sec:one"));
            const QRegularExpressionMatch ref = toSectionOne.match(QString::fromUtf8(html));
            QVERIFY2(ref.hasMatch(), html.constData());
            QVERIFY(html.contains("id=\"" + ref.captured(1).toUtf8() + "\""));
            QVERIFY(html.contains("Addison-Wesley"));
        }
    }

    void packageQuestion_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QByteArray>("copyHolds");
        QTest::newRow("yes replaces") << int(Answer::Yes) << QByteArray(" \\usepackage[html,3.2]");
        QTest::newRow("no keeps") << int(Answer::No) << QByteArray("\\usepackage[html]{tex4ht}");
        QTest::newRow("cancel stops") << int(Answer::Cancel) << QByteArray();
    }

    void packageQuestion() {
        QFETCH(int, answer);
        QFETCH(QByteArray, copyHolds);
        ConversionRig rig;
        prepare(rig);
        Tex4htOptions options;
        options.format = Tex4htFormat::Html32;
        options.usePackage = true;
        storeOptions(rig.model, options);
        rig.prompter.queueAnswer(Answer(answer));
        const QString dir = m_out + "/paper";
        QFile::remove(dir + "/paper.log");

        rig.model.setText(ctl::cmbTeX, m_docs + "/paper.tex");
        const std::optional<ConversionResult> result = cmdConvert_Click(rig.ctx);
        QCOMPARE(rig.prompter.prompts().size(), 1);
        const Prompt& asked = rig.prompter.prompts().at(0);
        QCOMPARE(asked.title, QString("Package Found"));
        QCOMPARE(asked.text,
                 QString("The following line has been found in the tex file:\n\n"
                         "\\usepackage[html]{tex4ht}\n\nDo you wish to remove this "
                         "line and use:\n\n\\usepackage[html,3.2]{tex4ht}\n\nChanges "
                         "are only made to a copy, not to the original file\n\nYes:\t"
                         "Replace with new options\nNo:\tKeep tex file as it is, "
                         "ignoring new options\nCancel:\tCancel file conversion\n\n\n"));
        QCOMPARE(asked.buttons, Buttons::YesNoCancel);
        QCOMPARE(asked.icon, Icon::Question);
        QCOMPARE(asked.defaultButton, Answer::No);
        if (copyHolds.isEmpty()) {
            QVERIFY(!result || !result->produced);
            QVERIFY(!QFileInfo::exists(dir + "/paper.log"));
            return;
        }
        QVERIFY(result && result->produced);
        QVERIFY(readAll(dir + "/paper.tex").contains(copyHolds));
    }

    // "\usepackage" mode runs ht latex, which gives HTML only with the
    // package line the conversion puts into the document; the document lying
    // in its output folder is edited once its backup exists, and an earlier
    // backup is never replaced.
    void documentInItsOwnOutputFolder_data() {
        QTest::addColumn<QByteArray>("earlierBackup"); // empty: none yet
        QTest::newRow("first run makes the backup") << QByteArray();
        QTest::newRow("an earlier backup stays")
            << QByteArray("\\documentclass{article}\n% the author's older text\n");
    }

    void documentInItsOwnOutputFolder() {
        QFETCH(QByteArray, earlierBackup);
        const QString dir = m_out + "/own";
        QDir(dir).removeRecursively();
        QVERIFY(QDir().mkpath(dir));
        const QString source = dir + "/own.tex";
        const QString backup = dir + "/Backup of own.tex";
        const QByteArray original = "\\documentclass{article}\n\\begin{document}\n"
                                    "\\section{Hello}\nText.\n\\end{document}\n";
        QFile file(source);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(original) == original.size());
        file.close();
        if (!earlierBackup.isEmpty()) {
            QFile old(backup);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write(earlierBackup);
        }

        ConversionRig rig;
        prepare(rig);
        Tex4htOptions options;
        options.format = Tex4htFormat::Html32;
        options.usePackage = true;
        storeOptions(rig.model, options);
        rig.model.setText(ctl::cmbTeX, source);
        rig.prompter.queueAnswer(Answer::Cancel);
        QVERIFY(!cmdConvert_Click(rig.ctx).value_or(ConversionResult{}).produced);
        QCOMPARE(rig.prompter.prompts().at(0).title, QString("Make Copy of Tex File"));
        QCOMPARE(readAll(source), original);
        QCOMPARE(QFileInfo::exists(backup), !earlierBackup.isEmpty());

        const QByteArray kept = earlierBackup.isEmpty() ? original : earlierBackup;
        for (int run = 0; run < 2; ++run) {
            rig.prompter.queueAnswer(Answer::Ok);
            const std::optional<ConversionResult> result = cmdConvert_Click(rig.ctx);
            QVERIFY(result && result->produced);
            QCOMPARE(result->verdict, LogVerdict::Clean);
            const QByteArray page = readAll(result->output);
            QVERIFY2(page.contains("HTML 3.2") && page.contains("Hello"), page.left(800).data());
            QCOMPARE(readAll(source).count("\\usepackage[html,3.2]{tex4ht}"), 1);
            QCOMPARE(readAll(backup), kept);
        }
    }

    // With no one to agree, batch mode leaves a document in its own output
    // folder as it is and says how to convert it.
    void batchModeDoesNotEditTheDocument() {
        TestHome home;
        const QString root = m_work.filePath("batchroot");
        QVERIFY(QDir().mkpath(root + "/paper"));
        setIniKey(home.file("Morvane.ini"), "SaveTo", root);
        const QString source = root + "/paper/paper.tex";
        const QByteArray text =
            "\\documentclass{article}\n\\begin{document}\nHi.\n\\end{document}\n";
        QFile file(source);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
        file.close();
        const BatchRun run = runBatch(home.path(), m_work.path(), {"--convert=tex4ht", source});
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains("is in its own output directory"), run.err.constData());
        QCOMPARE(readAll(source), text);
        QCOMPARE(QDir(root + "/paper").entryList(QDir::Files), QStringList{"paper.tex"});

        const BatchRun unknown = runBatch(home.path(), m_work.path(), {"--comparison", source});
        QCOMPARE(unknown.status, 2);
        QVERIFY2(unknown.err.contains("unknown option '--comparison'"), unknown.err.constData());
    }

    // An error on a known line of the document is listed at that line of
    // the user's file, not of the working copy Morvane edited (it inserts
    // the package line), and the rest of the document still gets its page.
    void errorsNameTheUsersFileAndLine() {
        TestHome home;
        const QString root = m_work.filePath("linesroot");
        QVERIFY(QDir().mkpath(root));
        setIniKey(home.file("Morvane.ini"), "SaveTo", root);
        writeText(m_work.filePath("lines.tex"),
                  "\\documentclass{article}\n\\begin{document}\nFirst part.\n\n"
                  "Second part.\n\\undefinedthing\nLast part.\n\\end{document}\n");
        const BatchRun run =
            runBatch(home.path(), m_work.path(), {"--convert=tex4ht", "lines.tex"});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(m_work.filePath("lines.tex").toUtf8() +
                                  ":6: error: Undefined control sequence."),
                 run.err.constData());
        QVERIFY(readAll(root + "/lines/lines.html").contains("Last part."));
    }

    // A picture program that fails (here dvipng) leaves pages without their
    // pictures: the run counts as one with errors, and its log says why.
    void picturesNotMadeAreErrors() {
        TestHome home;
        const QString fakes = m_work.filePath("nodvipng");
        QVERIFY(QDir().mkpath(fakes));
        for (const char* program : {"htlatex", "tex4ht", "t4ht", "mk4ht"})
            QVERIFY(QFile::link(QString("/usr/bin/") + program, fakes + '/' + program));
        writeProgram(fakes + "/dvipng", "#!/bin/sh\nexit 1\n");
        setIniKey(home.file("Morvane.ini"), "Tex4ht", fakes);
        const QString root = m_work.filePath("nodvipngroot");
        QVERIFY(QDir().mkpath(root));
        setIniKey(home.file("Morvane.ini"), "SaveTo", root);
        writeText(
            m_work.filePath("formula.tex"),
            "\\documentclass{article}\\begin{document}$\\sqrt{\\frac{a}{b}}$\\end{document}\n");
        const BatchRun run =
            runBatch(home.path(), m_work.path(), {"--convert=tex4ht", "formula.tex"});
        QCOMPARE(run.status, 1);
        QVERIFY(readAll(root + "/formula/formula.log")
                    .contains("picture(s) the pages show were not made"));
    }

    // Batch mode shows no output-root label: a root that is gone is named
    // on standard error before anything is converted.
    void missingOutputRootIsNamed() {
        TestHome home;
        const QString root = m_work.filePath("gone/root");
        setIniKey(home.file("Morvane.ini"), "SaveTo", root);
        const BatchRun run =
            runBatch(home.path(), m_work.path(), {"--convert=tex4ht", "missing.tex"});
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains(("the TeX4ht output root " + root + " does not exist").toUtf8()),
                 run.err.constData());
    }

    void batchMode_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QList<int>>("statuses");
        QTest::addColumn<QString>("packageLine"); // "\\usepackage" mode with ht latex
        QTest::newRow("small2e") << ""
                                 << "small2e.tex" << QList<int>{0} << "";
        QTest::newRow("small2e with ht latex")
            << ""
            << "small2e.tex" << QList<int>{0} << "\\usepackage[html,3.2]{tex4ht}";
        QTest::newRow("broken document") << ""
                                         << "broken.tex" << QList<int>{1} << "";
        // LaTeX errors in these (amsmath's split exceeds TeX4ht's capacity,
        // fancyvrb and nomencl break, the thesis's appendices and hyperref
        // clash): LaTeX runs on in non-stop mode, so each gives a page of
        // the rest, with the log marked.
        QTest::newRow("amsmath-testmath") << "amsmath-testmath"
                                          << "main.tex" << QList<int>{1} << "";
        QTest::newRow("pandoc-reader") << "pandoc-reader"
                                       << "main.tex" << QList<int>{1} << "";
        QTest::newRow("thesis-kks32") << "thesis-kks32"
                                      << "main.tex" << QList<int>{1} << "";
    }

    void batchMode() {
        QFETCH(QString, folder);
        QFETCH(QString, file);
        QFETCH(QList<int>, statuses);
        QFETCH(QString, packageLine);
        QTemporaryDir work;
        const QString docs = work.filePath("doc");
        if (folder.isEmpty()) {
            QVERIFY(QDir().mkpath(docs));
            QProcess which;
            which.start("kpsewhich", {"small2e.tex"});
            QVERIFY(which.waitForFinished());
            QVERIFY(QFile::copy(QString::fromLocal8Bit(which.readAllStandardOutput()).trimmed(),
                                docs + "/small2e.tex"));
            QVERIFY(QFile::copy(tex4htData() + "/docs/broken.tex", docs + "/broken.tex"));
        } else {
            QVERIFY(copyTree(corpus(folder), docs));
        }
        const auto sources = filesBelow(docs, ".tex");
        const QString out = work.filePath("out");
        QVERIFY(QDir().mkpath(out));
        TestHome home;
        setIniKey(home.file("Morvane.ini"), "SaveTo", out);
        if (!packageLine.isEmpty()) {
            setIniKey(home.file("Morvane.ini"), "UsePackage", packageLine);
            setIniKey(home.file("Morvane.ini"), "Htruncommand", "ht latex");
        }

        const BatchRun run = runBatch(home.path(), docs, {"--convert=tex4ht", file});
        QVERIFY2(statuses.contains(run.status), run.err.constData());
        for (auto source = sources.cbegin(); source != sources.cend(); ++source)
            QCOMPARE(readAll(source.key()), source.value());
        const QString base = QFileInfo(file).completeBaseName();
        const QString log = out + "/" + base + "/" + base + ".log";
        QVERIFY(readAll(log).startsWith("TeX4ht log file for "));
        const QFileInfo page(out + "/" + base + "/" + base + ".html");
        QCOMPARE(page.exists(), run.status != 2);
        // The corpus links to files outside itself on purpose (pandoc-reader's
        // "/url"); the pictures must all be there.
        if (page.exists())
            QCOMPARE(unresolvedReferences(out + "/" + base, !folder.isEmpty()), QStringList());
        if (!packageLine.isEmpty())
            QVERIFY(readAll(page.filePath()).contains("HTML 3.2"));
        if (run.status != 0)
            QVERIFY(readAll(log).contains("\n! "));
    }
};

MORVANE_TEST_GUILESS_MAIN(TestTex4htE2e)
#include "tst_tex4ht_e2e.moc"
