// Documents that reach files of their own folder, on the routes that convert
// a working copy in the output folder (TeX4ht, LaTeX2HTML), with the real
// converters: a conference-style package beside the document, pictures
// found through \graphicspath (a PNG and an EPS), and for TeX4ht an error in
// one section; and a document whose bibliography is prepared before the
// converter runs, on every web route. Every run leaves the document's folder
// byte for byte as it was, and every local reference of every page resolves
// inside the output folder.

#include "conversionrig.h"
#include "settings/controlnames.h"
#include "support/testmain.h"

#include <QRegularExpression>

using namespace morvane;
using namespace morvane::test;

namespace {

// A filled square, as a drawing program writes it.
const QByteArray kEps = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 20 20\n"
                        "newpath 0 0 moveto 20 0 lineto 20 20 lineto closepath fill\n"
                        "showpage\n%%EOF\n";

// The EPS picture is for TeX4ht only: LaTeX2HTML has pdflatex make its
// pictures, whose EPS conversion writes beside the picture's relative name
// in latex2html's own temporary folder, which has no such subfolder.
QByteArray document(bool withError, bool withEps) {
    return QByteArray("\\documentclass{article}\n\\usepackage{graphicx}\n"
                      "\\usepackage{mypkg}\n\\graphicspath{{figs/}{art/}}\n"
                      "\\begin{document}\n\\section{One}\\label{one}\n"
                      "\\hello. A plot \\includegraphics[width=2cm]{plot}") +
           (withEps ? ", a square \\includegraphics{square}" : "") +
           " and $x^2+y^2$.\n\\section{Two}\n" +
           (withError ? "Broken \\undefinedcommand here.\n" : "Fine.\n") +
           "\\section{Three}\nThe rest survives; see section~\\ref{one}.\n\\end{document}\n";
}

// The document's folder: main.tex, its package and its pictures.
void writeDocumentFolder(const QString& dir, bool withError, bool withEps) {
    writeText(dir + "/main.tex", document(withError, withEps));
    writeText(dir + "/mypkg.sty",
              "\\ProvidesPackage{mypkg}\n\\newcommand{\\hello}{Hello from mypkg}\n");
    QVERIFY(QDir().mkpath(dir + "/figs"));
    QVERIFY(QFile::copy(QStringLiteral(MORVANE_SOURCE_DIR "/tests/data/tex4ht/docs/figs/plot.png"),
                        dir + "/figs/plot.png"));
    writeText(dir + "/art/square.eps", kEps);
}

QByteArray pagesBelow(const QString& dir) {
    QByteArray text;
    for (const QString& page : filesNamed(dir, "*.htm*"))
        text += readAll(page);
    return text;
}

} // namespace

class TestWholeDocumentE2e : public QObject {
    Q_OBJECT
private slots:
    void documentFolderIsReached_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<bool>("withError");
        QTest::addColumn<QByteArray>("pagesHold");
        QTest::addColumn<LogVerdict>("verdict");
        QTest::newRow("TeX4ht") << TabTex4ht << false << QByteArray("Hello from mypkg")
                                << LogVerdict::Clean;
        QTest::newRow("TeX4ht, an error in one section")
            << TabTex4ht << true << QByteArray("The rest survives") << LogVerdict::Errors;
        QTest::newRow("LaTeX2HTML")
            << TabL2h << false << QByteArray("The rest survives") << LogVerdict::Clean;
    }

    void documentFolderIsReached() {
        QFETCH(int, tab);
        QFETCH(bool, withError);
        QFETCH(QByteArray, pagesHold);
        QFETCH(LogVerdict, verdict);
        QTemporaryDir work;
        const QString doc = work.filePath("doc");
        writeDocumentFolder(doc, withError, tab == TabTex4ht);
        const auto before = filesBelow(doc, "");
        const QString out = work.filePath("out");
        QVERIFY(QDir().mkpath(out));

        ConversionRig rig;
        QVERIFY(rig.loaded);
        rig.ctx.settings.vars.tex4htSaveTo = out;
        rig.ctx.settings.vars.l2hSaveTo = out;
        rig.selectTab(tab);
        rig.model.setText(ctl::cmbTeX, doc + "/main.tex");
        const std::optional<ConversionResult> result = cmdConvert_Click(rig.ctx);

        QVERIFY(result && result->produced);
        const QString dir = out + "/main";
        const QByteArray pages = pagesBelow(dir);
        QVERIFY2(pages.contains(pagesHold), pages.left(3000).constData());
        QCOMPARE(result->verdict, verdict);
        QCOMPARE(filesBelow(doc, ""), before);
        QCOMPARE(unresolvedReferences(dir), QStringList());
        // LaTeX2HTML's stand-in for a formula or picture it could not make.
        static const QRegularExpression placeholder(QStringLiteral("\\b\\d+#\\d+\\b"));
        QVERIFY2(!placeholder.match(QString::fromUtf8(pages)).hasMatch(),
                 pages.left(3000).constData());
        if (tab == TabTex4ht) {
            // The EPS became a web image through the converter's own chain.
            QVERIFY2(pages.contains("square.png"), pages.left(3000).constData());
            QVERIFY(pages.contains("Hello from mypkg"));
        }
        if (withError)
            QVERIFY(readAll(result->log).contains("! Undefined control sequence."));
    }

    // "Prepare references, bibliography and index", on by default: BibTeX
    // makes the bibliography with the document's own style where each
    // converter reads it, and nothing is written beside the document.
    void referencesPrepared_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<bool>("prepare");
        const struct {
            const char* name;
            int tab;
            ctl::Control box;
        } routes[] = {{"HeVeA", TabHevea, ctl::chkPrepareHevea},
                      {"TtH", TabTth, ctl::chkPrepareTth},
                      {"TeX4ht", TabTex4ht, ctl::chkPrepareTex4ht},
                      {"LaTeX2HTML", TabL2h, ctl::chkPrepareL2h}};
        for (const auto& route : routes) {
            QTest::addRow("%s", route.name) << route.tab << true;
            QTest::addRow("%s, box cleared", route.name) << route.tab << false;
        }
    }

    void referencesPrepared() {
        QFETCH(int, tab);
        QFETCH(bool, prepare);
        QTemporaryDir work;
        const QString doc = work.filePath("doc");
        writeText(doc + "/main.tex", "\\documentclass{article}\n\\begin{document}\n"
                                     "\\section{One}\\label{one}\nAs \\cite{knuth} says, see "
                                     "section~\\ref{one}.\n\\bibliographystyle{mystyle}\n"
                                     "\\bibliography{refs}\n\\end{document}\n");
        writeText(doc + "/refs.bib", "@book{knuth, author={Donald Knuth}, "
                                     "title={A Title From The Bib}, year=1984}\n");
        QProcess which;
        which.start("kpsewhich", {"plain.bst"});
        QVERIFY(which.waitForFinished());
        QVERIFY(QFile::copy(QString::fromLocal8Bit(which.readAllStandardOutput()).trimmed(),
                            doc + "/mystyle.bst"));
        const auto before = filesBelow(doc, "");
        const QString out = work.filePath("out");
        QVERIFY(QDir().mkpath(out));

        ConversionRig rig;
        QVERIFY(rig.loaded);
        rig.ctx.settings.vars.tex4htSaveTo = out;
        rig.ctx.settings.vars.l2hSaveTo = out;
        rig.selectTab(tab);
        const ctl::Control box = tab == TabHevea    ? ctl::chkPrepareHevea
                                 : tab == TabTth    ? ctl::chkPrepareTth
                                 : tab == TabTex4ht ? ctl::chkPrepareTex4ht
                                                    : ctl::chkPrepareL2h;
        QVERIFY(rig.model.isChecked(box)); // as Morvane.ini ships it
        rig.model.setChecked(box, prepare);
        rig.model.setText(ctl::cmbTeX, doc + "/main.tex");
        const std::optional<ConversionResult> result = cmdConvert_Click(rig.ctx);

        QVERIFY(result && result->produced);
        const bool beside = tab == TabHevea || tab == TabTth;
        const QByteArray pages = pagesBelow(beside ? doc : out + "/main");
        QCOMPARE(pages.contains("A Title From The Bib"), prepare);
        // The sources are as they were, and no .aux, .bbl or .ind (nor the
        // preparation's .log or .pdf) appeared beside them.
        for (auto file = before.cbegin(); file != before.cend(); ++file)
            QCOMPARE(readAll(file.key()), file.value());
        for (const char* made : {"aux", "bbl", "ind", "blg", "pdf", "dvi", "log"})
            QVERIFY2(!QFileInfo::exists(doc + "/main." + made), made);
        if (!beside)
            QCOMPARE(filesBelow(doc, ""), before);
    }

    // A document that lies in its own output folder is converted there once
    // the user agrees; LaTeX and BibTeX are not run on it beforehand, as they
    // would write over its author's own files.
    void documentInItsOwnOutputFolderIsNotPrepared() {
        QTemporaryDir work;
        const QString dir = work.filePath("out/main");
        writeText(dir + "/main.tex", "\\documentclass{article}\n\\begin{document}\n"
                                     "\\cite{knuth}\n\\bibliographystyle{plain}\n"
                                     "\\bibliography{refs}\n\\end{document}\n");
        writeText(dir + "/refs.bib", "@book{knuth, title={A Title From The Bib}, year=1984}\n");
        ConversionRig rig;
        QVERIFY(rig.loaded);
        rig.ctx.settings.vars.tex4htSaveTo = work.filePath("out");
        rig.selectTab(TabTex4ht);
        QVERIFY(rig.model.isChecked(ctl::chkPrepareTex4ht));
        rig.model.setText(ctl::cmbTeX, dir + "/main.tex");
        rig.prompter.queueAnswer(Answer::Ok); // convert it where it lies
        const std::optional<ConversionResult> result = cmdConvert_Click(rig.ctx);
        QVERIFY(result && result->produced);
        QVERIFY(!QFileInfo::exists(dir + "/main.bbl"));
        QVERIFY(!QFileInfo::exists(dir + "/main.blg"));
    }
};

MORVANE_TEST_GUILESS_MAIN(TestWholeDocumentE2e)
#include "tst_wholedocument_e2e.moc"
