// Documents whose names a shell could misread, on every route with the real
// converters: nothing in the name runs, and the document still converts
// with its index and its bibliography, under its own name.

#include "drivers/conversionrig.h"
#include "settings/controlnames.h"
#include "support/testmain.h"

#include <QProcess>
#include <cstdio>
#include <sys/stat.h>

using namespace morvane;
using namespace morvane::test;

namespace {

const QByteArray kDocument = "\\documentclass{article}\n"
                             "\\usepackage{makeidx}\n"
                             "\\makeindex\n"
                             "\\begin{document}\n"
                             "Stripes\\index{zebra} and more \\cite{knuth}.\n"
                             "\\bibliographystyle{plain}\n"
                             "\\bibliography{refs}\n"
                             "\\printindex\n"
                             "\\end{document}\n";

const QByteArray kBibliography = "@book{knuth, author = {Donald Knuth}, title = {The TeXbook},\n"
                                 "  publisher = {Addison-Wesley}, year = 1984}\n";

// What bibtex would have made, for the routes that read it but do not run it.
const QByteArray kBbl = "\\begin{thebibliography}{1}\n\\bibitem{knuth}\nDonald Knuth.\n"
                        "\\newblock {\\em The TeXbook}.\n\\end{thebibliography}\n";

const QStringList kHostileNames{
    QStringLiteral("two words"),
    QStringLiteral("it's \"quoted\""),
    QStringLiteral("a;touch PWNED;b"),
    QStringLiteral("a&touch PWNED&b"),
    QStringLiteral("a|touch PWNED|b"),
    QStringLiteral("$(touch PWNED)"),
    QStringLiteral("`touch PWNED`"),
    QStringLiteral("new\nline"),
    QStringLiteral("-leading"),
    QStringLiteral("~tilde"),
    QStringLiteral("caf\u00e9 \u00fcber"),
};

// What to read for the index and the bibliography: the pages, or for DVI
// and PDF the index texi2dvi made beside the document.
QByteArray evidence(int tab, const QString& dir, const QString& base, const QString& output) {
    if (tab == TabDvi || tab == TabPdf)
        return readAll(dir + '/' + base + ".ind");
    if (tab != TabL2h)
        return readAll(output);
    QByteArray pages;
    for (const QString& page : filesNamed(QFileInfo(output).path(), "*.html"))
        pages += readAll(page);
    return pages;
}

} // namespace

class TestHostileNamesE2e : public QObject {
    Q_OBJECT

private slots:
    void convertsUnderItsOwnName_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("base");
        const QList<std::pair<int, const char*>> routes{
            {TabHevea, "hevea"},    {TabTth, "tth"}, {TabTex4ht, "tex4ht"},
            {TabL2h, "latex2html"}, {TabDvi, "dvi"}, {TabPdf, "pdf"}};
        for (const auto& [tab, key] : routes)
            for (const QString& name : kHostileNames)
                QTest::addRow("%s %s", key, qPrintable(QString(name).replace('\n', "\\n")))
                    << tab << name;
    }

    void convertsUnderItsOwnName() {
        QFETCH(int, tab);
        QFETCH(QString, base);
        QTemporaryDir root;
        const QString dir = root.filePath("docs");
        QDir().mkpath(dir);
        const QString source = dir + '/' + base + ".tex";
        writeText(source, kDocument);
        writeText(dir + "/refs.bib", kBibliography);
        if (tab != TabDvi && tab != TabPdf)
            writeText(dir + '/' + base + ".bbl", kBbl);

        ConversionRig rig;
        QVERIFY(rig.loaded);
        rig.ctx.settings.vars.longFileName = true;
        rig.ctx.settings.vars.texDocs = root.path();
        rig.ctx.settings.paths.texDocsExists = true;
        rig.ctx.settings.vars.tex4htSaveTo = root.filePath("out");
        rig.ctx.settings.vars.l2hSaveTo = root.filePath("out");
        QDir().mkpath(root.filePath("out"));
        rig.model.setCheckValue(ctl::chkTexify(0), 1);
        rig.model.setCheckValue(ctl::chkTexify(1), 1);
        rig.selectTab(tab);
        // The tilde question of the TeX routes: go on with the name as it is.
        if (base.contains('~') && rig.ctx.selectedRoute()->needsPlainFileName)
            rig.prompter.queueAnswer(Answer::No);
        rig.model.setText(ctl::cmbTeX, source);
        const std::optional<ConversionResult> result = cmdConvert_Click(rig.ctx);

        QVERIFY(result);
        QVERIFY2(filesNamed(root.path(), "PWNED").isEmpty(), "the name ran a command");
        QVERIFY2(result->produced, qPrintable(result->output));
        QVERIFY2(!result->output.contains("morvane-alias"), qPrintable(result->output));
        QVERIFY2(filesNamed(root.path(), "*morvane-alias*").isEmpty(),
                 qPrintable(filesNamed(root.path(), "*morvane-alias*").join(' ')));
        if (tab == TabTex4ht)
            return; // htlatex runs no makeindex of its own
        const QByteArray text = evidence(tab, dir, base, result->output);
        QVERIFY2(text.contains("zebra"), text.left(2000).constData());
        if (tab == TabDvi || tab == TabPdf)
            QVERIFY(readAll(dir + '/' + base + ".bbl").contains("Knuth"));
        else
            QVERIFY2(text.contains("Knuth"), text.left(2000).constData());
    }

    // The document's folder and the output root may have any name too:
    // converters get plain names, and nothing in the folder's name runs.
    void convertsInAFolderOfAnyName_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<bool>("texify");
        QTest::addColumn<QString>("folder");
        const QList<std::tuple<int, bool, const char*>> routes{
            {TabHevea, false, "hevea"},    {TabTth, false, "tth"}, {TabTex4ht, false, "tex4ht"},
            {TabL2h, false, "latex2html"}, {TabDvi, false, "dvi"}, {TabDvi, true, "texify"},
            {TabPdf, false, "pdf"}};
        for (const auto& [tab, texify, key] : routes)
            for (const char* folder :
                 {"My Docs", "it's \"here\"", "a;touch PWNED;b", "$(touch PWNED)", "caf\u00e9 50%"})
                QTest::addRow("%s in %s", key, folder) << tab << texify << QString(folder);
    }
    void convertsInAFolderOfAnyName() {
        QFETCH(int, tab);
        QFETCH(bool, texify);
        QFETCH(QString, folder);
        QTemporaryDir root;
        const QString dir = root.filePath(folder);
        QVERIFY(QDir().mkpath(dir));
        const QByteArray text = "\\documentclass{article}\\begin{document}Zebra\\label{z} see "
                                "\\ref{z} $x^2$.\\end{document}\n";
        writeText(dir + "/paper.tex", text);

        ConversionRig rig;
        QVERIFY(rig.loaded);
        // The output root in the same folder: its name reaches the web routes.
        rig.ctx.settings.vars.tex4htSaveTo = dir + "/out";
        rig.ctx.settings.vars.l2hSaveTo = dir + "/out";
        QDir().mkpath(dir + "/out");
        rig.model.setCheckValue(ctl::chkTexify(0), texify ? 1 : 0);
        rig.selectTab(tab);
        rig.model.setText(ctl::cmbTeX, dir + "/paper.tex");
        const std::optional<ConversionResult> result = cmdConvert_Click(rig.ctx);

        QVERIFY(result);
        QVERIFY2(filesNamed(root.path(), "PWNED").isEmpty(), "the name ran a command");
        QVERIFY2(result->produced, qPrintable(result->output));
        QCOMPARE(readAll(dir + "/paper.tex"), text);
    }

    // A folder whose name is not valid text (bytes from another system):
    // batch mode reaches the document through a link of its own, the results
    // land in the real folder (the web routes' in the output root), and the
    // document is untouched.
    void convertsInAFolderWhoseNameIsNotText_data() {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("result"); // beside the document, or under the output root
        QTest::newRow("hevea") << "hevea"
                               << "paper.html";
        QTest::newRow("tth") << "tth"
                             << "paper.htm";
        QTest::newRow("tex4ht") << "tex4ht"
                                << "out/paper/paper.html";
        QTest::newRow("latex2html") << "latex2html"
                                    << "out/paper/index.html";
        QTest::newRow("dvi") << "dvi"
                             << "paper.dvi";
        QTest::newRow("texify") << "texify"
                                << "paper.dvi";
        QTest::newRow("pdf") << "pdf"
                             << "paper.pdf";
    }
    void convertsInAFolderWhoseNameIsNotText() {
        QFETCH(QString, route);
        QFETCH(QString, result);
        QTemporaryDir root;
        const QByteArray folder = QFile::encodeName(root.path()) + "/caf\xe9 \xff\xfe";
        QVERIFY(::mkdir(folder.constData(), 0700) == 0);
        const QByteArray text = "\\documentclass{article}\\begin{document}Zebra\\label{z} see "
                                "\\ref{z} $x^2$.\\end{document}\n";
        const QByteArray document = folder + "/paper.tex";
        {
            std::FILE* file = std::fopen(document.constData(), "wb");
            QVERIFY(file);
            std::fwrite(text.constData(), 1, size_t(text.size()), file);
            std::fclose(file);
        }
        TestHome home;
        setIniKey(home.file("Morvane.ini"), "SaveTo", root.filePath("out"));
        QDir().mkpath(root.filePath("out"));
        // The folder's bytes reach the program as the shell passes them on:
        // printf makes them from octal escapes.
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("MORVANE_HOME", home.path());
        env.insert("XDG_STATE_HOME", root.filePath("state")); // where the link goes
        env.insert("DOCUMENT", root.path() + "/caf\\0351 \\0377\\0376/paper.tex");
        env.remove("DISPLAY");
        run.setProcessEnvironment(env);
        run.start("/bin/sh", {"-c", "exec \"$0\" --convert=\"$1\" \"$(printf '%b' \"$DOCUMENT\")\"",
                              MORVANE_BUILD_PROGRAM_DIR "/morvane", route});
        QVERIFY(run.waitForFinished(300000));
        const QByteArray err = run.readAllStandardError();
        QVERIFY2(run.exitCode() == 0 || run.exitCode() == 1, err.constData());
        const QByteArray made = result.startsWith("out/")
                                    ? QFile::encodeName(root.filePath(result))
                                    : folder + '/' + QFile::encodeName(result);
        struct stat info {};
        QVERIFY2(::stat(made.constData(), &info) == 0 && info.st_size > 0, err.constData());
        std::FILE* file = std::fopen(document.constData(), "rb");
        QVERIFY(file);
        QByteArray after(4096, 0);
        after.truncate(int(std::fread(after.data(), 1, size_t(after.size()), file)));
        std::fclose(file);
        QCOMPARE(after, text);
    }

    // The reproduction from the command line: tth's makeindex call gets a
    // plain name, and the page has its index.
    void tthInBatchModeRunsNothingFromTheName() {
        QTemporaryDir work;
        const QString name = "a;touch PWNED;b";
        writeText(work.filePath(name + ".tex"), kDocument);
        TestHome home;
        const BatchRun run = runBatch(home.path(), work.path(), {"--convert=tth", name + ".tex"});
        QVERIFY2(!QFileInfo::exists(work.filePath("PWNED")), run.err.constData());
        QVERIFY2(run.status == 0 || run.status == 1, run.err.constData());
        QVERIFY(readAll(work.filePath(name + ".htm")).contains("zebra"));
        QVERIFY(readAll(work.filePath(name + ".tlog")).startsWith("Tth log file for "));
    }

    // Files and folders that already carry the names an alias would take
    // (another document's, a killed run's) are never written, and the
    // document keeps its own text.
    void aliasNamesInUseAreLeftAlone_data() {
        QTest::addColumn<int>("tab");
        QTest::newRow("tth") << TabTth;
        QTest::newRow("tex4ht") << TabTex4ht;
    }
    void aliasNamesInUseAreLeftAlone() {
        QFETCH(int, tab);
        QTemporaryDir root;
        const QString dir = root.filePath("docs");
        const QString out = root.filePath("out");
        QDir().mkpath(dir);
        const QString source = dir + "/y's.tex";
        writeText(source, kDocument);
        // The names this process's next aliases would have.
        const QString taken = QString("morvane-alias-%1-").arg(QCoreApplication::applicationPid());
        for (int n = 1; n <= 40; ++n) {
            writeText(dir + '/' + taken + QString::number(n) + ".tex", "other text");
            QDir().mkpath(out + '/' + taken + QString::number(n));
            writeText(out + '/' + taken + QString::number(n) + "/keep.html", "user page");
        }

        ConversionRig rig;
        QVERIFY(rig.loaded);
        rig.ctx.settings.vars.tex4htSaveTo = out;
        rig.selectTab(tab);
        rig.model.setText(ctl::cmbTeX, source);
        const std::optional<ConversionResult> result = cmdConvert_Click(rig.ctx);

        QVERIFY(result && result->produced);
        QCOMPARE(readAll(source), kDocument);
        for (int n = 1; n <= 40; ++n) {
            const QString name = taken + QString::number(n);
            QCOMPARE(readAll(dir + '/' + name + ".tex"), QByteArray("other text"));
            QCOMPARE(QDir(out + '/' + name).entryList(QDir::Files), QStringList{"keep.html"});
        }
    }
};

MORVANE_TEST_GUILESS_MAIN(TestHostileNamesE2e)
#include "tst_hostilenames_e2e.moc"
