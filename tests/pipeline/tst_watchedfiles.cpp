// Which files a watched document reads: its input lines, followed into the
// files they name, and LaTeX's recorder file.

#include "pipeline/watchedfiles.h"
#include "support/testmain.h"

#include <QTemporaryDir>
#include <QTest>

using namespace morvane;

Q_DECLARE_METATYPE(QList<NamedInput>)

namespace {

QString write(const QTemporaryDir& dir, const QString& name, const QByteArray& text = "x") {
    const QString path = dir.filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text);
    return path;
}

} // namespace

class TestWatchedFiles : public QObject {
    Q_OBJECT
private slots:
    void namedInputs_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QList<NamedInput>>("expected");
        using L = QList<NamedInput>;
        QTest::newRow("braced forms in order")
            << QByteArray("\\input{a}\\include{ch/b} \\includegraphics[width=3cm]{fig}\n")
            << L{{"a", false}, {"ch/b", false}, {"fig", true}};
        QTest::newRow("plain TeX input")
            << QByteArray("\\input tcilatex\n") << L{{"tcilatex", false}};
        QTest::newRow("commented line and trailing comment")
            << QByteArray("%\\input{no}\n\\input{yes} % \\input{no2}\n") << L{{"yes", false}};
        QTest::newRow("escaped percent is no comment")
            << QByteArray("50\\% \\input{after}\n") << L{{"after", false}};
        QTest::newRow("starred graphics with two options")
            << QByteArray("\\includegraphics*[a][b]{pic.png}\n") << L{{"pic.png", true}};
        QTest::newRow("macro parameter is no file")
            << QByteArray("\\newcommand\\fig[1]{\\includegraphics{#1}}\n") << L{};
        QTest::newRow("similar commands are not inputs")
            << QByteArray("\\inputencoding{utf8}\\includeonly{a}\n") << L{};
        QTest::newRow("CRLF lines")
            << QByteArray("\\input{a}\r\n\\input{b}\r\n") << L{{"a", false}, {"b", false}};
    }

    void namedInputs() {
        QFETCH(QByteArray, text);
        QFETCH(QList<NamedInput>, expected);
        const QList<NamedInput> found = namedInputsOf(text);
        QCOMPARE(found.size(), expected.size());
        for (qsizetype i = 0; i < found.size(); ++i) {
            QCOMPARE(found.at(i).name, expected.at(i).name);
            QCOMPARE(found.at(i).graphics, expected.at(i).graphics);
        }
    }

    void recordedInputs() {
        const QByteArray fls = "PWD /w/doc\n"
                               "INPUT /usr/share/texlive/article.cls\n"
                               "INPUT paper.tex\r\n"
                               "OUTPUT paper.log\n"
                               "INPUT ./paper.aux\n"
                               "OUTPUT paper.aux\n"
                               "INPUT sub/intro.tex\n"
                               "INPUT paper.tex\n";
        QCOMPARE(recordedInputsOf(fls), (QStringList{"/usr/share/texlive/article.cls",
                                                     "/w/doc/paper.tex", "/w/doc/sub/intro.tex"}));
    }

    // The inputs are followed into the files they name, pictures are found
    // with the graphics package's extensions, missing names are passed over
    // and a file that inputs itself ends the search.
    void followsInputs() {
        QTemporaryDir dir;
        const QString main = write(dir, "paper.tex",
                                   "\\input{ch/one}\n\\includegraphics{plot}\n\\input{gone}\n"
                                   "\\input paper\n");
        const QString one = write(dir, "ch/one.tex", "\\include{ch/two}\n");
        const QString two = write(dir, "ch/two.tex", "\\input{ch/one}\n");
        const QString plot = write(dir, "plot.png");
        QCOMPARE(watchedFilesOf(main), (QStringList{main, one, two, plot}));
    }

    // The recorder file adds what the lines do not show; TeX's own files and
    // the copies in a route's output folder stand for nothing or for the
    // originals beside the document.
    void recorderFile() {
        QTemporaryDir dir;
        const QString main = write(dir, "doc/paper.tex", "no inputs here\n");
        const QString macros = write(dir, "doc/macros.sty");
        write(dir, "out/paper.tex");
        write(dir, "out/macros.sty");
        write(dir, "out/only-here.tex");
        const QString fls = write(dir, "out/paper.fls",
                                  "PWD " + dir.filePath("out").toUtf8() +
                                      "\nINPUT /usr/share/texlive/article.cls\n"
                                      "INPUT paper.tex\nINPUT macros.sty\nINPUT only-here.tex\n"
                                      "INPUT paper.aux\nOUTPUT paper.aux\n");
        QCOMPARE(watchedFilesOf(main, fls, dir.filePath("out")), (QStringList{main, macros}));
        // Without an output folder the copies are outside the document's folder.
        QCOMPARE(watchedFilesOf(main, fls), QStringList{main});
    }
};

MORVANE_TEST_MAIN(TestWatchedFiles)
#include "tst_watchedfiles.moc"
