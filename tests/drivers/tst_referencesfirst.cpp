// When a document's references, bibliography and index are prepared before
// a web converter runs: what its text asks for, which files are its sources,
// and when the prepared files are out of date.

#include "drivers/referencesfirst.h"
#include "pipeline/appcontext.h"
#include "pipeline/conversion.h"
#include "settings/optionsmodel.h"
#include "support/routetabs.h"
#include "support/testmain.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace morvane;

namespace {

void write(const QString& path, const QByteArray& content, int ageSeconds = 0) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    if (ageSeconds > 0) {
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                                 QFileDevice::FileModificationTime));
    }
}

} // namespace

class TestReferencesFirst : public QObject {
    Q_OBJECT
private slots:
    void needsOfTheText_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("products"); // of base "d"
        QTest::newRow("references")
            << QByteArray("\\pageref{b} \\cref{a} \\citep[p.~2]{k}") << "d.aux";
        QTest::newRow("BibTeX") << QByteArray("\\cite{k}\n\\bibliography{refs}") << "d.aux d.bbl";
        QTest::newRow("biblatex") << QByteArray("\\addbibresource{refs.bib}") << "d.aux d.bbl";
        QTest::newRow("index") << QByteArray("\\makeindex\n\\printindex") << "d.aux d.ind";
        QTest::newRow("links and comments are none")
            << QByteArray("\\href{http://x}{y} % \\cite{k} \\bibliography{r}\n50\\%") << "";
    }

    void needsOfTheText() {
        QFETCH(QByteArray, text);
        QFETCH(QString, products);
        QCOMPARE(referenceNeedsOf(text).products("d").join(' '), products);
    }

    // The sources are the document, its input files and its bibliography
    // files; a product older than one of them is out of date.
    void outOfDate_data() {
        QTest::addColumn<QStringList>("present"); // "folder/name:age in seconds", "-gone"
        QTest::addColumn<QString>("touched");     // a source made new
        QTest::addColumn<bool>("outOfDate");
        const QStringList prepared = {"out/main.aux:10", "out/main.bbl:10"};
        QTest::newRow("newer than the sources") << prepared << "" << false;
        QTest::newRow("bibliography missing") << QStringList{"out/main.aux:10"} << "" << true;
        QTest::newRow("the .bib edited since") << prepared << "refs.bib" << true;
        QTest::newRow("an input file edited since") << prepared << "chapters/one.tex" << true;
        // The driver copied the author's .bbl just now; its age is the author's.
        QTest::newRow("the author's old .bbl, copied")
            << QStringList{"out/main.aux:10", "out/main.bbl:0", "doc/main.bbl:200"} << "" << true;
        // Without refs.bib BibTeX cannot help: the shipped .bbl is kept.
        QTest::newRow("no .bib, only the shipped .bbl")
            << QStringList{"out/main.aux:10", "out/main.bbl:0", "doc/main.bbl:200", "-refs.bib"}
            << "" << false;
    }

    void outOfDate() {
        QFETCH(QStringList, present);
        QFETCH(QString, touched);
        QFETCH(bool, outOfDate);
        QTemporaryDir work;
        const QString doc = work.filePath("doc");
        write(doc + "/main.tex",
              "\\input{chapters/one}\n\\bibliography{refs}\n\\begin{document}\\end{document}\n",
              100);
        write(doc + "/chapters/one.tex", "See \\cite{k}.\n", 100);
        write(doc + "/refs.bib", "@book{k, title={T}}\n", 100);
        for (const QString& product : present) {
            if (product.startsWith('-'))
                QVERIFY(QFile::remove(doc + "/" + product.mid(1)));
            else
                write(work.filePath(product.section(':', 0, 0)), "x",
                      product.section(':', 1).toInt());
        }
        if (!touched.isEmpty())
            write(doc + "/" + touched, "\\cite{k}\n");

        OptionsModel model;
        AppContext ctx;
        ctx.model = &model;
        model.setChecked(ctl::chkPrepareTex4ht, true);
        Conversion conv(ctx, *routeForTab(ctx.routes, TabTex4ht), doc + "/main.tex");
        const ReferenceNeeds all{.aux = true, .bibliography = true, .index = true};
        QCOMPARE(referencesNeedPreparing(conv, ctl::chkPrepareTex4ht, doc + "/main.tex",
                                         work.filePath("out"), "main", all),
                 outOfDate);
    }
};

MORVANE_TEST_GUILESS_MAIN(TestReferencesFirst)
#include "tst_referencesfirst.moc"
