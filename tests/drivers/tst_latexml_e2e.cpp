// The LaTeXML route end to end with the real latexmlc: batch mode on
// sample2e.tex and the amsmath corpus document in every format, splitting,
// pictures, bibliographies and broken documents, and the Convert command
// with a scripted desktop. The document's folder is never written.

#include "conversionrig.h"
#include "settings/latexmlchoice.h"
#include "support/testmain.h"

#include <QElapsedTimer>
#include <QMap>
#include <QStandardPaths>

using namespace morvane;
using namespace morvane::test;

namespace {

// Every entry below `dir` (folders too) with the bytes of each file.
QMap<QString, QByteArray> folderState(const QString& dir) {
    QMap<QString, QByteArray> state;
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        state.insert(path.mid(dir.size()), it.fileInfo().isDir() ? "<folder>" : readAll(path));
    }
    return state;
}

// A program directory whose LaTeXML output root is `root`.
void useOutputRoot(const TestHome& home, const QString& root) {
    QFile ini(home.file("Morvane.ini"));
    QVERIFY(ini.open(QIODevice::Append));
    ini.write("\n[LaTeXML]\nSaveTo=" + root.toUtf8() + "\n");
}

// A picture from TeX Live's mwe package.
QString examplePicture() {
    QProcess which;
    which.start(QStringLiteral("kpsewhich"), {QStringLiteral("example-image-a.png")});
    which.waitForFinished(30000);
    return QString::fromLocal8Bit(which.readAllStandardOutput()).trimmed();
}

// Every local src and href of the pages below `dir` resolves inside it.
void checkReferencesResolve(const QString& dir) {
    const QStringList missing = unresolvedReferences(dir);
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral("; "))));
}

} // namespace

class TestLatexmlE2e : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable(QStringLiteral("latexmlc")).isEmpty())
            QSKIP("latexmlc is not installed (Debian package latexml)");
        QVERIFY2(QFile::exists(sample2e()), "kpsewhich finds no sample2e.tex");
    }

    // Batch mode converts, the status follows the log, the page and all
    // it refers to lie in the output folder, the source folder is as it was.
    void batchConversion_data() {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QByteArray>("holds");
        QTest::newRow("sample2e, HTML5") << sample2e() << "latexml"
                                         << "sample2e/sample2e.html" << QByteArray("<math");
        QTest::newRow("sample2e, XHTML") << sample2e() << "latexml-xhtml"
                                         << "sample2e/sample2e.xhtml" << QByteArray("<math");
        QTest::newRow("sample2e, JATS") << sample2e() << "latexml-jats"
                                        << "sample2e/sample2e.xml" << QByteArray("<article");
        QTest::newRow("amsmath test document") << corpus("amsmath-testmath/main.tex") << "latexml"
                                               << "main/main.html" << QByteArray("<math");
    }
    void batchConversion() {
        QFETCH(QString, document);
        QFETCH(QString, word);
        QFETCH(QString, page);
        QFETCH(QByteArray, holds);
        QTemporaryDir work;
        const QString source = work.filePath("src/" + QFileInfo(document).fileName());
        writeText(source, readAll(document));
        const QString root = work.filePath("out");
        QVERIFY(QDir().mkpath(root));
        TestHome home;
        useOutputRoot(home, root);
        const auto before = folderState(work.filePath("src"));

        QElapsedTimer timer;
        timer.start();
        const BatchRun run =
            runBatch(home.path(), work.filePath("src"), {"--convert=" + word, source});
        const qint64 elapsed = timer.elapsed();
        QVERIFY2(run.status == 0 || run.status == 1, run.err.constData());
        QCOMPARE(folderState(work.filePath("src")), before);
        const QByteArray text = readAll(root + "/" + page);
        QVERIFY2(text.contains(holds), qPrintable(page));
        checkReferencesResolve(root);
        const QString log = root + "/" + QFileInfo(page).path() + "/" +
                            QFileInfo(document).completeBaseName() + ".latexml.log";
        QVERIFY(readAll(log).startsWith("LaTeXML log file for " + source.toUtf8() + "\n\n"));
        // The status is the log's: 1 exactly when it lists an error.
        QCOMPARE(run.status == 1, run.err.contains(": error: "));

        // What LaTeXML could not convert stays as raw TeX in ltx_ERROR
        // elements (the macros it does not know).
        const qsizetype formulas = text.count("<math");
        const qsizetype rawTeX = text.count("class=\"ltx_ERROR");
        qInfo("%s: %lld ms, status %d, %lld formulas as MathML, %lld pieces of raw TeX",
              QTest::currentDataTag(), elapsed, run.status, qlonglong(formulas), qlonglong(rawTeX));
        if (word == "latexml" && document.endsWith("main.tex")) {
            QVERIFY(formulas >= 500);
            QVERIFY(rawTeX <= 20);
        }
    }

    // At each section: several pages, each reached from the first, through
    // the Convert command as the window runs it.
    void splitAtSections() {
        QTemporaryDir work;
        const QString source = work.filePath("src/sample2e.tex");
        writeText(source, readAll(sample2e()));
        ConversionRig rig;
        QVERIFY(rig.loaded);
        rig.ctx.settings.vars.latexmlSaveTo = work.filePath("out");
        QVERIFY(QDir().mkpath(work.filePath("out")));
        rig.model.setIndex(ctl::cmbLatexmlSplit, int(LatexmlSplit::Section));
        rig.model.setCheckValue(ctl::chkIE, 0);
        const auto before = folderState(work.filePath("src"));
        rig.convert(TabLatexml, source);

        const QString dir = work.filePath("out/sample2e");
        const QStringList pages = QDir(dir).entryList({"*.html"}, QDir::Files);
        QVERIFY2(pages.size() >= 3, qPrintable(pages.join(' ')));
        const QByteArray first = readAll(dir + "/sample2e.html");
        for (const QString& other : pages)
            if (other != "sample2e.html")
                QVERIFY2(first.contains("href=\"" + other.toUtf8()), qPrintable(other));
        checkReferencesResolve(dir);
        QCOMPARE(rig.ctx.expectedOutput, dir + "/sample2e.html");
        QCOMPARE(logOf(rig.ctx.logs, "latexml"), dir + "/sample2e.latexml.log");
        QVERIFY(rig.model.isEnabled(ctl::cmdShow));
        QVERIFY(rig.logPlain());
        QCOMPARE(folderState(work.filePath("src")), before);
    }

    // Pictures latexmlc copies or makes, and formulas as pictures, land in
    // the output folder.
    void picturesLandInTheOutputFolder_data() {
        QTest::addColumn<int>("math");
        QTest::addColumn<QByteArray>("holds");
        QTest::newRow("formulas as MathML") << 0 << QByteArray("<math");
        QTest::newRow("formulas as pictures") << 1 << QByteArray("src=\"mi/");
    }
    void picturesLandInTheOutputFolder() {
        QFETCH(int, math);
        QFETCH(QByteArray, holds);
        const QString picture = examplePicture();
        if (picture.isEmpty())
            QSKIP("TeX Live's mwe pictures are not installed");
        QTemporaryDir work;
        writeText(work.filePath("src/figures.tex"),
                  "\\documentclass{article}\n\\usepackage{graphicx}\n\\begin{document}\n"
                  "\\includegraphics[width=2cm]{a}\n\\includegraphics[width=2cm]{pics/b}\n"
                  "\\begin{equation}\\int_0^1 x\\,dx = \\frac12\\end{equation}\n"
                  "\\end{document}\n");
        QVERIFY(QFile::copy(picture, work.filePath("src/a.png")));
        QVERIFY(QDir().mkpath(work.filePath("src/pics")));
        QVERIFY(QFile::copy(picture, work.filePath("src/pics/b.png")));
        ConversionRig rig;
        rig.ctx.settings.vars.latexmlSaveTo = work.filePath("out");
        QVERIFY(QDir().mkpath(work.filePath("out")));
        rig.model.setIndex(ctl::optLatexmlMath, math);
        rig.model.setCheckValue(ctl::chkIE, 0);
        const auto before = folderState(work.filePath("src"));
        rig.convert(TabLatexml, work.filePath("src/figures.tex"));

        const QByteArray page = readAll(work.filePath("out/figures/figures.html"));
        QVERIFY(page.contains(holds));
        QCOMPARE(page.contains("<math"), math == 0);
        // The two pictures, copied beside the page.
        QCOMPARE(page.count("<img src=\"x"), 2);
        checkReferencesResolve(work.filePath("out"));
        QCOMPARE(folderState(work.filePath("src")), before);
    }

    // The .bib files \bibliography names, or with the box unticked the .bbl
    // BibTeX made (here none).
    void bibliography_data() {
        QTest::addColumn<bool>("fromBib");
        QTest::newRow("from the .bib files") << true;
        QTest::newRow("from the .bbl") << false;
    }
    void bibliography() {
        QFETCH(bool, fromBib);
        QTemporaryDir work;
        writeText(work.filePath("src/cites.tex"),
                  "\\documentclass{article}\n\\begin{document}\nSee \\cite{knuth84}.\n"
                  "\\bibliographystyle{plain}\n\\bibliography{refs}\n\\end{document}\n");
        writeText(work.filePath("src/refs.bib"),
                  "@book{knuth84, author = {Donald E. Knuth}, title = {The {\\TeX}book},\n"
                  "  publisher = {Addison-Wesley}, year = {1984}}\n");
        ConversionRig rig;
        rig.ctx.settings.vars.latexmlSaveTo = work.filePath("out");
        QVERIFY(QDir().mkpath(work.filePath("out")));
        rig.model.setCheckValue(ctl::chkLatexmlBibliography, fromBib ? 1 : 0);
        rig.model.setCheckValue(ctl::chkIE, 0);
        const auto before = folderState(work.filePath("src"));
        rig.convert(TabLatexml, work.filePath("src/cites.tex"));
        QCOMPARE(readAll(work.filePath("out/cites/cites.html")).contains("Addison-Wesley"),
                 fromBib);
        QCOMPARE(folderState(work.filePath("src")), before);
    }

    // Errors name the file and line they are in, an input in a subfolder
    // too; a converter that gives up gives status 2.
    void brokenDocuments_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("listed"); // relative to the document's folder
        QTest::newRow("errors in the document and its input")
            << QByteArray("Text.\n\\input{parts/more}\n\\input{missing}\n") << 1
            << QStringList{"parts/more.tex:2: error: undefined:\\undefinedmacro",
                           "main.tex:5: error: missing_file:missing Can't find TeX file missing"};
        QByteArray many;
        for (int i = 0; i < 120; ++i)
            many += "\\undefined" + QByteArray(1, char('a' + i % 26)) +
                    QByteArray(1, char('a' + i / 26)) + "{}\n";
        QTest::newRow("too many errors: latexmlc gives up")
            << many << 2 << QStringList{": error: too_many_errors:100 Too many errors"};
    }
    void brokenDocuments() {
        QFETCH(QByteArray, body);
        QFETCH(int, status);
        QFETCH(QStringList, listed);
        QTemporaryDir work;
        const QString src = work.filePath("src");
        writeText(src + "/main.tex",
                  "\\documentclass{article}\n\\begin{document}\n" + body + "\\end{document}\n");
        writeText(src + "/parts/more.tex", "A part.\n\\undefinedmacro{} here.\n");
        const QString root = work.filePath("out");
        QVERIFY(QDir().mkpath(root));
        TestHome home;
        useOutputRoot(home, root);
        const auto before = folderState(src);
        const BatchRun run = runBatch(home.path(), src, {"--convert=latexml", "main.tex"});
        QCOMPARE(run.status, status);
        for (const QString& entry : listed) {
            const QByteArray line =
                entry.startsWith(':') ? entry.toUtf8() : (src + "/" + entry).toUtf8();
            QVERIFY2(run.err.contains(line), run.err.right(3000).constData());
        }
        QCOMPARE(folderState(src), before);
    }

    // A JATS article opens with the desktop's program; a page goes to the
    // built-in browser (none here).
    void jatsOpensWithTheDesktop() {
        QTemporaryDir work;
        writeText(work.filePath("src/note.tex"),
                  "\\documentclass{article}\n\\begin{document}\nA note, $x^2$.\n"
                  "\\end{document}\n");
        ConversionRig rig;
        rig.ctx.settings.vars.latexmlSaveTo = work.filePath("out");
        QVERIFY(QDir().mkpath(work.filePath("out")));
        rig.model.setCheckValue(ctl::chkIE, 1);
        rig.model.setIndex(ctl::optIE, 1);
        rig.model.setIndex(ctl::cmbLatexmlFormat, int(LatexmlFormat::Html5));
        rig.convert(TabLatexml, work.filePath("src/note.tex"));
        QVERIFY(QFile::exists(work.filePath("out/note/note.html")));
        QVERIFY(rig.shell.opened.isEmpty());
        QCOMPARE(rig.model.caption(ctl::cmdShow), QStringLiteral("Sh&ow HTML file"));

        rig.model.setIndex(ctl::cmbLatexmlFormat, int(LatexmlFormat::Jats));
        QCOMPARE(rig.model.caption(ctl::cmdShow), QStringLiteral("Sh&ow XML file"));
        rig.convert(TabLatexml, work.filePath("src/note.tex"));
        QCOMPARE(rig.shell.opened, QStringList{work.filePath("out/note/note.xml")});
    }

    // A convert.sh kept from before the route existed is named as the cause.
    void olderConvertScriptIsNamed() {
        QTemporaryDir work;
        writeText(work.filePath("a.tex"),
                  "\\documentclass{article}\\begin{document}A\\end{document}\n");
        TestHome home;
        useOutputRoot(home, work.path());
        QByteArray script = readAll(home.file("convert.sh"));
        QVERIFY(script.contains("\nroute_latexml() {"));
        script.replace("\nroute_latexml() {", "\nroute_renamed() {");
        writeText(home.file("convert.sh"), script);
        const BatchRun run = runBatch(home.path(), work.path(), {"--convert=latexml", "a.tex"});
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains("is older than this version of Morvane and has no "
                                  "route_latexml function for this route: replace it with"),
                 run.err.constData());
    }
};

MORVANE_TEST_GUILESS_MAIN(TestLatexmlE2e)
#include "tst_latexml_e2e.moc"
