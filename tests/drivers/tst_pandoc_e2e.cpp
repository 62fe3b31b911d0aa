// The pandoc route with the real pandoc, in batch mode and through the
// Convert command: every format on LaTeX's sample2e, and real documents of
// the corpus as web pages.

#include "conversionrig.h"
#include "support/routetabs.h"
#include "support/testmain.h"

#include <QRegularExpression>
#include <QStandardPaths>

using namespace morvane;
using namespace morvane::test;

namespace {

// A home whose pandoc results go to `root`.
void setPandocRoot(const TestHome& home, const QString& root) {
    QVERIFY(QDir().mkpath(root));
    QFile ini(home.path() + "/Morvane.ini");
    QVERIFY(ini.open(QIODevice::Append));
    ini.write("\n[Pandoc]\nSaveTo=" + root.toUtf8() + "\n");
}

QByteArray unzipped(const QString& archive, const QString& member) {
    QProcess unzip;
    unzip.start("unzip", {"-p", archive, member});
    unzip.waitForFinished(30000);
    return unzip.readAllStandardOutput();
}

QStringList zipEntries(const QString& archive) {
    QProcess unzip;
    unzip.start("unzip", {"-Z1", archive});
    unzip.waitForFinished(30000);
    return QString::fromUtf8(unzip.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

// An EPUB as readers check it: "mimetype" first and stored as it is, and a
// package document whose manifest lists pages that the book holds.
void checkEpub(const QString& book) {
    const QByteArray head = readAll(book).left(58);
    QCOMPARE(head.mid(30, 8), QByteArray("mimetype"));
    QCOMPARE(head.mid(38, 20), QByteArray("application/epub+zip"));
    const QStringList entries = zipEntries(book);
    const QString package =
        entries.filter(QRegularExpression("\\.opf$")).value(0, QStringLiteral("none.opf"));
    const QString opf = QString::fromUtf8(unzipped(book, package));
    static const QRegularExpression page("href=\"([^\"]+\\.xhtml)\"");
    const QString base = package.contains('/') ? package.section('/', 0, -2) + '/' : QString();
    int pages = 0;
    for (auto it = page.globalMatch(opf); it.hasNext(); ++pages)
        QVERIFY2(entries.contains(base + it.next().captured(1)), qPrintable(opf));
    QVERIFY2(pages > 0, qPrintable(opf));
}

int count(const QByteArray& text, const char* what) {
    return int(text.count(what));
}

} // namespace

class TestPandocE2E : public QObject {
    Q_OBJECT

private slots:
    void init() {
        if (QStandardPaths::findExecutable("pandoc").isEmpty())
            QSKIP("pandoc is not installed");
    }

    void everyFormatOfSample2e_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("mainPart"); // the zip member an office program opens
        QTest::newRow("web page") << "pandoc"
                                  << "sample2e.html" << QString();
        QTest::newRow("e-book") << "pandoc-epub"
                                << "sample2e.epub" << QString();
        QTest::newRow("Word") << "pandoc-docx"
                              << "sample2e.docx"
                              << "word/document.xml";
        QTest::newRow("OpenDocument") << "pandoc-odt"
                                      << "sample2e.odt"
                                      << "content.xml";
    }
    void everyFormatOfSample2e() {
        QFETCH(QString, word);
        QFETCH(QString, result);
        QFETCH(QString, mainPart);
        QTemporaryDir dir;
        const QString work = dir.filePath("doc");
        QDir().mkpath(work);
        QVERIFY(QFile::copy(sample2e(), work + "/sample2e.tex"));
        const auto before = filesBelow(work, "");
        TestHome home;
        setPandocRoot(home, dir.filePath("out"));
        const BatchRun run = runBatch(home.path(), work, {"--convert=" + word, "sample2e.tex"});
        QVERIFY2(run.status == 0, run.err.constData());
        QCOMPARE(filesBelow(work, ""), before);
        const QString output = dir.filePath("out/sample2e/" + result);
        QVERIFY(QFileInfo(output).size() > 0);
        QVERIFY(QFileInfo::exists(dir.filePath("out/sample2e/sample2e.plog")));
        if (result.endsWith(".html")) {
            const QByteArray page = readAll(output);
            QCOMPARE(count(page, "<math"), 5); // sample2e's five formulas
            QCOMPARE(unresolvedReferences(dir.filePath("out")), QStringList());
        } else if (result.endsWith(".epub")) {
            checkEpub(output);
        } else {
            QVERIFY(zipEntries(output).contains(mainPart));
            // pandoc cuts the text into runs of a word each.
            QVERIFY(unzipped(output, mainPart).contains("Lamport<"));
        }
    }

    // Real documents: their own folders stay as they were, the pictures the
    // page shows lie in its folder, and citations come from their .bib.
    void corpusDocuments_data() {
        QTest::addColumn<QString>("document");
        QTest::addColumn<int>("pictures");
        QTest::addColumn<int>("bibliographyEntries");
        QTest::addColumn<int>("leastMath");
        QTest::addColumn<bool>("localLinks");
        QTest::newRow("a thesis: chapters in folders, \\graphicspath, BibTeX")
            << "thesis-kks32" << 4 << 6 << 3 << true;
        // Its \\href{/url} lines are the document's own links to a web server.
        QTest::newRow("pictures beside the document") << "pandoc-reader" << 2 << 0 << 1 << false;
        QTest::newRow("amsmath displays") << "amsmath-testmath" << 0 << 0 << 100 << true;
    }
    void corpusDocuments() {
        QFETCH(QString, document);
        QFETCH(int, pictures);
        QFETCH(int, bibliographyEntries);
        QFETCH(int, leastMath);
        QFETCH(bool, localLinks);
        QTemporaryDir dir;
        const QString work = dir.filePath(document);
        QVERIFY(copyTree(corpus(document), work));
        const auto before = filesBelow(work, "");
        TestHome home;
        setPandocRoot(home, dir.filePath("out"));
        const BatchRun run = runBatch(home.path(), work, {"--convert=pandoc", "main.tex"});
        QVERIFY2(run.status == 0 || run.status == 1, run.err.constData());
        QCOMPARE(filesBelow(work, ""), before);
        const QByteArray page = readAll(dir.filePath("out/main/main.html"));
        QCOMPARE(count(page, "<img "), pictures);
        QCOMPARE(unresolvedReferences(dir.filePath("out"), !localLinks), QStringList());
        QCOMPARE(count(page, "class=\"csl-entry\""), bibliographyEntries);
        QVERIFY2(count(page, "<math") >= leastMath,
                 qPrintable(QString::number(count(page, "<math"))));
    }

    // Through the Convert command: the result is shown, its log is remembered
    // and pandoc's warnings reach the error list with their lines.
    void convertCommandListsTheWarnings() {
        ConversionRig rig;
        QVERIFY(rig.loaded);
        QTemporaryDir dir;
        rig.ctx.settings.vars.pandocSaveTo = dir.filePath("out");
        QDir().mkpath(dir.filePath("out"));
        const QString doc = dir.filePath("cites.tex");
        writeText(doc, "\\documentclass{article}\n\\begin{document}\nSee \\cite{nobody}.\n"
                       "\\end{document}\n");
        LogEntries listed;
        rig.ctx.seams.showLogEntries = [&listed](const LogEntries& e) { listed = e; };
        rig.convert(builtInTab("pandoc"), doc);
        QCOMPARE(rig.ctx.expectedOutput, dir.filePath("out/cites/cites.html"));
        QVERIFY(QFileInfo::exists(rig.ctx.expectedOutput));
        QVERIFY(rig.logMarked());
        QCOMPARE(listed.size(), 1);
        QCOMPARE(listed.first().message, QStringLiteral("Citeproc: citation nobody not found"));
        QCOMPARE(listed.first().file, doc);
    }
};

MORVANE_TEST_GUILESS_MAIN(TestPandocE2E)
#include "tst_pandoc_e2e.moc"
