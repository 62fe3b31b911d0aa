// The TtH driver's composers and rules: options, the @hour block that Revise
// removes, and the driver's command line, stale log and log header with a
// recording launcher.

#include "conversionrig.h"
#include "drivers/tth.h"
#include "settings/controlnames.h"
#include "support/controlbyname.h"
#include "support/doubles.h"
#include "support/testmain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace morvane;
using namespace morvane::test;

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
            model.setChecked(test::control(box), true);
        QCOMPARE(tthOptions(TthOptions::from(model)), expected);
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
        QTest::newRow("block within the first 4000 bytes")
            << QByteArray(4000 - 37, ' ') + "<title>@hour</title>\n@hour@minute1060\n"
            << true;
        QTest::newRow("block past the first 4000 bytes")
            << QByteArray(4000 - 36, ' ') + "<title>@hour</title>\n@hour@minute1060\n"
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

    void logRule_data() {
        QTest::addColumn<QByteArray>("messages");
        QTest::addColumn<bool>("errors");
        const QByteArray routine = "Including LaTeX commands\n"
                                   "No auxiliary LaTeX file found: a-rather-long-file-name.aux\n"
                                   "HTML Title constructed as:A title that runs on for a while\n"
                                   "Number of lines processed approximately 12345\n";
        const QByteArray index = "Opened index file: idx.tid\n"
                                 "Closing index file and processing ...\n"
                                 "This is makeindex, version 2.16 [TeX Live 2022].\n"
                                 "Scanning style file ./idx.tms.done (1 attributes redefined, "
                                 "0 ignored).\n"
                                 "Scanning input file idx.tid....done (1 entries accepted, 0 "
                                 "rejected).\n"
                                 "Sorting entries...done (0 comparisons).\n"
                                 "Generating output file idx.tin....done (5 lines written, 0 "
                                 "warnings).\n"
                                 "Output written in idx.tin.\n"
                                 "Transcript written in idx.ilg.\n";
        QTest::newRow("nothing") << QByteArray() << false;
        QTest::newRow("routine progress only") << routine << false;
        QTest::newRow("routine progress with CR LF")
            << QByteArray(routine).replace("\n", "\r\n") << false;
        QTest::newRow("makeindex without problems") << routine + index << false;
        QTest::newRow("unknown command")
            << routine + "**** Unknown command \\foo, (0 user-defined) Line 1\n"
            << true;
        QTest::newRow("unresolved references")
            << routine + "Unknown Latex \\ref:sec:more\nNo bibcite for knuth\n"
                         "Unknown bibitem knuth\n"
            << true;
        QTest::newRow("makeindex rejected an entry")
            << QByteArray(index).replace("0 rejected", "1 rejected") << true;
        QTest::newRow("makeindex warned")
            << QByteArray(index).replace("0 warnings", "2 warnings") << true;
        QTest::newRow("blank lines") << routine + "\n  \n\r\n" << false;
        QTest::newRow("short unknown command")
            << routine + "**** Unknown command \\@, (1 user-defined) Line 78\n"
            << true;
        QTest::newRow("one short line without a line end") << routine + "x" << true;
        QTest::newRow("routine words inside another line")
            << "**** Error: Number of lines processed approximately 3\n" + routine << true;
    }
    void logRule() {
        QFETCH(QByteArray, messages);
        QFETCH(bool, errors);
        QCOMPARE(tthLogHasErrors(messages), errors);
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
        writeText(page, head + "<head>\r\n" + block + rest);
        Revise(page);
        QCOMPARE(readFile(page), head + "<head>\r\n" + rest);
        QVERIFY(!QFile::exists(dir.filePath("temp.htm")));

        // A page without the block is left alone, byte for byte and unwritten.
        const QString plain = dir.filePath("plain.htm");
        const QByteArray plainText = "<html><title>@hour</title> no marker\n</html>\n";
        writeText(plain, plainText);
        QFile::setPermissions(plain, QFile::ReadOwner);
        Revise(plain);
        QCOMPARE(readFile(plain), plainText);

        // A missing page is no error.
        Revise(dir.filePath("missing.htm"));
        QVERIFY(!QFile::exists(dir.filePath("missing.htm")));
    }

    void reviseKeepsAUserTempFile() {
        QTemporaryDir dir;
        writeText(dir.filePath("temp.htm"), "the user's own temp.htm");
        const QString page = dir.filePath("a.htm");
        writeText(page, hourPage("\n", 1, 25));
        Revise(page);
        QCOMPARE(readFile(page), "<html>\n<head>\n" + numberedLines(20, 24, "\n"));
        QCOMPARE(readFile(dir.filePath("temp.htm")), QByteArray("the user's own temp.htm"));
    }
    void driverCommandLineAndStaleLog() {
        QTemporaryDir work;
        const QString dir = work.filePath("my docs");
        QVERIFY(QDir().mkpath(dir));
        const QString source = dir + "/Paper.tex";
        QVERIFY(QFile::copy(dataDir() + "/macro.tex", source));
        writeText(dir + "/Paper.tlog", "Tth log file for an earlier run\n\nold messages\n");
        ConversionRig rig;
        RecordingLauncher launcher; // nothing starts: TtH leaves no log
        rig.ctx.seams.launcher = &launcher;
        rig.model.setCheckValue(ctl::chkNumber, 1);
        rig.convert(TabTth, source);

        QCOMPARE(launcher.starts.size(), 1);
        QCOMPARE(QProcess::splitCommand(launcher.starts.at(0).commandLine),
                 (QStringList{rig.home.path() + "/convert.sh", "tth", dir + "/Paper"}));
        QCOMPARE(launcher.starts.at(0).workingDirectory, dir + "/");
        QCOMPARE(logOf(rig.ctx.logs, "tth"), dir + "/Paper.tlog");
        // The stale log is gone, so View Log has nothing to show.
        QVERIFY(!QFile::exists(dir + "/Paper.tlog"));
        QVERIFY(!rig.model.isEnabled(ctl::cmdLog));
        QVERIFY(!QFile::exists(dir + "/temp.log"));
        QVERIFY(rig.prompter.prompts().isEmpty());
        const QByteArray block = readAll(rig.home.file("convert.sh"));
        QVERIFY(block.contains("\nset cmdline= -n\n"));
    }

    void driverLogRule_data() {
        QTest::addColumn<int>("messages");
        QTest::addColumn<bool>("marked");
        QTest::newRow("header only") << 0 << false;
        QTest::newRow("a short message") << 5 << true;
        QTest::newRow("51 beyond the header") << 51 << true;
    }
    void driverLogRule() {
        QFETCH(int, messages);
        QFETCH(bool, marked);
        QTemporaryDir work;
        const QString source = work.filePath("paper.tex");
        QVERIFY(QFile::copy(dataDir() + "/macro.tex", source));
        writeText(work.filePath("temp.log"), "the user's own temp.log");
        ConversionRig rig;
        RecordingLauncher launcher;
        // Stands in for tth: a page and messages of a known length.
        launcher.standIn =
            QString("/bin/sh -c \"printf '%1' >> paper.tlog; echo page > paper.htm\"")
                .arg(QString(messages, 'm'));
        rig.ctx.seams.launcher = &launcher;
        rig.model.setCheckValue(ctl::chkIE, 0);
        rig.model.setBold(ctl::cmdLog, !marked);
        rig.model.setCaption(ctl::cmdLog, marked ? "View &Log" : "Errors in &Log");
        rig.runDriver(TabTth, source);
        const QByteArray log = readAll(work.filePath("paper.tlog"));
        QCOMPARE(log, "Tth log file for " + source.toUtf8() + "\n\n" + QByteArray(messages, 'm'));
        QCOMPARE(rig.logMarked(), marked);
        QCOMPARE(rig.logPlain(), !marked);
        QVERIFY(rig.model.isEnabled(ctl::cmdShow));
        QCOMPARE(readAll(work.filePath("temp.log")), QByteArray("the user's own temp.log"));
    }
};

MORVANE_TEST_GUILESS_MAIN(TestTthOptions)
#include "tst_tthoptions.moc"
