// A working copy's lines traced back to the document's: what Morvane
// inserted or changed stands for a line the user wrote.

#include "pipeline/copiedlines.h"
#include "support/testmain.h"

#include <QTest>

using namespace morvane;

class TestCopiedLines : public QObject {
    Q_OBJECT
private slots:
    void originalLines_data() {
        QTest::addColumn<QByteArrayList>("original");
        QTest::addColumn<QByteArrayList>("copy");
        QTest::addColumn<QList<int>>("lines");
        const QByteArrayList doc{"\\documentclass{article}", "\\begin{document}", "x \\bad",
                                 "\\end{document}"};
        QTest::newRow("unchanged") << doc << doc << QList<int>{1, 2, 3, 4};
        QTest::newRow("a package line inserted")
            << doc << QByteArrayList{doc[0], "\\usepackage{tex4ht}", doc[1], doc[2], doc[3]}
            << QList<int>{1, 1, 2, 3, 4};
        QTest::newRow("lines inserted before the first")
            << doc << QByteArrayList{"% a", "% b", doc[0], doc[1], doc[2], doc[3]}
            << QList<int>{1, 1, 1, 2, 3, 4};
        QTest::newRow("a line changed in place")
            << doc << QByteArrayList{doc[0], doc[1], "x \\bad{}", doc[3]} << QList<int>{1, 2, 3, 4};
        // TeX4ht's working copy: blank lines and a block whose last line the
        // user's preamble has too.
        QTest::newRow("an inserted block that looks like the user's lines")
            << QByteArrayList{doc[0], "\\makeatother", doc[1], "", doc[2], doc[3]}
            << QByteArrayList{doc[0], "", "\\makeatletter", "\\makeatother",
                              doc[1], "", doc[2],           doc[3]}
            << QList<int>{1, 1, 1, 2, 3, 4, 5, 6};
        QTest::newRow("repeated lines keep their order")
            << QByteArrayList{"a", "b", "a", "b"} << QByteArrayList{"a", "b", "new", "a", "b"}
            << QList<int>{1, 2, 2, 3, 4};
    }
    void originalLines() {
        QFETCH(QByteArrayList, original);
        QFETCH(QByteArrayList, copy);
        QFETCH(QList<int>, lines);
        QCOMPARE(morvane::originalLines(original, copy), lines);
    }
};

MORVANE_TEST_APPLESS_MAIN(TestCopiedLines)
#include "tst_copiedlines.moc"
