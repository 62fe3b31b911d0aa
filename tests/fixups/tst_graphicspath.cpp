// The pictures a document reaches through \graphicspath, copied to the same
// relative places below the output folder (and beside the working copy for
// LaTeX2HTML), and the extension-less names of the graphics fix-up.

#include "fixupfixture.h"
#include "fixups/graphicsfixup.h"
#include "fixups/graphicspath.h"
#include "support/testhome.h"
#include "support/testmain.h"

#include <QDirIterator>
#include <QTest>

using namespace morvane;

namespace {

void write(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// Every file below `dir`, relative to it, sorted.
QStringList filesBelow(const QString& dir) {
    QStringList files;
    QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next().mid(dir.size() + 1));
    files.sort();
    return files;
}

} // namespace

class TestGraphicsPath : public QObject {
    Q_OBJECT
private slots:
    void foldersOfTheCommand_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("folders");
        QTest::newRow("one folder")
            << QByteArray("\\graphicspath{{figs/}}\n") << QStringList{"figs/"};
        QTest::newRow("several, blanks and two commands")
            << QByteArray("\\graphicspath{ {a/} {b c/}}\n\\graphicspath {{d/}}")
            << QStringList{"a/", "b c/", "d/"};
        QTest::newRow("commented out")
            << QByteArray("% \\graphicspath{{a/}}\nx % {b/}\n") << QStringList{};
        QTest::newRow("escaped percent is no comment")
            << QByteArray("50\\% \\graphicspath{{a/}}") << QStringList{"a/"};
        QTest::newRow("spread over lines")
            << QByteArray("\\graphicspath{%\n  {a/}%\n  {b/}}") << QStringList{"a/", "b/"};
    }

    void foldersOfTheCommand() {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, folders);
        QCOMPARE(graphicsPathsOf(text), folders);
    }

    // The document names its pictures through the path of its class, of an
    // input file and of its own preamble; only what it names is copied, and
    // nothing out of its folder.
    void picturesAtTheirPaths_data() {
        QTest::addColumn<int>("copies");
        QTest::addColumn<QStringList>("expected");
        // pic.png lay beside the working copy before the run.
        const QStringList atPaths = {"Chapter1/Figs/crest.eps", "Chapter1/Figs/crest.pdf",
                                     "Figs/logo.png", "figs/sub/pic.png", "pic.png"};
        QTest::newRow("at their paths") << int(PictureCopies::AtTheirPaths) << atPaths;
        QTest::newRow("beside the working copy too")
            << int(PictureCopies::AlsoBeside)
            << atPaths + QStringList{"crest.eps", "crest.pdf", "logo.png"};
    }

    void picturesAtTheirPaths() {
        QFETCH(int, copies);
        QFETCH(QStringList, expected);
        QTemporaryDir work;
        const QString doc = work.filePath("doc");
        const QString out = work.filePath("out");
        QVERIFY(QDir().mkpath(out));
        write(doc + "/main.tex", "\\documentclass{thesis}\n\\graphicspath{{./figs/}{../up/}}\n"
                                 "\\input{chapters/one}\n\\includegraphics{sub/pic}\n"
                                 "\\includegraphics{logo} \\includegraphics{secret}\n");
        write(doc + "/chapters/one.tex", "\\graphicspath{{Chapter1/Figs/}{/abs/}}\n"
                                         "\\includegraphics[width=1cm]{crest}\n");
        write(doc + "/thesis.cls", "\\graphicspath{{Figs/}}\n");
        write(doc + "/figs/sub/pic.png", "png");
        write(doc + "/Figs/logo.png", "logo");
        write(doc + "/Chapter1/Figs/crest.eps", "eps");
        write(doc + "/Chapter1/Figs/crest.pdf", "pdf");
        write(doc + "/Chapter1/Figs/unused.png", "not named");
        write(work.filePath("up/secret.png"), "outside");
        // A namesake already beside the working copy stays.
        write(out + "/pic.png", "earlier");
        expected.sort();

        copyGraphicsPathPictures(doc + "/main.tex", out, PictureCopies(copies));
        QCOMPARE(filesBelow(out), expected);
        QCOMPARE(test::readAll(out + "/Chapter1/Figs/crest.eps"), QByteArray("eps"));
        QCOMPARE(test::readAll(out + "/pic.png"), QByteArray("earlier"));
    }

    // "\includegraphics{figs/plot}" becomes "plot" in the working copy: every
    // picture graphicx might pick for it must lie beside it.
    void fixUpCopiesEveryCandidateOfANameWithoutExtension() {
        test::FixupFixture f;
        QTemporaryDir work;
        const QString doc = work.filePath("doc");
        const QString out = work.filePath("out");
        QVERIFY(QDir().mkpath(out));
        write(doc + "/main.tex", "\\includegraphics{figs/plot}\n");
        write(doc + "/figs/plot.eps", "eps");
        write(doc + "/figs/plot.png", "png");
        write(doc + "/figs/plot.txt", "no picture");
        write(out + "/main.tex", "\\includegraphics{figs/plot}\n");
        f.model.setText(ctl::cmbTeX, doc + "/main.tex");
        Conversion conv(f.ctx, *routeForTab(f.ctx.routes, TabTex4ht), doc + "/main.tex");
        QVERIFY(fixGraphics(conv, out, out + "/main.tex", KwzTexExtBlock::Omit));
        QCOMPARE(test::readAll(out + "/main.tex"), QByteArray("\\includegraphics{plot}\n"));
        QCOMPARE(filesBelow(out), QStringList({"main.tex", "plot.eps", "plot.png"}));
    }
};

MORVANE_TEST_GUILESS_MAIN(TestGraphicsPath)
#include "tst_graphicspath.moc"
