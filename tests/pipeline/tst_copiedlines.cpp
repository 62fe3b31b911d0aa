// A working copy's lines traced back to the document's: what Morvane
// inserted or changed stands for a line the user wrote.

#include "pipeline/copiedlines.h"
#include "support/testmain.h"

#include <QFile>
#include <QTemporaryDir>
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

    // Entries about the document itself: an unknown command goes to its
    // line; any other message without a line stays as the converter wrote it.
    void documentEntries() {
        QTemporaryDir dir;
        const QString doc = dir.filePath("doc.tex");
        QFile file(doc);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\\documentclass{article}\n\\begin{document}\nA \\foo{x}.\n\\end{document}\n");
        file.close();
        const CopiedDocument copied{dir.filePath("out/doc.tex"), doc, dir.filePath("out"),
                                    dir.path()};
        const LogEntries entries{
            {LogEntry::Severity::Warning, doc, 0, "Unknown command \\foo"},
            {LogEntry::Severity::Warning, doc, 0, "Failed to convert image image001.ps"}};
        const LogEntries placed = entriesInOriginals(entries, copied);
        QCOMPARE(placed[0].line, 3);
        QCOMPARE(placed[1], entries[1]);
    }
};

MORVANE_TEST_APPLESS_MAIN(TestCopiedLines)
#include "tst_copiedlines.moc"
