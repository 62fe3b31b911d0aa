// When a document's references, bibliography and index are prepared before
// a web converter runs: what its text asks for, which files are its sources,
// and when the prepared files are out of date.

#include "drivers/referencesfirst.h"
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
        QTest::addColumn<QStringList>("present"); // products there, "name:age"
        QTest::addColumn<QString>("touched");     // a source made new
        QTest::addColumn<bool>("outOfDate");
        QTest::newRow("newer than the sources")
            << QStringList{"main.aux:10", "main.bbl:10"} << "" << false;
        QTest::newRow("bibliography missing") << QStringList{"main.aux:10"} << "" << true;
        QTest::newRow("the .bib edited since")
            << QStringList{"main.aux:10", "main.bbl:10"} << "refs.bib" << true;
        QTest::newRow("an input file edited since")
            << QStringList{"main.aux:10", "main.bbl:10"} << "chapters/one.tex" << true;
    }

    void outOfDate() {
        QFETCH(QStringList, present);
        QFETCH(QString, touched);
        QFETCH(bool, outOfDate);
        QTemporaryDir work;
        const QString doc = work.filePath("doc");
        const QString out = work.filePath("out");
        write(doc + "/main.tex",
              "\\input{chapters/one}\n\\bibliography{refs}\n\\begin{document}\\end{document}\n",
              100);
        write(doc + "/chapters/one.tex", "See \\cite{k}.\n", 100);
        write(doc + "/refs.bib", "@book{k, title={T}}\n", 100);
        for (const QString& product : present)
            write(out + "/" + product.section(':', 0, 0), "x", product.section(':', 1).toInt());
        if (!touched.isEmpty())
            write(doc + "/" + touched, "\\cite{k}\n");

        const QStringList sources = referenceSourcesOf(doc + "/main.tex");
        const ReferenceNeeds needs = referenceNeedsOfDocument(doc + "/main.tex");
        QCOMPARE(needs.products(out + "/main"),
                 QStringList({out + "/main.aux", out + "/main.bbl"}));
        QCOMPARE(productsOutOfDate(needs.products(out + "/main"), sources), outOfDate);
    }
};

MORVANE_TEST_GUILESS_MAIN(TestReferencesFirst)
#include "tst_referencesfirst.moc"
