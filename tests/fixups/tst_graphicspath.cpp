// The pictures a document reaches through \graphicspath, copied to the same
// relative places below the output folder (and beside the working copy for
// LaTeX2HTML).

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
    void foldersOfTheCommand() {
        QCOMPARE(graphicsPathsOf("\\graphicspath{ {a/} {b c/}}\n% \\graphicspath{{x/}}\n"
                                 "50\\% \\graphicspath {%\n {d/}}"),
                 QStringList({"a/", "b c/", "d/"}));
    }

    // The paths of the document's preamble, of an input file and of its
    // class; only the pictures it names, nothing from outside its folder,
    // and a namesake already beside the working copy stays.
    void picturesAtTheirPaths_data() {
        QTest::addColumn<int>("copies");
        QTest::addColumn<QStringList>("expected");
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
        write(doc + "/main.tex", "\\documentclass{thesis}\n\\graphicspath{{./figs/}{../up/}}\n"
                                 "\\input{chapters/one}\n\\includegraphics{sub/pic}\n"
                                 "\\includegraphics{logo} \\includegraphics{secret}\n");
        write(doc + "/chapters/one.tex", "\\graphicspath{{Chapter1/Figs/}{/abs/}}\n"
                                         "\\includegraphics[width=1cm]{crest}\n");
        write(doc + "/thesis.cls", "\\graphicspath{{Figs/}}\n");
        for (const char* picture : {"figs/sub/pic.png", "Figs/logo.png", "Chapter1/Figs/crest.eps",
                                    "Chapter1/Figs/crest.pdf", "Chapter1/Figs/unused.png"})
            write(doc + "/" + picture, picture);
        write(work.filePath("up/secret.png"), "outside");
        write(out + "/pic.png", "earlier");
        expected.sort();

        copyGraphicsPathPictures(doc + "/main.tex", out, PictureCopies(copies));
        QCOMPARE(filesBelow(out), expected);
        QCOMPARE(test::readAll(out + "/pic.png"), QByteArray("earlier"));
    }
};

MORVANE_TEST_GUILESS_MAIN(TestGraphicsPath)
#include "tst_graphicspath.moc"
