// The HeVeA driver's composers and rules: option string, output type, style
// directory names, result file, hacha's pages, the log rule, and the driver's
// command line, working directory and log header with a recording launcher.

#include "conversionrig.h"
#include "drivers/hevea.h"
#include "drivers/heveaclass.h"
#include "platform/pathutils.h"
#include "settings/controlnames.h"
#include "support/controlbyname.h"
#include "support/doubles.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace morvane;
using namespace morvane::test;

namespace {

// One tab setting per entry: "chkFrench", "verbose=2", "List1=a.hva|b.hva",
// "txtExclude=x.hva", "optOutput=1".
void applySettings(OptionsModel& model, const QStringList& settings) {
    for (const QString& setting : settings) {
        const qsizetype eq = setting.indexOf('=');
        if (eq < 0) {
            model.setCheckValue(test::control(setting), 1);
            continue;
        }
        const QString name = setting.left(eq);
        const QString value = setting.mid(eq + 1);
        if (name == "verbose")
            model.setIndex(ctl::cmbHeveaVerbose, value.toInt());
        else if (name == "optOutput")
            model.setIndex(ctl::optOutput, value.toInt());
        else if (name == "List1")
            model.setItems(ctl::List1, value.split('|'));
        else
            model.setText(test::control(name), value);
    }
}

const QString kSeparator(26, '-');

QByteArray header(const QString& source) {
    return ("Hevea log file for " + source + "\n\n").toUtf8();
}

} // namespace

class TestHeveaOptions : public QObject {
    Q_OBJECT
private slots:
    void classStandIn_data() {
        QTest::addColumn<QByteArray>("tex");
        QTest::addColumn<QString>("style");
        QTest::newRow("a class with its style") << QByteArray("\\documentclass{known}") << "";
        QTest::newRow("unknown class, chapters")
            << QByteArray("\\documentclass[a4paper]{thesis}\n\\chapter{One}") << "book";
        QTest::newRow("unknown class, included chapters")
            << QByteArray("\\documentclass{thesis}\n\\include{Chapter1/one}") << "book";
        QTest::newRow("unknown class, a commented chapter")
            << QByteArray("\\documentclass{paper}\n% \\chapter{One}") << "article";
        QTest::newRow("the class line commented out")
            << QByteArray("%\\documentclass{thesis}\n\\documentclass{known}") << "";
        QTest::newRow("no class") << QByteArray("\\input plain") << "";
        QTest::newRow("a name that is no file name") << QByteArray("\\documentclass{../x y}") << "";
    }
    void classStandIn() {
        QFETCH(QByteArray, tex);
        QTemporaryDir library;
        QFile known(library.filePath("known.hva"));
        QVERIFY(known.open(QIODevice::WriteOnly));
        known.close();
        QTEST(standInStyleFor(tex, {library.path() + "/missing", library.path()}), "style");
    }
    // "Saved as" names the file the output type really gives.
    void placeFollowsOutputType_data() {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<bool>("hacha");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("expected");
        QTest::newRow("html") << "html" << false << "Saved as\n/d/Paper.html"
                              << "/d/Paper.html";
        QTest::newRow("html split") << "html" << true << "Saved as\n/d/index.html"
                                    << "/d/Paper.html";
        QTest::newRow("text") << "txt" << false << "Saved as\n/d/Paper.txt"
                              << "/d/Paper.txt";
        QTest::newRow("info ignores hacha") << "info" << true << "Saved as\n/d/Paper.info"
                                            << "/d/Paper.info";
    }
    void placeFollowsOutputType() {
        QFETCH(QString, extension);
        QFETCH(bool, hacha);
        QFETCH(QString, label);
        QFETCH(QString, expected);
        OptionsModel model;
        model.setChecked(ctl::chkHacha, hacha);
        AppContext ctx;
        ctx.model = &model;
        ctx.settings.vars.heveaOutputExtension = extension;
        const OutputPlace place = heveaPlace(ctx, "/d/Paper.tex");
        QCOMPARE(place.label, label);
        QCOMPARE(place.expected, expected);
    }

    void options_data() {
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<QString>("expected");

        QTest::newRow("nothing ticked") << QStringList{} << "";
        QTest::newRow("French mode") << QStringList{"chkFrench"} << " -francais ";
        QTest::newRow("French and single verbosity")
            << QStringList{"chkFrench", "verbose=1"} << " -francais -v ";
        QTest::newRow("double verbosity") << QStringList{"verbose=2"} << " -v -v ";
        QTest::newRow("verbosity none") << QStringList{"verbose=0"} << "";
        QTest::newRow("styles up to the separator")
            << QStringList{"chkStyle", "List1=a.hva|b.hva|" + kSeparator + "|c.hva"}
            << "a.hva b.hva ";
        QTest::newRow("separator on top passes no style")
            << QStringList{"chkStyle", "List1=" + kSeparator + "|a.hva"} << "";
        QTest::newRow("only the first five rows")
            << QStringList{"chkStyle", "List1=a|b|c|d|e|f|g"} << "a b c d e ";
        QTest::newRow("25 hyphens are a style name")
            << QStringList{"chkStyle", "List1=" + QString(25, '-') + "|a.hva"}
            << QString(25, '-') + " a.hva ";
        QTest::newRow("excluded file")
            << QStringList{"chkStyle", "txtExclude=x.hva"} << "-e x.hva ";
        QTest::newRow("styles and excluded file")
            << QStringList{"chkStyle", "List1=a.hva|" + kSeparator, "txtExclude=x.hva"}
            << "a.hva -e x.hva ";
        QTest::newRow("style box off passes neither styles nor -e")
            << QStringList{"List1=a.hva|b.hva", "txtExclude=x.hva"} << "";
        QTest::newRow("iterate") << QStringList{"chkFix"} << " -fix ";
        QTest::newRow("version and iterate")
            << QStringList{"chkVersion", "chkFix"} << "-exec xxdate.exe -fix ";
        QTest::newRow("version goes in front of French")
            << QStringList{"chkFrench", "chkVersion"} << "-exec xxdate.exe -francais ";
        QTest::newRow("version alone") << QStringList{"chkVersion"} << "-exec xxdate.exe ";
        QTest::newRow("esponja") << QStringList{"chkEsponja"} << " -O ";
        QTest::newRow("esponja comes after -exec and -fix")
            << QStringList{"chkEsponja", "chkVersion", "chkFix"} << "-exec xxdate.exe -fix -O ";
        QTest::newRow("everything")
            << QStringList{"chkFrench",        "verbose=2",
                           "chkStyle",         "List1=a.hva|b.hva|" + kSeparator,
                           "txtExclude=x.hva", "chkFix",
                           "chkVersion",       "chkEsponja"}
            << "-exec xxdate.exe -francais -v -v a.hva b.hva -e x.hva -fix -O ";
    }
    void options() {
        QFETCH(QStringList, settings);
        QFETCH(QString, expected);
        OptionsModel model;
        applySettings(model, settings);
        QCOMPARE(heveaOptions(HeveaOptions::from(model)), expected);
    }

    void outputTypePiece_data() {
        QTest::addColumn<int>("output");
        QTest::addColumn<QString>("piece");
        QTest::newRow("HTML") << 0 << "";
        QTest::newRow("Text") << 1 << " -text ";
        QTest::newRow("Info") << 2 << " -info ";
    }
    void outputTypePiece() {
        QFETCH(int, output);
        QFETCH(QString, piece);
        OptionsModel model;
        model.setIndex(ctl::optOutput, output);
        QCOMPARE(heveaOutputTypePiece(HeveaOptions::from(model)), piece);
    }

    void extend_data() {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("caseFlag");
        QTest::addColumn<QString>("name");
        QTest::newRow("txt is text") << "txt"
                                     << ""
                                     << "text";
        QTest::newRow("txt upper is still text") << "txt"
                                                 << "U"
                                                 << "text";
        QTest::newRow("html") << "html"
                              << ""
                              << "html";
        QTest::newRow("html upper") << "html"
                                    << "U"
                                    << "HTML";
        QTest::newRow("info") << "info"
                              << ""
                              << "info";
        QTest::newRow("info upper") << "info"
                                    << "U"
                                    << "info";
    }
    void extend() {
        QFETCH(QString, extension);
        QFETCH(QString, caseFlag);
        QFETCH(QString, name);
        QCOMPARE(Extend(extension, caseFlag), name);
    }

    void resultFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<bool>("hacha");
        QTest::addColumn<QString>("result");
        QTest::newRow("HTML") << "paper"
                              << "html" << false << "/d/paper.html";
        QTest::newRow("text output") << "paper"
                                     << "txt" << false << "/d/paper.txt";
        QTest::newRow("info output") << "paper"
                                     << "info" << false << "/d/paper.info";
        QTest::newRow("hacha") << "paper"
                               << "html" << true << "/d/index.html";
        QTest::newRow("case kept") << "Paper"
                                   << "html" << false << "/d/Paper.html";
    }
    void resultFile() {
        QFETCH(QString, name);
        QFETCH(QString, extension);
        QFETCH(bool, hacha);
        QFETCH(QString, result);
        QCOMPARE(heveaResultFile("/d/", name, extension, hacha), result);
    }

    void hachaPagesAreIndexAndNumberedPages() {
        QTemporaryDir dir;
        for (const char* name : {"index.html", "paper001.html", "paper002.html", "paper1.html",
                                 "Paper003.html", "paperabc.html", "other001.html", "paper001.htm",
                                 "paper0001.html", "index.htm", "INDEX.html", "PAPER005.html"}) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QDir().mkdir(dir.filePath("paper004.html")); // a directory is not a page
        QCOMPARE(hachaPages(dir.path() + "/", "paper"),
                 (QStringList{"index.html", "paper001.html", "paper002.html", "paperabc.html"}));
        QCOMPARE(hachaPages(dir.path() + "/", "Paper"),
                 (QStringList{"Paper003.html", "index.html"}));
        // Brackets and stars in a document's name are letters, not wildcards.
        for (const char* name : {"a[1]001.html", "a1001.html", "a*002.html", "ab002.html"}) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QCOMPARE(hachaPages(dir.path() + "/", "a[1]"), (QStringList{"a[1]001.html", "index.html"}));
        QCOMPARE(hachaPages(dir.path() + "/", "a*"), (QStringList{"a*002.html", "index.html"}));
    }

    void logRule_data() {
        QTest::addColumn<QByteArray>("messages");
        QTest::addColumn<int>("dirLength");
        QTest::addColumn<int>("verdict");
        const int clean = int(LogVerdict::Clean);
        const int errors = int(LogVerdict::Errors);
        const int unchanged = int(LogVerdict::Unchanged);
        const QByteArray sentence = "hevea is using the .hvb file";

        QTest::newRow("empty log beyond header") << QByteArray() << 10 << clean;
        QTest::newRow("30 beyond header and dir") << QByteArray(40, 'x') << 10 << clean;
        QTest::newRow("31 beyond header and dir, 41 said")
            << QByteArray(41, 'x') << 10 << unchanged;
        QTest::newRow("31 beyond, 51 said") << QByteArray(51, 'x') << 20 << errors;
        QTest::newRow("50 said stays unchanged") << QByteArray(50, 'x') << 5 << unchanged;
        QTest::newRow("51 said is errors") << QByteArray(51, 'x') << 5 << errors;
        QTest::newRow("hvb sentence does not count")
            << sentence + QByteArray(50, 'x') << 5 << unchanged;
        QTest::newRow("hvb sentence twice does not count")
            << sentence + "\n" + sentence + QByteArray(49, 'x') << 5 << unchanged;
        QTest::newRow("hvb sentence is exact case")
            << QByteArray("Hevea is using the .hvb file") + QByteArray(24, 'x') << 5 << errors;
        QTest::newRow("hvb sentence and one more character")
            << sentence + QByteArray(51, 'x') << 5 << errors;
        const QByteArray rounds = "HeVeA Warning: Label(s) may have changed. Rerun me to get "
                                  "cross-references right.\nRun, run, again...\n"
                                  "Fixpoint reached in 2 step(s)\n";
        QTest::newRow("fix rounds are routine") << rounds << 5 << clean;
        QTest::newRow("fix rounds, whatever the folder's length") << rounds << 110 << clean;
        // The first round's forward references are defined in the next.
        QTest::newRow("earlier round's undefined labels are stale")
            << "./paper.tex:25: Warning: Undefined label: 'sec:method'\n" + rounds << 5 << clean;
        QTest::newRow("fix rounds and a real warning")
            << rounds + "abcde.tex:3: Warning: ignoring definition of \\foo\n"
            << 5 << errors;
        // A short warning in a folder with a long name is still a warning.
        QTest::newRow("placed warning, long folder name")
            << QByteArray("./a.tex:4: Warning: Command not found: \\x\n") << 60 << errors;
        // Only the first 500 bytes are read: what follows is not seen.
        // 35 header bytes, 16 sentences (448 bytes) and 17 more fill the 500.
        QTest::newRow("only the first 500 bytes")
            << sentence.repeated(16) + QByteArray(17, 'y') + QByteArray(200, 'x') << 5 << unchanged;
    }
    void logRule() {
        QFETCH(QByteArray, messages);
        QFETCH(int, dirLength);
        QFETCH(int, verdict);
        // A header of exactly 35 bytes, as the last row relies on.
        const QByteArray head = header("/tmp/abcde.tex");
        QCOMPARE(head.size(), 35);
        const QByteArray log = head + messages;
        QCOMPARE(int(judgeHeveaLog(log.size(), log.left(500), head.size(), dirLength)), verdict);
        // Handing over more than 500 bytes changes nothing: the rule reads 500.
        QCOMPARE(int(judgeHeveaLog(log.size(), log, head.size(), dirLength)), verdict);
    }
    void driverCommandLineAndHeader() {
        QTemporaryDir work;
        const QString dir = work.filePath("my docs");
        QVERIFY(QDir().mkpath(dir));
        const QString source = dir + "/Paper.tex";
        QVERIFY(QFile::copy(dataDir() + "/macro.tex", source));
        ConversionRig rig;
        // A program directory with a blank in its path.
        const QString programDir = work.filePath("prog dir");
        QVERIFY(copyTree(rig.home.path(), programDir));
        rig.ctx.programDir = programDir;
        RecordingLauncher launcher;
        rig.ctx.seams.launcher = &launcher;
        rig.model.setCheckValue(ctl::chkIE, 0);
        rig.model.setCheckValue(ctl::chkMulti, 0);
        rig.model.setBold(ctl::cmdLog, true);
        rig.model.setCaption(ctl::cmdLog, "Errors in &Log");

        rig.runDriver(TabHevea, source);
        QCOMPARE(launcher.starts.size(), 1);
        QCOMPARE(launcher.starts.at(0).commandLine,
                 "\"" + programDir + "/convert.sh\" hevea Paper");
        QCOMPARE(QProcess::splitCommand(launcher.starts.at(0).commandLine),
                 (QStringList{programDir + "/convert.sh", "hevea", "Paper"}));
        QCOMPARE(launcher.starts.at(0).workingDirectory, dir + "/");
        // Letter case kept; the header is all the log holds, so it is clean.
        QCOMPARE(logOf(rig.ctx.logs, "hevea"), dir + "/Paper.hlog");
        QCOMPARE(readAll(dir + "/Paper.hlog"), "Hevea log file for " + source.toUtf8() + "\n\n");
        QVERIFY(rig.logPlain());
        QCOMPARE(rig.ctx.expectedOutput, dir + "/Paper.html");
        QVERIFY(!rig.model.isEnabled(ctl::cmdShow));
        QVERIFY(rig.prompter.prompts().isEmpty());
    }

    void driverNameWithQuotes() {
        QTemporaryDir work;
        const QString source = work.filePath("say \"hi\" now.tex");
        QVERIFY(QFile::copy(dataDir() + "/macro.tex", source));
        ConversionRig rig;
        RecordingLauncher launcher;
        rig.ctx.seams.launcher = &launcher;
        rig.runDriver(TabHevea, source);
        QCOMPARE(launcher.starts.size(), 1);
        const QStringList parts = QProcess::splitCommand(launcher.starts.at(0).commandLine);
        QCOMPARE(parts, (QStringList{rig.home.path() + "/convert.sh", "hevea", "say \"hi\" now"}));
    }

    void driverStopsWhenTheBatchDriverIsAltered() {
        QTemporaryDir work;
        const QString source = work.filePath("paper.tex");
        QVERIFY(QFile::copy(dataDir() + "/macro.tex", source));
        ConversionRig rig;
        RecordingLauncher launcher;
        rig.ctx.seams.launcher = &launcher;
        QFile driver(rig.home.file("convert.sh"));
        QVERIFY(driver.open(QIODevice::WriteOnly));
        driver.write("echo no markers here\n");
        driver.close();
        rig.runDriver(TabHevea, source);
        QVERIFY(launcher.starts.isEmpty());
        QCOMPARE(rig.prompter.prompts().size(), 1);
        QCOMPARE(rig.prompter.prompts().at(0).icon, Icon::Critical);
        // The header was written before the batch driver was read.
        QVERIFY(readAll(work.filePath("paper.hlog")).startsWith("Hevea log file for "));
    }

    void driverLogRule_data() {
        QTest::addColumn<int>("beyondDir");
        QTest::addColumn<bool>("marked");
        QTest::newRow("30 beyond header and directory") << 30 << false;
        QTest::newRow("31 beyond header and directory") << 31 << true;
    }
    void driverLogRule() {
        QFETCH(int, beyondDir);
        QFETCH(bool, marked);
        QTemporaryDir work;
        const QString source = work.filePath("paper.tex");
        QVERIFY(QFile::copy(dataDir() + "/macro.tex", source));
        const int dirLength = int(PathOnly(source).toUtf8().size());
        QVERIFY(dirLength + beyondDir >= 51);
        ConversionRig rig;
        RecordingLauncher launcher;
        // Stands in for hevea: appends messages of a known length to the log.
        launcher.standIn = QString("/bin/sh -c \"printf %1 >> paper.hlog\"")
                               .arg(QString(dirLength + beyondDir, 'x'));
        rig.ctx.seams.launcher = &launcher;
        rig.model.setBold(ctl::cmdLog, !marked);
        rig.model.setCaption(ctl::cmdLog, marked ? "View &Log" : "Errors in &Log");
        rig.runDriver(TabHevea, source);
        QCOMPARE(QFileInfo(work.filePath("paper.hlog")).size(),
                 qint64(("Hevea log file for " + source + "\n\n").toUtf8().size() + dirLength +
                        beyondDir));
        QCOMPARE(rig.logMarked(), marked);
        QCOMPARE(rig.logPlain(), !marked);
    }
};

MORVANE_TEST_GUILESS_MAIN(TestHeveaOptions)
#include "tst_heveaoptions.moc"
