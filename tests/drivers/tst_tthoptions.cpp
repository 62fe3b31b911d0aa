// The TtH driver's composers and rules: options, the @hour block that Revise
// removes, and the driver's command line, stale log and log header with a
// recording launcher.

#include "drivers/tth.h"
#include "settings/optionsmodel.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace morvane;

namespace {

// Lines "line 0".."line n-1", each ended by `end`.
QByteArray numberedLines(int from, int to, const QByteArray& end) {
    QByteArray text;
    for (int i = from; i < to; ++i)
        text += "line " + QByteArray::number(i) + end;
    return text;
}

QByteArray hourPage(const QByteArray& end, int blankLines, int linesAfterTitle) {
    QByteArray page = "<html>" + end + "<head>" + end + "<title>@hour</title>" + end;
    for (int i = 0; i < blankLines - 1; ++i)
        page += end;
    page += "@hour@minute1060" + end;
    page += numberedLines(0, linesAfterTitle - blankLines, end);
    return page;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

class TestTthOptions : public QObject {
    Q_OBJECT
private slots:
    void options_data() {
        QTest::addColumn<QStringList>("ticked");
        QTest::addColumn<QString>("expected");
        QTest::newRow("none") << QStringList{} << "";
        QTest::newRow("italics") << QStringList{"chkItalics"} << "-i";
        QTest::newRow("inline graphics") << QStringList{"chkInline"} << " -e2";
        QTest::newRow("number only keeps its leading blank") << QStringList{"chkNumber"} << " -n";
        QTest::newRow("inline and number") << QStringList{"chkInline", "chkNumber"} << " -e2 -n";
        QTest::newRow("all three")
            << QStringList{"chkNumber", "chkItalics", "chkInline"} << "-i -e2 -n";
        QTest::newRow("italics and number") << QStringList{"chkItalics", "chkNumber"} << "-i -n";
        QTest::newRow("revise is no option") << QStringList{"chkRevise"} << "";
    }
    void options() {
        QFETCH(QStringList, ticked);
        QFETCH(QString, expected);
        OptionsModel model;
        for (const QString& box : ticked)
            model.setChecked(box, true);
        QCOMPARE(tthOptions(model), expected);
    }

    void hourBlockDetection_data() {
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<bool>("found");
        QTest::newRow("one LF") << hourPage("\n", 1, 30) << true;
        QTest::newRow("two LF") << hourPage("\n", 2, 30) << true;
        QTest::newRow("one CR LF") << hourPage("\r\n", 1, 30) << true;
        QTest::newRow("two CR LF") << hourPage("\r\n", 2, 30) << true;
        QTest::newRow("three line ends") << hourPage("\n", 3, 30) << false;
        QTest::newRow("no line end")
            << QByteArray("<title>@hour</title>@hour@minute1060\n") << false;
        QTest::newRow("blank before the marker")
            << QByteArray("<title>@hour</title>\n @hour@minute1060\n") << false;
        QTest::newRow("other marker")
            << QByteArray("<title>@hour</title>\n@hour@minute10\n") << false;
        QTest::newRow("ordinary page")
            << QByteArray("<html><title>Paper</title>\n<body>x</body></html>\n") << false;
        QTest::newRow("title case differs")
            << QByteArray("<TITLE>@hour</TITLE>\n@hour@minute1060\n") << false;
        QTest::newRow("block within the first 1000 bytes")
            << QByteArray(1000 - 37, ' ') + "<title>@hour</title>\n@hour@minute1060\n"
            << true;
        QTest::newRow("block past the first 1000 bytes")
            << QByteArray(1000 - 36, ' ') + "<title>@hour</title>\n@hour@minute1060\n"
            << false;
        QTest::newRow("second title holds the block")
            << QByteArray("<title>@hour</title> x\n<title>@hour</title>\n\n@hour@minute1060\n")
            << true;
    }
    void hourBlockDetection() {
        QFETCH(QByteArray, start);
        QFETCH(bool, found);
        QCOMPARE(hasHourBlock(start), found);
    }

    void blockRemoval_data() {
        QTest::addColumn<QByteArray>("end");
        QTest::newRow("LF") << QByteArray("\n");
        QTest::newRow("CR LF") << QByteArray("\r\n");
    }
    void blockRemoval() {
        QFETCH(QByteArray, end);
        const QByteArray before = "<html>" + end + "<head>" + end;
        QByteArray block = "<title>@hour</title>" + end + "@hour@minute1060" + end;
        block += numberedLines(0, 20, end); // 22 lines in all
        const QByteArray after = "<title>Kept</title>" + end + "</head>" + end + "last";
        QCOMPARE(withoutHourBlock(before + block + after), before + after);
    }

    void blockAtTheEndOfThePage() {
        const QByteArray page = "<p>\n<title>@hour</title>\n@hour@minute1060\nline\n";
        QCOMPARE(withoutHourBlock(page), QByteArray("<p>\n"));
    }

    void exactlyTwentyTwoLinesGo() {
        QByteArray page = "<title>@hour</title>\n" + numberedLines(1, 40, "\n");
        // Line 22 (counting the title as line 0) is the first one kept.
        QCOMPARE(withoutHourBlock(page), numberedLines(22, 40, "\n"));
    }

    void reviseRewritesOnlyPagesWithTheBlock() {
        QTemporaryDir dir;
        const QString page = dir.filePath("paper.htm");
        const QByteArray head = "<html>\r\n";
        const QByteArray block =
            hourPage("\r\n", 2, 21).mid(QByteArray("<html>\r\n<head>\r\n").size());
        const QByteArray rest = "<body>kept</body>\r\n</html>\r\n";
        writeFile(page, head + "<head>\r\n" + block + rest);
        Revise(page);
        QCOMPARE(readFile(page), head + "<head>\r\n" + rest);
        QVERIFY(!QFile::exists(dir.filePath("temp.htm")));

        // A page without the block is left alone, byte for byte and unwritten.
        const QString plain = dir.filePath("plain.htm");
        const QByteArray plainText = "<html><title>@hour</title> no marker\n</html>\n";
        writeFile(plain, plainText);
        QFile::setPermissions(plain, QFile::ReadOwner);
        Revise(plain);
        QCOMPARE(readFile(plain), plainText);

        // A missing page is no error.
        Revise(dir.filePath("missing.htm"));
        QVERIFY(!QFile::exists(dir.filePath("missing.htm")));
    }

    void reviseKeepsAUserTempFile() {
        QTemporaryDir dir;
        writeFile(dir.filePath("temp.htm"), "the user's own temp.htm");
        const QString page = dir.filePath("a.htm");
        writeFile(page, hourPage("\n", 1, 25));
        Revise(page);
        QCOMPARE(readFile(page), "<html>\n<head>\n" + numberedLines(20, 24, "\n"));
        QCOMPARE(readFile(dir.filePath("temp.htm")), QByteArray("the user's own temp.htm"));
    }
};

QTEST_GUILESS_MAIN(TestTthOptions)
#include "tst_tthoptions.moc"
