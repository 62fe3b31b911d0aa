// What the comparison of routes reads from a page: formulas as MathML, as
// pictures or as TeX left in the text, unresolved references, and words.

#include "pipeline/resultmeasures.h"
#include "support/testmain.h"

#include <QTemporaryDir>
#include <QTest>

using namespace morvane;

class TestResultMeasures : public QObject {
    Q_OBJECT

private slots:
    void pageMeasures_data() {
        QTest::addColumn<QByteArray>("html");
        QTest::addColumn<int>("mathml");
        QTest::addColumn<int>("formulaImages");
        QTest::addColumn<int>("rawTex");
        QTest::addColumn<int>("undefined");
        QTest::addColumn<int>("words");
        QTest::newRow("MathML, its tokens not counted as text")
            << QByteArray("<p>Let <math><mi>x</mi><mo>=</mo><mn>2</mn></math> hold.</p>") << 1 << 0
            << 0 << 0 << 2;
        QTest::newRow("pictures of formulas: by class or by a TeX alt text")
            << QByteArray("<img src=\"a.png\" class=\"math\"><img src=\"b.png\" alt=\"$x^2$\">"
                          "<img src=\"c.png\" alt=\"\\frac{1}{2}\"><img src=\"photo.jpg\" "
                          "alt=\"a photo\">")
            << 0 << 3 << 0 << 0 << 0;
        QTest::newRow("TeX left in the text, but not in scripts or styles")
            << QByteArray("<script>var a = '\\\\frac';</script><style>p{}</style>"
                          "<span class=\"math\">\\frac{1}{2} \\alpha</span>")
            << 0 << 0 << 2 << 0 << 0;
        QTest::newRow("TeX shown as code is text, not TeX left")
            << QByteArray("<pre class=\"verbatim\">\\begin{matrix} \\varphi</pre> and "
                          "<code>\\frac</code>")
            << 0 << 0 << 0 << 0 << 5;
        QTest::newRow("undefined references")
            << QByteArray("<p>see ?? and [?] and (??)</p>") << 0 << 0 << 0 << 3 << 3;
    }
    void pageMeasures() {
        QFETCH(QByteArray, html);
        QTemporaryDir dir;
        ResultMeasures measures;
        measurePage(html, dir.path(), dir.path(), "page.html", measures);
        QTEST(measures.mathml, "mathml");
        QTEST(measures.formulaImages, "formulaImages");
        QTEST(measures.rawTex, "rawTex");
        QTEST(measures.undefinedReferences, "undefined");
        int words = 0;
        for (const int count : std::as_const(measures.words))
            words += count;
        QTEST(words, "words");
    }

    void brokenLinksNameWhatIsMissing() {
        QTemporaryDir dir;
        QFile(dir.filePath("there.png")).open(QIODevice::WriteOnly);
        ResultMeasures measures;
        measurePage("<img src=\"there.png\"><img src=\"gone.png\"><a href=\"#top\">x</a>"
                    "<a href=\"https://example.org/\">w</a><a href=\"../../etc/passwd\">p</a>",
                    dir.path(), dir.path(), "page.html", measures);
        QCOMPARE(measures.brokenLinks,
                 (QStringList{"page.html: gone.png", "page.html: ../../etc/passwd"}));
    }

    void textCoverageAgainstTheSource_data() {
        QTest::addColumn<QByteArray>("tex");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("coverage");
        const QByteArray tex = "\\documentclass{article}\\title{Ignored preamble}\n"
                               "\\begin{document}\nThe quick brown fox % not this comment\n"
                               "jumps $x^2$ over \\emph{the} lazy dog\\label{fox}.\n"
                               "\\end{document}\n";
        QTest::newRow("everything") << tex << "the quick brown fox jumps over the lazy dog" << 1.0;
        // Nine words: "the" twice (once inside \\emph), "fox" once.
        QTest::newRow("four of nine") << tex << "quick brown fox jumps" << 4.0 / 9;
        QTest::newRow("a word counts as often as the source has it")
            << tex << "the the the the" << 2.0 / 9;
        QTest::newRow("nothing") << tex << "" << 0.0;
    }
    void textCoverageAgainstTheSource() {
        QFETCH(QByteArray, tex);
        QFETCH(QString, text);
        QFETCH(double, coverage);
        QCOMPARE(textCoverage(texWordsOf(tex), wordsOf(text)), coverage);
    }
};

MORVANE_TEST_APPLESS_MAIN(TestResultMeasures)
#include "tst_resultmeasures.moc"
