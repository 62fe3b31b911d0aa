#include "fixupfixture.h"
#include "settings/controlnames.h"
#include "support/testmain.h"

#include <QTest>

using namespace morvane;
using morvane::test::FixupFixture;

namespace {

void handle(FixupFixture& f, const QString& source, const QString& destination) {
    handleIncludes(f.conv, f.path(source), f.path(destination), KwzTexExtBlock::Omit);
}

} // namespace

class TestIncludes : public QObject {
    Q_OBJECT
private slots:
    void includeLines_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<QString>("copied"); // file expected in out/, or empty
        QTest::newRow("input with folder")
            << QByteArray("\\input{sub/part}\n") << QByteArray("\\input{part}\n") << "part.tex";
        QTest::newRow("backslash folder") << QByteArray("x \\input{sub\\part} y\r\n")
                                          << QByteArray("x \\input{part} y\r\n") << "part.tex";
        QTest::newRow("include with extension") << QByteArray("\\include{sub/part.tex}")
                                                << QByteArray("\\include{part.tex}") << "part.tex";
        QTest::newRow("include before input")
            << QByteArray("\\input{nothing}\\include{sub//part}")
            << QByteArray("\\input{nothing}\\include{part}") << "part.tex";
        QTest::newRow("leading separator dropped")
            << QByteArray("\\input{/sub/part}") << QByteArray("\\input{part}") << "part.tex";
        QTest::newRow("commented")
            << QByteArray("%\\input{sub/part}\n") << QByteArray("%\\input{sub/part}\n") << "";
        QTest::newRow("drive letter")
            << QByteArray("\\input{C:/sub/part}\n") << QByteArray("\\input{C:/sub/part}\n") << "";
        QTest::newRow("missing file")
            << QByteArray("\\input{sub/none}\n") << QByteArray("\\input{sub/none}\n") << "";
        QTest::newRow("unterminated")
            << QByteArray("\\input{sub/part\n") << QByteArray("\\input{sub/part\n") << "";
        QTest::newRow("other case is no command")
            << QByteArray("\\Input{sub/part}\n") << QByteArray("\\Input{sub/part}\n") << "";
    }
    void includeLines() {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, expected);
        QFETCH(QString, copied);
        FixupFixture f;
        const QByteArray document = "\\documentclass{article}\n" + line + "\xff\xfe end";
        f.write("src/doc.tex", document);
        f.write("src/sub/part.tex", "part\r\ntext\r\n");
        f.write("out/doc.tex", document);
        f.ageFile("out/doc.tex");
        handle(f, "src/doc.tex", "out/doc.tex");
        QCOMPARE(f.read("out/doc.tex"), "\\documentclass{article}\n" + expected + "\xff\xfe end");
        if (copied.isEmpty()) {
            QVERIFY(!f.exists("out/part.tex"));
            QVERIFY(!f.wasRewritten("out/doc.tex"));
        } else {
            // The included file is copied with the platform line ends.
            QCOMPARE(f.read("out/" + copied), QByteArray("part\ntext\n"));
        }
        QCOMPARE(f.read("src/doc.tex"), document);
        QVERIFY(!f.exists("out/temp.htm"));
    }

    void tcilatexIsCopiedByteForByte() {
        FixupFixture f;
        const QByteArray macros("\\input{sub/part}\r\n\\includegraphics{sub/p.png}\r\n\0\xff", 49);
        f.write("src/TCILATEX.tex", macros);
        f.write("src/sub/part.tex", "part\n");
        QDir().mkpath(f.path("out"));
        handle(f, "src/TCILATEX.tex", "out/TCILATEX.tex");
        // Copied as it is: no include handling and no graphics fix-up.
        QCOMPARE(f.read("out/TCILATEX.tex"), macros);
        QVERIFY(!f.exists("out/part.tex"));
    }

    void includedFilesAreHandledInTurn() {
        FixupFixture f;
        f.write("src/doc.tex",
                "\\input{chap/one}\n\\input{tcilatex}\n\\includegraphics{fig/a.png}\n");
        f.write("src/chap/one.tex", "\\input{pics/two}\n");
        // TeX finds pictures beside the main document, whichever file names them.
        f.write("src/chap/pics/two.tex", "two\n\\includegraphics{fig/b.png}\n");
        f.write("src/fig/a.png", "A");
        f.write("src/fig/b.png", "B");
        f.write("src/tcilatex.tex", "a\r\nb\r\n");
        f.write("out/doc.tex", "old");
        f.model.setText(ctl::cmbTeX, f.path("src/doc.tex"));
        handle(f, "src/doc.tex", "out/doc.tex");
        // Every working copy it finished had the graphics fix-up.
        QCOMPARE(f.read("out/doc.tex"),
                 QByteArray("\\input{one}\n\\input{tcilatex}\n\\includegraphics{a.png}\n"));
        QCOMPARE(f.read("out/one.tex"), QByteArray("\\input{two}\n"));
        QCOMPARE(f.read("out/two.tex"), QByteArray("two\n\\includegraphics{b.png}\n"));
        QCOMPARE(f.read("out/a.png"), QByteArray("A"));
        QCOMPARE(f.read("out/b.png"), QByteArray("B"));
        QCOMPARE(f.read("out/tcilatex.tex"), QByteArray("a\r\nb\r\n"));
        QCOMPARE(f.conv.includeDepth, 3);
    }

    void inputCycleEnds() {
        FixupFixture f;
        f.write("src/a.tex", "\\input{x/b}\n");
        f.write("src/x/b.tex", "\\input{../a}\n\\input{../x/b}\n");
        f.write("out/a.tex", "\\input{x/b}\n");
        handle(f, "src/a.tex", "out/a.tex");
        // The finished working copy of a is not replaced by a fresh copy.
        QCOMPARE(f.read("out/a.tex"), QByteArray("\\input{b}\n"));
        QCOMPARE(f.read("out/b.tex"), QByteArray("\\input{a}\n\\input{b}\n"));
        QCOMPARE(f.conv.includeDepth, 1);
    }

    void recursionStopsAtItsLimit() {
        FixupFixture f;
        for (int i = 0; i < 130; ++i)
            f.write(QStringLiteral("src/f%1.tex").arg(i),
                    QStringLiteral("\\input{./f%1}\n").arg(i + 1).toUtf8());
        QDir().mkpath(f.path("out"));
        handle(f, "src/f0.tex", "out/f0.tex");
        QCOMPARE(f.conv.includeDepth, 100);
        QCOMPARE(f.read("out/f100.tex"), QByteArray("\\input{f101}\n"));
        // f101 was copied by f100's handling but is not handled itself.
        QCOMPARE(f.read("out/f101.tex"), QByteArray("\\input{./f102}\n"));
        QVERIFY(!f.exists("out/f102.tex"));
        // A further request in the same conversion starts no nested call.
        handle(f, "src/f101.tex", "out/f101.tex");
        QVERIFY(!f.exists("out/f103.tex"));
    }

    void theSourceIsNeverWritten() {
        FixupFixture f;
        const QByteArray text = "\\input{sub/part}\n";
        f.write("src/doc.tex", text);
        f.write("src/sub/part.tex", "p\n");
        handle(f, "src/doc.tex", "src/doc.tex");
        QCOMPARE(f.read("src/doc.tex"), text);
        QVERIFY(!f.exists("src/part.tex"));
        handle(f, "src/none.tex", "out/none.tex");
        QVERIFY(!f.exists("out/none.tex"));
    }

    void includedFileNamedLikeTheWorkingCopy() {
        FixupFixture f;
        f.write("src/doc.tex", "\\input{old/doc}\nmain\n");
        f.write("src/old/doc.tex", "old\n");
        QDir().mkpath(f.path("out"));
        handle(f, "src/doc.tex", "out/doc.tex");
        QCOMPARE(f.read("out/doc.tex"), QByteArray("\\input{doc}\nmain\n"));
    }
};

MORVANE_TEST_MAIN(TestIncludes)
#include "tst_includes.moc"
