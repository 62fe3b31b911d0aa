// The HeVeA route end to end with the real hevea, hacha and esponja: through
// the Convert command with a scripted prompter, and through the built
// program's batch mode.

#include "conversionrig.h"
#include "drivers/hevea.h"
#include "settings/controlnames.h"
#include "support/testmain.h"

using namespace morvane;
using namespace morvane::test;

namespace {

// The tab's options for a run, everything else off.
void heveaOptions(OptionsModel& model, bool fix, bool hacha, bool runHtml) {
    for (const ctl::Control box : {ctl::chkFrench, ctl::chkStyle, ctl::chkEsponja})
        model.setCheckValue(box, 0);
    model.setIndex(ctl::cmbHeveaVerbose, 0);
    model.setIndex(ctl::optOutput, 0);
    model.setCheckValue(ctl::chkVersion, 1);
    model.setCheckValue(ctl::chkFix, fix ? 1 : 0);
    model.setCheckValue(ctl::chkHacha, hacha ? 1 : 0);
    model.setCheckValue(ctl::chkIE, runHtml ? 1 : 0);
    model.setIndex(ctl::optIE, 0);
    model.setCheckValue(ctl::chkClose, 0);
}

QByteArray settingsLine(const QString& home, const QByteArray& name) {
    const QList<QByteArray> lines = readAll(home + "/convert.sh").split('\n');
    for (const QByteArray& line : lines) {
        if (line.startsWith("set " + name + "="))
            return line;
    }
    return {};
}

QByteArray headerOf(const QString& source) {
    return "Hevea log file for " + source.toUtf8() + "\n\n";
}

} // namespace

class TestHeveaE2e : public QObject {
    Q_OBJECT

    QString m_sample;

private slots:
    void initTestCase() {
        m_sample = sample2e();
        QVERIFY2(QFile::exists(m_sample), "kpsewhich finds no sample2e.tex");
        QVERIFY(QFile::exists(MORVANE_BUILD_PROGRAM_DIR "/morvane"));
    }

    void sample2eThroughConvert() {
        QTemporaryDir work;
        const QString source = work.filePath("sample2e.tex");
        QVERIFY(QFile::copy(m_sample, source));
        const QByteArray original = readAll(source);

        ConversionRig rig;
        QVERIFY(rig.loaded);
        heveaOptions(rig.model, true, false, true);
        rig.convert(TabHevea, source);

        const QString page = work.filePath("sample2e.html");
        QVERIFY(readAll(page).contains("An Example Document"));
        QCOMPARE(settingsLine(rig.home.path(), "cmdline"),
                 QByteArray("set cmdline=-exec xxdate.exe -fix "));
        QCOMPARE(settingsLine(rig.home.path(), "cmdline2"), QByteArray("set cmdline2=no"));
        // Shown at once in the external browser; nothing was asked.
        QCOMPARE(rig.shell.opened, QStringList{page});
        QVERIFY2(rig.prompter.prompts().isEmpty(),
                 qPrintable(rig.prompter.prompts().value(0).text));
        QVERIFY(rig.model.isEnabled(ctl::cmdShow));
        QCOMPARE(rig.quitCalls, 0);

        const QString log = work.filePath("sample2e.hlog");
        QCOMPARE(logOf(rig.ctx.logs, "hevea"), log);
        QVERIFY(rig.model.isEnabled(ctl::cmdLog));
        QByteArray text = readAll(log);
        QVERIFY(text.startsWith(headerOf(source)));
        // A first run resolves its labels in a second pass and says so; that
        // is routine, not an error.
        QVERIFY(text.contains("Label(s) may have changed"));
        QVERIFY(rig.logPlain());

        // The second run finds its labels at once: a quiet log.
        rig.convert(TabHevea, source);
        text = readAll(log);
        QVERIFY(text.startsWith(headerOf(source)));
        QCOMPARE(text.count("Hevea log file for"), 1);
        QVERIFY(text.contains("Fixpoint reached in 1 step"));
        QVERIFY(rig.logPlain());
        QCOMPARE(readAll(source), original);
    }

    void hachaPagesAndLinkFixups() {
        QTemporaryDir work;
        QVERIFY(copyTree(dataDir() + "/xref", work.path()));
        const auto sources = filesBelow(work.path(), ".tex");
        const QString source = work.filePath("main.tex");

        ConversionRig rig;
        heveaOptions(rig.model, true, true, false);
        rig.convert(TabHevea, source);

        QCOMPARE(settingsLine(rig.home.path(), "cmdline2"), QByteArray("set cmdline2="));
        for (const char* name : {"index.html", "main001.html", "main002.html"})
            QVERIFY2(QFile::exists(work.filePath(name)), name);
        QCOMPARE(rig.ctx.expectedOutput, work.filePath("index.html"));
        QVERIFY(rig.model.isEnabled(ctl::cmdShow));
        QVERIFY(rig.shell.opened.isEmpty());

        // The one link to a TeX file is offered for change, on hacha's page.
        QCOMPARE(rig.links.texts,
                 QStringList{"Link to other.tex found in main001.html.\n\nDo you wish to "
                             "change this link to other.html?"});
        const QByteArray first = readAll(work.filePath("main001.html"));
        QVERIFY(first.contains("href=\"other.html\""));
        QVERIFY(!first.contains("href=\"other.tex\""));
        QVERIFY(first.contains("href=\"https://example.org/\""));
        // Cross-references resolved across hacha's pages, labels untouched.
        QVERIFY(first.contains("<a href=\"main002.html#sec%3Amore\">2</a>"));
        QVERIFY(first.contains("<img src=\"figure.png\">"));
        // The \input file in the subdirectory made it into the second page.
        const QByteArray second = readAll(work.filePath("main002.html"));
        QVERIFY(second.contains("Back to Section"));
        QVERIFY(second.contains("<a href=\"main001.html#sec%3Aintro\">1</a>"));
        QVERIFY(readAll(work.filePath("index.html")).contains("main001.html"));
        // HeVeA's own page is not one of hacha's pages: left as HeVeA wrote it.
        QVERIFY(readAll(work.filePath("main.html")).contains("href=\"other.tex\""));
        QVERIFY(!QFile::exists(work.filePath("temp.htm")));

        // "No" with "treat all links the same way": nothing changes.
        rig.links.answers = {4};
        rig.convert(TabHevea, source);
        QCOMPARE(rig.links.texts.size(), 2);
        QVERIFY(readAll(work.filePath("main001.html")).contains("href=\"other.tex\""));
        QCOMPARE(filesBelow(work.path(), ".tex"), sources);
    }

    void frenchEsponjaAndHacha() {
        QTemporaryDir work;
        const QString source = work.filePath("sample2e.tex");
        QVERIFY(QFile::copy(m_sample, source));
        ConversionRig rig;
        heveaOptions(rig.model, true, true, false);
        rig.model.setCheckValue(ctl::chkFrench, 1);
        rig.model.setCheckValue(ctl::chkEsponja, 1);
        rig.convert(TabHevea, source);
        QCOMPARE(settingsLine(rig.home.path(), "cmdline"),
                 QByteArray("set cmdline=-exec xxdate.exe -francais -fix -O "));
        QCOMPARE(settingsLine(rig.home.path(), "cmdline2"), QByteArray("set cmdline2=-francais"));
        QVERIFY(QFile::exists(work.filePath("index.html")));
        QVERIFY(QFile::exists(work.filePath("sample2e001.html")));
        // HeVeA 2 warns that -francais is deprecated: that is in the log.
        QVERIFY(readAll(work.filePath("sample2e.hlog")).contains("-francais option is deprecated"));
        QVERIFY(rig.logMarked());
        QCOMPARE(readAll(source), readAll(m_sample));
    }

    void unknownMacroMarksTheLog() {
        QTemporaryDir work;
        const QString source = work.filePath("macro.tex");
        QVERIFY(QFile::copy(dataDir() + "/macro.tex", source));
        ConversionRig rig;
        heveaOptions(rig.model, false, false, false);
        rig.convert(TabHevea, source);
        QVERIFY(QFile::exists(work.filePath("macro.html")));
        const QByteArray log = readAll(work.filePath("macro.hlog"));
        QVERIFY(log.startsWith(headerOf(source)));
        QVERIFY(log.contains("Command not found: \\undefinedmacro"));
        QVERIFY(rig.logMarked());
        QVERIFY(rig.model.isEnabled(ctl::cmdLog));
        QCOMPARE(readAll(source), readAll(dataDir() + "/macro.tex"));
    }

    // A class HeVeA has no style for (here one of the document's own) gets
    // the nearest standard style instead of no page at all.
    void classOfItsOwnGetsAStandInStyle() {
        QTemporaryDir work;
        const QString source = work.filePath("thesis.tex");
        QFile cls(work.filePath("mythesis.cls"));
        QVERIFY(cls.open(QIODevice::WriteOnly));
        cls.write("\\LoadClass{report}\n");
        cls.close();
        QFile tex(source);
        QVERIFY(tex.open(QIODevice::WriteOnly));
        tex.write("\\documentclass[12pt]{mythesis}\n\\begin{document}\n"
                  "\\chapter{Introduction}\nThe whole text of the thesis.\n\\end{document}\n");
        tex.close();
        const auto before = filesBelow(work.path(), "");
        ConversionRig rig;
        heveaOptions(rig.model, false, false, false);
        rig.convert(TabHevea, source);
        const QByteArray page = readAll(work.filePath("thesis.html"));
        QVERIFY(page.contains("Introduction") && page.contains("The whole text of the thesis."));
        QVERIFY(readAll(work.filePath("thesis.hlog"))
                    .contains("HeVeA has no style for the class mythesis; the book style"));
        // Nothing of Morvane's beside the document: no mythesis.hva.
        QVERIFY(!QFileInfo::exists(work.filePath("mythesis.hva")));
        const auto after = filesBelow(work.path(), "");
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            QCOMPARE(after.value(it.key()), it.value());
    }

    void brokenDocumentProducesNothing() {
        QTemporaryDir work;
        const QString source = work.filePath("broken.tex");
        QVERIFY(QFile::copy(dataDir() + "/broken.tex", source));
        ConversionRig rig;
        heveaOptions(rig.model, false, false, true);
        rig.convert(TabHevea, source);
        const QString page = work.filePath("broken.html");
        QVERIFY(!QFile::exists(page));
        QCOMPARE(rig.prompter.prompts().size(), 1);
        QCOMPARE(rig.prompter.prompts().at(0),
                 (Prompt{page + " not found!", "No HTML File", Buttons::Ok, Icon::Exclamation,
                         Answer::Ok}));
        QVERIFY(rig.shell.opened.isEmpty());
        QVERIFY(readAll(work.filePath("broken.hlog")).contains("Adios"));
        QVERIFY(rig.logMarked());

        heveaOptions(rig.model, false, false, false);
        rig.convert(TabHevea, source);
        QVERIFY(!rig.model.isEnabled(ctl::cmdShow));
        QCOMPARE(readAll(source), readAll(dataDir() + "/broken.tex"));
    }

    void textOutput() {
        QTemporaryDir work;
        const QString source = work.filePath("Other.tex");
        QVERIFY(QFile::copy(dataDir() + "/xref/other.tex", source));
        ConversionRig rig;
        heveaOptions(rig.model, false, true, false);
        rig.model.setIndex(ctl::optOutput, 1);
        QCOMPARE(rig.ctx.settings.vars.heveaOutputExtension, QString("txt"));
        rig.convert(TabHevea, source);
        QCOMPARE(settingsLine(rig.home.path(), "cmdline"),
                 QByteArray("set cmdline= -text -exec xxdate.exe "));
        // Letter case kept, and hacha does not split a text file.
        QCOMPARE(rig.ctx.expectedOutput, work.filePath("Other.txt"));
        QVERIFY(readAll(work.filePath("Other.txt")).contains("The other document."));
        QVERIFY(QFile::exists(work.filePath("Other.hlog")));
        QVERIFY(!QFile::exists(work.filePath("index.html")));
        QVERIFY(rig.model.isEnabled(ctl::cmdShow));
        QCOMPARE(readAll(source), readAll(dataDir() + "/xref/other.tex"));
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
        QTest::newRow("dollar word") << "$HOME";
    }
    void awkwardFileNames() {
        QFETCH(QString, name);
        QTemporaryDir work;
        const QString dir = work.filePath("odd dir; $(touch PWNED)");
        QVERIFY(QDir().mkpath(dir));
        const QString source = dir + "/" + name + ".tex";
        QVERIFY(QFile::copy(dataDir() + "/xref/other.tex", source));

        ConversionRig rig;
        heveaOptions(rig.model, true, false, false);
        rig.convert(TabHevea, source);
        QVERIFY2(readAll(dir + "/" + name + ".html").contains("The other document."),
                 qPrintable(rig.prompter.prompts().value(0).text));
        QVERIFY(readAll(dir + "/" + name + ".hlog").startsWith(headerOf(source)));
        QVERIFY(rig.logPlain());
        QCOMPARE(readAll(source), readAll(dataDir() + "/xref/other.tex"));

        // The same through batch mode.
        const BatchRun run = runBatch(rig.home.path(), dir, {"--convert=hevea", name + ".tex"});
        QCOMPARE(run.status, 0);
        QCOMPARE(readAll(source), readAll(dataDir() + "/xref/other.tex"));
        QVERIFY(filesNamed(work.path(), "PWNED").isEmpty());
        QVERIFY(filesNamed(rig.home.path(), "PWNED").isEmpty());
        QVERIFY(!QFile::exists(QDir::current().filePath("PWNED")));
    }

    // The bundled example's forward references resolve in -fix's second
    // round: its first run is clean, however long the folder's name.
    void bundledExampleCleanOnFirstRun_data() {
        QTest::addColumn<int>("folderLength");
        QTest::newRow("short folder") << 3;
        QTest::newRow("long folder") << 200;
    }
    void bundledExampleCleanOnFirstRun() {
        QFETCH(int, folderLength);
        QTemporaryDir outer;
        const QString work = outer.filePath(QString(folderLength, 'f'));
        QVERIFY(copyTree(MORVANE_SOURCE_DIR "/examples/sample", work));
        TestHome home;
        const BatchRun run = runBatch(home.path(), work, {"--convert=hevea", "paper.tex"});
        QVERIFY2(run.status == 0, run.err.constData());
    }

    // Batch mode reads HeVeA's styles for the HeVeA route (the start-up
    // configuration's style goes first on its command line) and for no other.
    void batchModeStylesOnlyForHevea() {
        QTemporaryDir work;
        QVERIFY(QFile::copy(m_sample, work.filePath("sample2e.tex")));
        TestHome home;
        const QString ini = home.file("Morvane.ini");
        setIniKey(ini, "DefaultConfig", "Mine");
        setIniKey(ini, "IncludeStyle", "Yes");
        QByteArray text = readAll(ini);
        text.replace("[HeveaConfigs]\n", "[HeveaConfigs]\nMine=urlhref.hva,html\n");
        QFile out(ini);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(text);
        out.close();
        BatchRun run = runBatch(home.path(), work.path(), {"--convert=hevea", "sample2e.tex"});
        QCOMPARE(run.status, 0);
        QVERIFY(readAll(home.file("convert.sh"))
                    .contains("\nset cmdline=-exec xxdate.exe urlhref.hva "));
        run = runBatch(home.path(), work.path(), {"--convert=tth", "sample2e.tex"});
        QCOMPARE(run.status, 0);
        QVERIFY(!readAll(home.file("convert.sh")).contains("urlhref.hva"));
    }

    void batchModeStatuses() {
        QTemporaryDir work;
        QVERIFY(QFile::copy(m_sample, work.filePath("sample2e.tex")));
        QVERIFY(QFile::copy(dataDir() + "/macro.tex", work.filePath("macro.tex")));
        QVERIFY(QFile::copy(dataDir() + "/broken.tex", work.filePath("broken.tex")));
        const auto sources = filesBelow(work.path(), ".tex");
        TestHome home;
        const QString ini = home.file("Morvane.ini");
        setIniKey(ini, "Fix", "Yes");
        setIniKey(ini, "Hacha", "No");
        setIniKey(ini, "RunHTML", "Yes");
        setIniKey(ini, "Close", "Yes");
        const QByteArray iniBefore = readAll(ini);
        QVERIFY(!QFile::exists(home.file("FileList.txt")));

        // A first run that resolves labels says so in its log, and is clean
        // like the second.
        BatchRun run = runBatch(home.path(), work.path(), {"--convert=hevea", "sample2e.tex"});
        QCOMPARE(run.status, 0);
        QVERIFY(readAll(work.filePath("sample2e.hlog")).contains("Fixpoint reached"));
        run = runBatch(home.path(), work.path(), {"--convert=hevea", "sample2e.tex"});
        QCOMPARE(run.status, 0);
        QVERIFY2(run.err.isEmpty(), run.err.constData());
        QVERIFY(readAll(work.filePath("sample2e.hlog"))
                    .startsWith(headerOf(work.filePath("sample2e.tex"))));
        QVERIFY(readAll(work.filePath("sample2e.html")).contains("An Example Document"));

        // HeVeA counts an unknown command as a warning: listed, status 0.
        run = runBatch(home.path(), work.path(), {"--convert=hevea", "macro.tex"});
        QCOMPARE(run.status, 0);
        QVERIFY2(run.err.contains("macro.tex:"), run.err.constData());
        run = runBatch(home.path(), work.path(), {"--convert=hevea", "broken.tex"});
        QCOMPARE(run.status, 2);
        QVERIFY(run.err.contains("broken.html"));
        // A page left by an earlier run is not this run's result.
        QVERIFY(QFile::copy(work.filePath("sample2e.html"), work.filePath("broken.html")));
        {
            QFile old(work.filePath("broken.html"));
            QVERIFY(old.open(QIODevice::ReadWrite));
            QVERIFY(old.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                    QFileDevice::FileModificationTime));
        }
        run = runBatch(home.path(), work.path(), {"--convert=hevea", "broken.tex"});
        QCOMPARE(run.status, 2);

        run = runBatch(home.path(), work.path(), {"--convert=hevea", "missing.tex"});
        QCOMPARE(run.status, 2);
        QVERIFY(run.err.contains("missing.tex doesn't exist"));
        run = runBatch(home.path(), work.path(), {"--convert=word", "sample2e.tex"});
        QCOMPARE(run.status, 2);
        QVERIFY(run.err.contains("unknown route \"word\""));
        run = runBatch(home.path(), work.path(), {"--convert=hevea"});
        QCOMPARE(run.status, 2);
        QVERIFY(run.err.contains("no TeX file given"));
        QVERIFY(QFile::copy(work.filePath("macro.tex"), work.filePath("macro.ltx")));
        run = runBatch(home.path(), work.path(), {"--convert=hevea", "macro.ltx"});
        QCOMPARE(run.status, 2);
        QVERIFY(run.err.contains("TeX Files Only: "));
        QVERIFY(run.err.contains("macro.ltx is not a TeX file!"));

        run = runBatch(home.path(), work.path(), {"--convert=hevea", work.path()});
        QCOMPARE(run.status, 2);
        QVERIFY(run.err.contains("is not a file"));

        // With hacha the result is hacha's index page.
        setIniKey(ini, "Hacha", "Yes");
        const QByteArray hachaIni = readAll(ini);
        run = runBatch(home.path(), work.path(), {"--convert=hevea", "sample2e.tex"});
        QCOMPARE(run.status, 0);
        QVERIFY(readAll(work.filePath("index.html")).contains("sample2e001.html"));
        QVERIFY(QFile::exists(work.filePath("sample2e001.html")));
        QCOMPARE(readAll(ini), hachaIni);
        setIniKey(ini, "Hacha", "No");

        // Batch mode writes neither the settings nor the file history.
        QCOMPARE(readAll(ini), iniBefore);
        QVERIFY(!QFile::exists(home.file("FileList.txt")));
        QCOMPARE(filesBelow(work.path(), ".tex"), sources);
    }

    // Awkward documents end, are judged, and leave the sources and
    // everything outside the document's folder as they were.
    void badDocumentsInBatchMode_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("status");
        QTest::newRow("input cycle") << "cycle.tex" << 2;
        QTest::newRow("missing input and outside picture") << "missing.tex" << 1;
    }
    void badDocumentsInBatchMode() {
        QFETCH(QString, file);
        QFETCH(int, status);
        checkBadDocumentInBatchMode("hevea", file, status, ".html");
    }

    // The link question takes its default answer, Yes, without a window.
    void crossReferencesInBatchMode() {
        QTemporaryDir work;
        QVERIFY(copyTree(dataDir() + "/xref", work.path()));
        const auto sources = filesBelow(work.path(), ".tex");
        TestHome home;
        setIniKey(home.file("Morvane.ini"), "Fix", "Yes");
        setIniKey(home.file("Morvane.ini"), "Hacha", "Yes");
        // The first run's -fix rounds resolve the labels; the second finds them.
        BatchRun run = runBatch(home.path(), work.path(), {"--convert=hevea", "main.tex"});
        QCOMPARE(run.status, 0);
        run = runBatch(home.path(), work.path(), {"--convert=hevea", "main.tex"});
        QCOMPARE(run.status, 0);
        QVERIFY(readAll(work.filePath("index.html")).contains("main001.html"));
        const QByteArray first = readAll(work.filePath("main001.html"));
        QVERIFY(first.contains("href=\"other.html\""));
        QVERIFY(first.contains("<a href=\"main002.html#sec%3Amore\">2</a>"));
        QVERIFY(readAll(work.filePath("main002.html")).contains("Back to Section"));
        QCOMPARE(filesBelow(work.path(), ".tex"), sources);
    }

    void batchModeShowsTheConvertersOutput() {
        QTemporaryDir work;
        QVERIFY(QFile::copy(dataDir() + "/macro.tex", work.filePath("macro.tex")));
        // A stand-in hevea that talks on standard output and writes a page.
        const QString fakes = work.filePath("fakes");
        QVERIFY(QDir().mkpath(fakes));
        writeProgram(fakes + "/hevea", "#!/bin/sh\n"
                                       "for last; do :; done\n"
                                       "echo \"stand-in hevea converting $last\"\n"
                                       "echo '<html>page</html>' > \"${last%.tex}.html\"\n");
        TestHome home;
        // The folder of Program Locations comes first on the path.
        setIniKey(home.file("Morvane.ini"), "Hevea", fakes);
        const BatchRun run =
            runBatch(home.path(), work.path(), {"--convert=hevea", "macro.tex"}, fakes);
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.contains("stand-in hevea converting macro.tex"), run.out.constData());
        QCOMPARE(readAll(work.filePath("macro.html")), QByteArray("<html>page</html>\n"));
    }

    void helpListsBatchMode() {
        TestHome home;
        const BatchRun run = runBatch(home.path(), home.path(), {"--help"});
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.contains("morvane --convert=ROUTE FILE"), run.out.constData());
        for (const char* route : {"hevea", "tth", "tex4ht", "latex2html", "dvi", "pdf"})
            QVERIFY2(run.out.contains(route), route);
    }

    // amsmath's test document makes HeVeA give up part-way ("Fatal error:
    // exception Invalid_argument"): the page holds a part at most, so the
    // status is 2, and the fatal line is listed where HeVeA last was.
    void fatalErrorIsListedAndFails() {
        QTemporaryDir work;
        QVERIFY(copyTree(corpus("amsmath-testmath"), work.path()));
        const QByteArray source = readAll(work.filePath("main.tex"));
        TestHome home;
        const BatchRun run = runBatch(home.path(), work.path(), {"--convert=hevea", "main.tex"});
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains("error: Fatal error: exception") &&
                     run.err.contains("the converter gave up part-way"),
                 run.err.constData());
        QCOMPARE(readAll(work.filePath("main.tex")), source);
    }

    void batchModeKeepsTheFileHistory() {
        QTemporaryDir work;
        QVERIFY(QFile::copy(dataDir() + "/macro.tex", work.filePath("macro.tex")));
        TestHome home;
        const QByteArray history = "/somewhere/else.tex\n";
        home.write("FileList.txt", history);
        const BatchRun run =
            runBatch(home.path(), work.path(), {"--convert=hevea", work.filePath("macro.tex")});
        QCOMPARE(run.status, 0);
        QCOMPARE(readAll(home.file("FileList.txt")), history);
    }

    void batchModeWithoutHevea() {
        QTemporaryDir work;
        QVERIFY(QFile::copy(dataDir() + "/macro.tex", work.filePath("macro.tex")));
        TestHome home;
        setIniKey(home.file("Morvane.ini"), "Hevea", work.filePath("nowhere"));
        const BatchRun run = runBatch(home.path(), work.path(), {"--convert=hevea", "macro.tex"});
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains("Hevea Not Found"), run.err.constData());
        QVERIFY(!QFile::exists(work.filePath("macro.html")));
    }
};

MORVANE_TEST_GUILESS_MAIN(TestHeveaE2e)
#include "tst_hevea_e2e.moc"
