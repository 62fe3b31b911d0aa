#include "platform/atomicfile.h"
#include "platform/pathutils.h"
#include "support/testhome.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace morvane;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

} // namespace

class TestPathUtils : public QObject {
    Q_OBJECT
private slots:
    void replaceAll_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("exact");
        QTest::newRow("replacement holds the search string") << "aaa"
                                                             << "a"
                                                             << "aa"
                                                             << "aaaaaa";
        QTest::newRow("case differs") << "TeX4ht tex4ht TEX4HT"
                                      << "tex4ht"
                                      << "x"
                                      << "TeX4ht x TEX4HT";
        QTest::newRow("no hit") << "abc"
                                << "z"
                                << "y"
                                << "abc";
        QTest::newRow("empty search string") << "abc"
                                             << ""
                                             << "y"
                                             << "abc";
        QTest::newRow("removal") << "a~b~~c"
                                 << "~"
                                 << ""
                                 << "abc";
        QTest::newRow("tilde to underscore") << "/x/PAPER~1.TEX"
                                             << "~"
                                             << "_"
                                             << "/x/PAPER_1.TEX";
        QTest::newRow("overlapping hits") << "aaaa"
                                          << "aa"
                                          << "b"
                                          << "bb";
        QTest::newRow("replacement equals search") << "ab"
                                                   << "ab"
                                                   << "ab"
                                                   << "ab";
    }
    void replaceAll() {
        QFETCH(QString, text);
        QFETCH(QString, search);
        QFETCH(QString, replacement);
        QFETCH(QString, exact);
        QCOMPARE(morvane::replaceAll(text, search, replacement), exact);
    }

    void pathPieces_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("dropped");
        QTest::newRow("full path") << "/dir/file.tex"
                                   << "file.tex"
                                   << "/dir/file.tex";
        QTest::newRow("bare name") << "file.tex"
                                   << "file.tex"
                                   << "file.tex";
        QTest::newRow("directory with separator") << "/dir/"
                                                  << ""
                                                  << "/dir";
        QTest::newRow("root") << "/"
                              << ""
                              << "/";
        QTest::newRow("empty") << ""
                               << ""
                               << "";
        QTest::newRow("two separators: one dropped") << "/dir//"
                                                     << ""
                                                     << "/dir/";
        QTest::newRow("blank in name") << "/My Files/a b.tex"
                                       << "a b.tex"
                                       << "/My Files/a b.tex";
    }
    void pathPieces() {
        QFETCH(QString, path);
        QFETCH(QString, fileName);
        QFETCH(QString, dropped);
        QCOMPARE(fileNameOf(path), fileName);
        QCOMPARE(dropTrailingSeparator(path), dropped);
    }

    void longPath() {
        QTemporaryDir tmp;
        QVERIFY(QDir(tmp.path()).mkpath("Mixed Case/.hidden/inner"));
        writeFile(tmp.filePath("Mixed Case/.hidden/inner/Paper.tex"), "x");
        const QString full = tmp.path() + "/Mixed Case/.hidden/inner/Paper.tex";
        QCOMPARE(longPathOf(full), full);
        QCOMPARE(longPathOf(tmp.path() + "/Mixed Case/.hidden/"),
                 tmp.path() + "/Mixed Case/.hidden");
        // Linux names are case-sensitive: another spelling is another, missing, entry.
        QCOMPARE(longPathOf(tmp.path() + "/mixed case/.hidden"), QString());
        // A missing middle directory fails even though ".." would step over it.
        QCOMPARE(longPathOf(tmp.path() + "/Missing/../Mixed Case"), QString());
        QCOMPARE(longPathOf(tmp.path() + "/Mixed Case/nothing/Paper.tex"), QString());
        QCOMPARE(longPathOf("relative/path"), QString());
        QCOMPARE(longPathOf(""), QString());
        QCOMPARE(longPathOf("/"), QString("/"));
        // A dangling link is a missing component.
        QVERIFY(QFile::link(tmp.filePath("gone"), tmp.filePath("dangling")));
        QCOMPARE(longPathOf(tmp.filePath("dangling")), QString());
    }

    void quoting_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("quoted");
        QTest::newRow("plain") << "/docs/paper.tex" << false;
        QTest::newRow("blank") << "/My Files/a.tex" << true;
        QTest::newRow("double quote") << "/docs/say\"hi\".tex" << true;
        QTest::newRow("quote first") << "\"x y" << true;
        QTest::newRow("only a quote") << "\"" << true;
        QTest::newRow("two quotes in a row") << "/a\"\"b.tex" << true;
        QTest::newRow("semicolon") << "/docs/a;rm -rf ~.tex" << true;
        QTest::newRow("command substitution") << "/docs/$(touch x).tex" << true;
        QTest::newRow("backquotes") << "/docs/`id` name.tex" << true;
        QTest::newRow("newline") << "/docs/a\nb.tex" << true;
        QTest::newRow("tab") << "/docs/a\tb.tex" << true;
        QTest::newRow("dollar without blank") << "/docs/$HOME.tex" << false;
    }
    void quoting() {
        QFETCH(QString, path);
        QFETCH(bool, quoted);
        const QString arg = quoteForCommandLine(path);
        QCOMPARE(arg.startsWith('"') && arg.endsWith('"') && arg != path, quoted);
        // The composed line splits back into the exact path, with its neighbours intact.
        const QStringList split =
            QProcess::splitCommand(QStringLiteral("prog ") + arg + QStringLiteral(" next"));
        QCOMPARE(split, (QStringList{"prog", path, "next"}));
    }

    void textCopy_data() {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("CR LF becomes LF") << QByteArray("x\r\n\ny") << QByteArray("x\n\ny");
        QTest::newRow("leading line feed stays") << QByteArray("\nx") << QByteArray("\nx");
        QTest::newRow("lone CR stays") << QByteArray("a\rb\r\n") << QByteArray("a\rb\n");
        QTest::newRow("empty") << QByteArray() << QByteArray();
        QByteArray limit(60000 - 2, 'a');
        limit += "\r\n";
        QByteArray limitOut = limit;
        limitOut.replace("\r\n", "\n");
        QTest::newRow("60000 bytes converted") << limit << limitOut;
        QByteArray over(60001 - 2, 'a');
        over += "\r\n";
        QTest::newRow("60001 bytes unchanged") << over << over;
    }
    void textCopy() {
        QFETCH(QByteArray, source);
        QFETCH(QByteArray, expected);
        QTemporaryDir tmp;
        writeFile(tmp.filePath("in.txt"), source);
        writeFile(tmp.filePath("out.txt"), "old content that is longer than some sources");
        QVERIFY(copyTextFile(tmp.filePath("in.txt"), tmp.filePath("out.txt")));
        QCOMPARE(test::readAll(tmp.filePath("out.txt")), expected);
        QCOMPARE(test::readAll(tmp.filePath("in.txt")), source);
        // Nothing else is left behind in the directory.
        QCOMPARE(QDir(tmp.path()).entryList(QDir::Files).size(), 2);
    }

    void textCopyFailures() {
        QTemporaryDir tmp;
        QVERIFY(!copyTextFile(tmp.filePath("missing.txt"), tmp.filePath("out.txt")));
        QVERIFY(!QFile::exists(tmp.filePath("out.txt")));
        writeFile(tmp.filePath("in.txt"), "a\r\n");
        QVERIFY(!copyTextFile(tmp.filePath("in.txt"), tmp.filePath("no/such/dir/out.txt")));
    }

    void fileCopy() {
        QTemporaryDir tmp;
        QByteArray bytes;
        for (int i = 0; i < 200000; ++i)
            bytes.append(char(i % 251));
        writeFile(tmp.filePath("src.bin"), bytes);
        writeFile(tmp.filePath("dst.bin"), "old");
        QString error;
        QVERIFY(copyFileAtomically(tmp.filePath("src.bin"), tmp.filePath("dst.bin"),
                                   Durability::WaitForDisk, &error));
        QCOMPARE(test::readAll(tmp.filePath("dst.bin")), bytes);
        // Onto itself: unchanged.
        QVERIFY(copyFileAtomically(tmp.filePath("src.bin"), tmp.filePath("src.bin"),
                                   Durability::WaitForDisk));
        QCOMPARE(test::readAll(tmp.filePath("src.bin")), bytes);
        // Failures keep the destination and say why.
        QVERIFY(!copyFileAtomically(tmp.filePath("none"), tmp.filePath("dst.bin"),
                                    Durability::WaitForDisk, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(test::readAll(tmp.filePath("dst.bin")), bytes);
        error.clear();
        QVERIFY(!copyFileAtomically(tmp.filePath("src.bin"), tmp.filePath("x/y/z.bin"),
                                    Durability::WaitForDisk, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!copyFileAtomically(tmp.path(), tmp.filePath("d.bin"), Durability::WaitForDisk,
                                    &error));
        QVERIFY(!QFile::exists(tmp.filePath("d.bin")));
    }

    void sourceExtension_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("cut");
        QTest::newRow("plain") << "/docs/paper.tex"
                               << ".tex"
                               << "/docs/paper";
        QTest::newRow("any case, case kept") << "/docs/Paper.TEX"
                                             << ".tex"
                                             << "/docs/Paper";
        QTest::newRow("first occurrence in the name") << "/d/my.tex.old.tex"
                                                      << ".tex"
                                                      << "/d/my";
        QTest::newRow("folder never cuts") << "/home/u/.texmf/notes.tex.d/a.tex"
                                           << ".tex"
                                           << "/home/u/.texmf/notes.tex.d/a";
        QTest::newRow("folder only") << "/home/u/notes.tex.d/readme"
                                     << ".tex"
                                     << "/home/u/notes.tex.d/readme";
        QTest::newRow("other extension") << "/d/a.txt"
                                         << ".txt"
                                         << "/d/a";
        QTest::newRow("bare name") << "a.tex"
                                   << ".tex"
                                   << "a";
        QTest::newRow("no extension") << "/d/a"
                                      << ".tex"
                                      << "/d/a";
        QTest::newRow("empty extension") << "/d/a.tex"
                                         << ""
                                         << "/d/a.tex";
    }
    void sourceExtension() {
        QFETCH(QString, path);
        QFETCH(QString, extension);
        QFETCH(QString, cut);
        QCOMPARE(withoutSourceExtension(path, extension), cut);
        const qsizetype at = sourceExtensionIndex(path, extension);
        QCOMPARE(at < 0, cut == path);
        if (at >= 0)
            QCOMPARE(at, cut.size());
    }

    void joining() {
        QCOMPARE(joinPath("/", "a"), QString("/a"));
        QCOMPARE(joinPath("/web", "a"), QString("/web/a"));
        QCOMPARE(joinPath("/web/", "a"), QString("/web/a"));
    }
};

MORVANE_TEST_GUILESS_MAIN(TestPathUtils)
#include "tst_pathutils.moc"
