#include "fixupfixture.h"
#include "fixups/graphicsfixup.h"
#include "fixups/workingcopyfiles.h"
#include "platform/pathutils.h"
#include "settings/controlnames.h"
#include "support/testmain.h"

#include <QTest>

using namespace morvane;
using morvane::test::FixupFixture;

namespace {

// The user's file lies in home/u/docs; the working copy is out/temp.tex, so
// that a document named like the old fixed temporary file is covered too.
struct GraphicsFixture : FixupFixture {
    GraphicsFixture() {
        model.setText(ctl::cmbTeX, write("home/u/docs/p.tex", "user's own"));
        QDir().mkpath(path("out"));
    }
    bool run(const QByteArray& document, KwzTexExtBlock block = KwzTexExtBlock::Omit) {
        write("out/temp.tex", document);
        return fixGraphics(conv, path("out"), path("out/temp.tex"), block);
    }
    QStringList outputFiles() const {
        return QDir(path("out")).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
};

const QByteArray kwzTexBlock = "\n\n\\typeout{Reading post-config-file macros...}\n"
                               "\\makeatletter\n\\@ifundefined{KWZTeXExt}{}\n"
                               "   {\\typeout{Setting KWZTeXExt to tex...}\n"
                               "   \\def\\KWZTeXExt{tex}}\n\\makeatother\n";

} // namespace

class TestGraphicsFixup : public QObject {
    Q_OBJECT
private slots:
    void pictureReferences_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<QString>("picture"); // copied into out/ from this file, or empty
        QTest::newRow("options and a folder")
            << QByteArray("\\includegraphics[width=3in]{figs/plot.eps}")
            << QByteArray("\\includegraphics[width=3in]{plot.eps}") << "home/u/docs/figs/plot.eps";
        QTest::newRow("starred, arguments on two lines")
            << QByteArray("\\includegraphics*[width=1in,\r\n height=2in] {figs/plot.eps} x")
            << QByteArray("\\includegraphics*[width=1in,\r\n height=2in] {plot.eps} x")
            << "home/u/docs/figs/plot.eps";
        QTest::newRow("parent folder")
            << QByteArray("\\includegraphics{../pics/x.png}")
            << QByteArray("\\includegraphics{x.png}") << "home/u/pics/x.png";
        QTest::newRow("two folders up") << QByteArray("\\includegraphics{../../x.png}")
                                        << QByteArray("\\includegraphics{x.png}") << "home/x.png";
        QTest::newRow("absolute path") // "@" stands for the test's folder
            << QByteArray("\\includegraphics{@/home/x.png}")
            << QByteArray("\\includegraphics{x.png}") << "home/x.png";
        QTest::newRow("colon is an ordinary character")
            << QByteArray("\\includegraphics{c:figs/plot.eps}")
            << QByteArray("\\includegraphics{plot.eps}") << "home/u/docs/c:figs/plot.eps";
        QTest::newRow("name without its extension: every candidate")
            << QByteArray("\\includegraphics{figs/plot}") << QByteArray("\\includegraphics{plot}")
            << "home/u/docs/figs/plot.eps";
        QTest::newRow("missing picture is still shortened")
            << QByteArray("\\includegraphics{figs/none.png}")
            << QByteArray("\\includegraphics{none.png}") << "";
        QTest::newRow("unreadable picture is still shortened")
            << QByteArray("\\includegraphics{figs/dir.png}")
            << QByteArray("\\includegraphics{dir.png}") << "";
        QTest::newRow("let names no picture")
            << QByteArray("\\let\\oldig\\includegraphics\n\\x{a/b}")
            << QByteArray("\\let\\oldig\\includegraphics\n\\x{a/b}") << "";
        QTest::newRow("renewcommand names no picture")
            << QByteArray("\\renewcommand{\\includegraphics}[1]{a/b}")
            << QByteArray("\\renewcommand{\\includegraphics}[1]{a/b}") << "";
        QTest::newRow("name built by a macro")
            << QByteArray("\\includegraphics{\\dir/a.png}")
            << QByteArray("\\includegraphics{\\dir/a.png}") << "";
        QTest::newRow("brace never comes")
            << QByteArray("\\includegraphics{figs/plot.eps\nmore")
            << QByteArray("\\includegraphics{figs/plot.eps\nmore") << "";
        QTest::newRow("frame over three lines")
            << QByteArray(
                   "%TCIMACRO{\\FRAME{ftbpF}{3in}{2in}{0pt}{}{}{plot.eps}{\\special{l \"S\";\r\n"
                   "%type \"GRAPHIC\";filename 'figs\\plot.eps';\r\n%file \"X\";}}}%")
            << QByteArray(
                   "%TCIMACRO{\\FRAME{ftbpF}{3in}{2in}{0pt}{}{}{plot.eps}{\\special{l \"S\";\r\n"
                   "%type \"GRAPHIC\";filename 'plot.eps';\r\n%file \"X\";}}}%")
            << "home/u/docs/figs/plot.eps";
        QTest::newRow("picture inside a frame")
            << QByteArray("a \\frame{\\includegraphics[width=1in]{figs/plot.eps}}")
            << QByteArray("a \n\n\\frame{\\includegraphics[width=1in]{plot.eps}}")
            << "home/u/docs/figs/plot.eps";
        QTest::newRow("frame never ends")
            << QByteArray("%TCIMACRO{\\FRAME{f}{\\special{filename 'figs/plot.eps';\nrest")
            << QByteArray("%TCIMACRO{\\FRAME{f}{\\special{filename 'figs/plot.eps';\nrest") << "";
    }
    void pictureReferences() {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, expected);
        QFETCH(QString, picture);
        GraphicsFixture f;
        for (const char* file : {"home/u/docs/figs/plot.eps", "home/u/pics/x.png", "home/x.png",
                                 "home/u/docs/c:figs/plot.eps"})
            f.write(file, QByteArray(file));
        QDir().mkpath(f.path("home/u/docs/figs/dir.png"));
        const QByteArray head = "\\documentclass{article}\r\n";
        const QByteArray tail = "\nend \xff\r\n";
        body.replace('@', QFile::encodeName(f.dir.path()));
        QVERIFY(f.run(head + body + tail));
        QCOMPARE(f.read("out/temp.tex"), head + expected + tail);
        QStringList files{"temp.tex"};
        if (!picture.isEmpty()) {
            files.append(fileNameOf(picture));
            files.sort();
            QCOMPARE(f.read("out/" + fileNameOf(picture)), picture.toUtf8());
        }
        QCOMPARE(f.outputFiles(), files); // no temporary left behind
        QCOMPARE(f.read("home/u/docs/p.tex"), QByteArray("user's own"));
    }

    void kwzTexBlockOnTheTex4htRouteOnly() {
        GraphicsFixture f;
        const QByteArray document = "\\documentclass{article}\n%\\begin{document}\n"
                                    "\\begin{document}\nx\n";
        QVERIFY(f.run(document, KwzTexExtBlock::Omit));
        QCOMPARE(f.read("out/temp.tex"), document);
        QVERIFY(!CheckforKwzTex(f.path("out/temp.tex")));

        const QByteArray expected = "\\documentclass{article}\n%\\begin{document}\n" + kwzTexBlock +
                                    "\\begin{document}\nx\n";
        QVERIFY(f.run(document, KwzTexExtBlock::Add));
        QCOMPARE(f.read("out/temp.tex"), expected);
        QVERIFY(CheckforKwzTex(f.path("out/temp.tex")));
        // A repeated conversion of the same working copy adds it no more.
        QVERIFY(fixGraphics(f.conv, f.path("out"), f.path("out/temp.tex"), KwzTexExtBlock::Add));
        QCOMPARE(f.read("out/temp.tex"), expected);
        // A block written with CR LF counts as there.
        QByteArray crlf = expected;
        crlf.replace("\n", "\r\n");
        f.write("out/crlf.tex", crlf);
        QVERIFY(CheckforKwzTex(f.path("out/crlf.tex")));
    }

    void frameLines_data() {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<bool>("rawFrame");
        QTest::newRow("frames get a line of their own")
            << QByteArray("a \\frame{x}\r\n\\FRAME{y} b \\frame{z}")
            << QByteArray("a \n\n\\frame{x}\r\n\\FRAME{y} b \n\n\\frame{z}") << true;
        QTest::newRow("frame at the very start")
            << QByteArray("\\frame{x}\n") << QByteArray("\\frame{x}\n") << true;
        QTest::newRow("Scientific WorkPlace frames")
            << QByteArray("%TCIMACRO{\\frame{x}} a \\frame{y}")
            << QByteArray("%TCIMACRO{\\frame{x}} a \\frame{y}") << false;
        QTest::newRow("no frame") << QByteArray("a frame{x}") << QByteArray("a frame{x}") << false;
    }
    void frameLines() {
        QFETCH(QByteArray, document);
        QFETCH(QByteArray, expected);
        QFETCH(bool, rawFrame);
        GraphicsFixture f;
        f.write("out/temp.tex", document);
        splitFrameLines(f.conv, f.path("out/temp.tex"));
        QCOMPARE(f.read("out/temp.tex"), expected);
        QCOMPARE(f.conv.rawFrame, rawFrame);
    }

    void theUsersFileIsNeverWritten() {
        GraphicsFixture f;
        const QByteArray document = "\\frame{x}\nb \\frame{y}\n\\includegraphics{figs/a.png}\n";
        f.write("home/u/docs/p.tex", document);
        QVERIFY(
            fixGraphics(f.conv, f.path("out"), f.path("home/u/docs/p.tex"), KwzTexExtBlock::Add));
        QCOMPARE(f.read("home/u/docs/p.tex"), document);
        QVERIFY(f.conv.rawFrame);
        QVERIFY(!fixGraphics(f.conv, f.path("out"), f.path("out/none.tex"), KwzTexExtBlock::Add));
    }

    void classFile_data() {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<bool>("copied");
        QTest::newRow("class line") << QByteArray("  \\documentclass[a4]{mycls}\n") << true;
        QTest::newRow("options over two lines")
            << QByteArray("\\documentclass[a4paper,\r\n12pt]{mycls}\n") << true;
        QTest::newRow("commented class line")
            << QByteArray("%\\documentclass{mycls}\n\\documentclass{article}\n") << false;
        QTest::newRow("past line 500") << QByteArray(500, '\n') + "\\documentclass{mycls}\n"
                                       << false;
    }
    void classFile() {
        QFETCH(QByteArray, document);
        QFETCH(bool, copied);
        FixupFixture f;
        f.write("src/mycls.cls", "class");
        f.write("out/doc.tex", document);
        copyClassFile(f.path("src"), f.path("out/doc.tex"));
        QCOMPARE(f.exists("out/mycls.cls"), copied);
        // A working copy beside its class file leaves the class alone.
        f.write("src/doc.tex", document);
        copyClassFile(f.path("src"), f.path("src/doc.tex"));
        QCOMPARE(f.read("src/mycls.cls"), QByteArray("class"));
    }

    void mydocFiles() {
        FixupFixture f;
        QDir().mkpath(f.path("out"));
        QVERIFY(copyMydocFiles(f.path("src"), f.path("out"))); // none there
        f.write("src/mydoc.cfg", "cfg");
        f.write("src/mydoc.4ht", "4ht");
        f.write("src/MyDoc.cfg", "other case");
        QVERIFY(copyMydocFiles(f.path("src"), f.path("out")));
        QCOMPARE(QDir(f.path("out")).entryList(QDir::Files),
                 QStringList({"mydoc.4ht", "mydoc.cfg"}));
        QVERIFY(copyMydocFiles(f.path("src"), f.path("src")));
        QCOMPARE(f.read("src/mydoc.cfg"), QByteArray("cfg"));
        QVERIFY(!copyMydocFiles(f.path("src"), f.path("missing")));
    }
};

MORVANE_TEST_MAIN(TestGraphicsFixup)
#include "tst_graphicsfixup.moc"
