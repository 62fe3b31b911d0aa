#include "pipeline/appcontext.h"
#include "pipeline/batchdriver.h"
#include "pipeline/conversion.h"
#include "platform/prompter.h"
#include "settings/optionsmodel.h"
#include "support/controlbyname.h"
#include "support/doubles.h"
#include "support/routetabs.h"
#include "support/testhome.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace morvane;

namespace {

const QByteArray kMarker = "REM Morvane will be writing text here automatically\n";
const QString kAltered = QStringLiteral(
    "Convert.sh has been altered so that Morvane can't read it.\n\nPlease restore an original "
    "copy of Convert.sh.");

// One program directory with its context, as the main window would have it.
struct Fixture {
    test::TestHome home;
    OptionsModel model;
    ScriptedPrompter prompter;
    AppContext ctx;

    Fixture() {
        ctx.programDir = home.path();
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        ctx.settings.vars.hevea = QStringLiteral("/usr/bin");
        ctx.settings.vars.tth = QStringLiteral("/Opt/TtH");
        ctx.settings.vars.texify = QStringLiteral("/usr/bin");
        ctx.settings.vars.tex4ht = QStringLiteral("/usr/Bin");
        ctx.settings.vars.imageMagick = QStringLiteral("/etc/ImageMagick-6");
        ctx.settings.vars.gsLib = QStringLiteral("/usr/share/ghostscript/10.0/Resource/Init");
        ctx.settings.vars.l2h = QStringLiteral("/usr/share/LaTeX2HTML");
        ctx.settings.vars.perl = QStringLiteral("/usr/bin");
        ctx.settings.vars.netpbm = QStringLiteral("/opt/netpbm");
        ctx.settings.vars.htrunM = QStringLiteral("/opt/HtrunM");
        ctx.settings.vars.htrunS = QStringLiteral("/opt/HtrunS");
    }

    QString driver() const { return ctx.batchDriverPath(); }
    void writeDriver(const QByteArray& text) const {
        home.write(QStringLiteral("convert.sh"), text);
    }
};

// Model settings of one table row: "name=value" for check boxes and option
// groups, "txt3=..." and "txt3Locked=..." for the command-line box.
void applySettings(OptionsModel& model, const QStringList& settings) {
    for (const QString& setting : settings) {
        const QString name = setting.section(QLatin1Char('='), 0, 0);
        const QString value = setting.section(QLatin1Char('='), 1);
        if (name == QLatin1String("txt3"))
            model.setText(test::control(name), value);
        else if (name == QLatin1String("txt3Locked"))
            model.setTag(test::control(name), value);
        else if (name == QLatin1String("tex4htArgs"))
            model.setItems(test::control(name), value.split(QLatin1Char('|')));
        else
            model.setCheckValue(test::control(name), value.toInt());
    }
}

} // namespace

class TestBatchDriver : public QObject {
    Q_OBJECT
private slots:
    void settingsBlockLines_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<QString>("expected"); // "%HOME%" stands for the program directory

        QTest::newRow("hevea without hacha")
            << "hevea"
            << " -francais -v " << QStringList{"chkFrench=1"}
            << "set redir=%HOME%/redir\nset progpath=/usr/bin\nset cmdline= -francais -v \n"
               "set cmdline2=no\nset code=\n";
        QTest::newRow("hevea hacha, French, native")
            << "hevea"
            << "-fix" << QStringList{"chkHacha=1", "chkFrench=1", "optCode=1"}
            << "set redir=%HOME%/redir\nset progpath=/usr/bin\nset cmdline=-fix\n"
               "set cmdline2=-francais\nset code=x\n";
        QTest::newRow("hevea hacha, not French, key in capitals")
            << "HeVeA"
            << "" << QStringList{"chkHacha=1"}
            << "set redir=%HOME%/redir\nset progpath=/usr/bin\nset cmdline=\nset cmdline2=\n"
               "set code=\n";
        QTest::newRow("tth keeps the case of paths and options")
            << "tth"
            << " -n -E2" << QStringList{}
            << "set redir=%HOME%/redir\nset progpath=/Opt/TtH\nset cmdline= -n -E2\n";
        QTest::newRow("texify") << "texify"
                                << "-p -V" << QStringList{}
                                << "set progpath=/usr/bin\nset cmdline=-p -V\n";
        QTest::newRow("tex4ht htlatex")
            << "tex4ht"
            << "ignored" << QStringList{"tex4htArgs=htlatex||paper||\"html,3.2\"|\"symbol/!\""}
            << "set progpath=/usr/Bin\nset delegate_path=/etc/ImageMagick-6\n"
               "set gs_lib=/usr/share/ghostscript/10.0/Resource/Init\nset htrunpath=\n"
               "set cmdline=htlatex %2 \"html,3.2\" \"symbol/!\"\n";
        QTest::newRow("tex4ht without pieces")
            << "tex4ht"
            << "" << QStringList{}
            << "set progpath=/usr/Bin\nset delegate_path=/etc/ImageMagick-6\n"
               "set gs_lib=/usr/share/ghostscript/10.0/Resource/Init\nset htrunpath=\n"
               "set cmdline= %2  \n";
        QTest::newRow("tex4ht htrun for MiKTeX")
            << "tex4ht"
            << "" << QStringList{"chkHtrun=1", "tex4htArgs=htrun|-xh|paper|3||"}
            << "set progpath=/usr/Bin\nset delegate_path=/etc/ImageMagick-6\n"
               "set gs_lib=/usr/share/ghostscript/10.0/Resource/Init\nset htrunpath=/opt/HtrunM\n"
               "set cmdline=/opt/HtrunM/htrun -xh %2 3\n";
        QTest::newRow("tex4ht htrun for SWP")
            << "tex4ht"
            << "" << QStringList{"chkHtrun=1", "chkSWP=1", "tex4htArgs=htrun|-ht|paper|||"}
            << "set progpath=/usr/Bin\nset delegate_path=/etc/ImageMagick-6\n"
               "set gs_lib=/usr/share/ghostscript/10.0/Resource/Init\nset htrunpath=/opt/HtrunS\n"
               "set cmdline=/opt/HtrunS/htrun -ht %2\n";
        QTest::newRow("tex4ht locked box is ignored")
            << "tex4ht"
            << "" << QStringList{"tex4htArgs=htlatex|||||", "txt3=mine", "txt3Locked=yes"}
            << "set progpath=/usr/Bin\nset delegate_path=/etc/ImageMagick-6\n"
               "set gs_lib=/usr/share/ghostscript/10.0/Resource/Init\nset htrunpath=\n"
               "set cmdline=htlatex %2  \n"; // one pass: three blanks leave two
        QTest::newRow("tex4ht unlocked box replaces the command")
            << "tex4ht"
            << ""
            << QStringList{"tex4htArgs=htlatex|||||", "txt3=xhlatex paper \"xhtml\"",
                           "txt3Locked=no"}
            << "set progpath=/usr/Bin\nset delegate_path=/etc/ImageMagick-6\n"
               "set gs_lib=/usr/share/ghostscript/10.0/Resource/Init\nset htrunpath=\n"
               "set cmdline=xhlatex paper \"xhtml\"\n";
        QTest::newRow("tex4ht unlocked box with htrun keeps the htrun directory")
            << "tex4ht"
            << ""
            << QStringList{"chkHtrun=1", "tex4htArgs=htrun|-xh|paper|||", "txt3=htrun -mz paper",
                           "txt3Locked=no"}
            << "set progpath=/usr/Bin\nset delegate_path=/etc/ImageMagick-6\n"
               "set gs_lib=/usr/share/ghostscript/10.0/Resource/Init\nset htrunpath=/opt/HtrunM\n"
               "set cmdline=/opt/HtrunM/htrun -mz paper\n";
        QTest::newRow("l2h")
            << "l2h"
            << "" << QStringList{}
            << "set progpath=/usr/share/ghostscript/10.0/Resource/Init;"
               "/usr/share/LaTeX2HTML;/usr/bin;/opt/netpbm;/usr/share/LaTeX2HTML/bin\n"
               "set gs_lib=/usr/share/ghostscript/10.0/Resource/Init;"
               "/usr/share/ghostscript/10.0/Resource/Init\n"
               "set L2HMODULE=/usr/share/LaTeX2HTML\n"
               "set init=%HOME%/LaTeX2HTML.init\n";
        QTest::newRow("gspdf splits at the pound sign")
            << "gspdf" << QString::fromUtf8("%HOME%/pdfmakegstc.bat \"My Paper\" 3 /Docs£/Docs/U/")
            << QStringList{}
            << "set filepath=/Docs/U/\nset progpath=%HOME%\n"
               "set cmdline=%HOME%/pdfmakegstc.bat \"My Paper\" 3 /Docs\n";
        QTest::newRow("gspdf without a pound sign")
            << "gspdf"
            << "cmd" << QStringList{} << "set filepath=\nset progpath=%HOME%\nset cmdline=cmd\n";
        QTest::newRow("dvi") << "dvi"
                             << "x" << QStringList{} << "";
        QTest::newRow("pdf") << "pdf"
                             << "x" << QStringList{} << "";
        QTest::newRow("unknown key") << "other"
                                     << "x" << QStringList{} << "";
        QTest::newRow("line breaks in a value cannot end the block")
            << "texify"
            << "-V\nREM ** x\r\nset y=1" << QStringList{}
            << "set progpath=/usr/bin\nset cmdline=-V REM ** x  set y=1\n";
    }

    void settingsBlockLines() {
        QFETCH(QString, key);
        QFETCH(QString, commandLine);
        QFETCH(QStringList, settings);
        QFETCH(QString, expected);
        Fixture f;
        applySettings(f.model, settings);
        commandLine.replace(QStringLiteral("%HOME%"), f.home.path());
        expected.replace(QStringLiteral("%HOME%"), f.home.path());
        QCOMPARE(settingsBlock(f.ctx, commandLine, key), expected);
    }

    // A conversion's own lines follow its route's block; a folder that a
    // search path cannot name as it is stays out rather than send TeX
    // somewhere else.
    void conversionLines_data() {
        QTest::addColumn<QString>("documentFolder");
        QTest::addColumn<QString>("standIns");
        QTest::addColumn<QString>("prepared");
        QTest::addColumn<QString>("lines");
        QTest::newRow("none") << ""
                              << ""
                              << ""
                              << "";
        QTest::newRow("all three, the folder cleaned")
            << "/home/ann/My Thesis 'v2' & more/./"
            << "/tmp/s"
            << "/tmp/p"
            << "set docdir=/home/ann/My Thesis 'v2' & more\nset standins=/tmp/s\n"
               "set prepared=/tmp/p\n";
        QTest::newRow("a colon, dollar or brace means something in a search path") << "/docs/a:b"
                                                                                   << "/tmp/$HOME"
                                                                                   << "/tmp/{a,b}"
                                                                                   << "";
        QTest::newRow("a line break would end the setting") << "/docs/a\nset x=1"
                                                            << ""
                                                            << ""
                                                            << "";
    }

    void conversionLines() {
        QFETCH(QString, documentFolder);
        QFETCH(QString, standIns);
        QFETCH(QString, prepared);
        QFETCH(QString, lines);
        Fixture f;
        Conversion conversion(f.ctx, *routeForTab(f.ctx.routes, TabTex4ht), "/docs/a.tex");
        conversion.documentFolder = documentFolder;
        conversion.standInPrograms = standIns;
        conversion.preparedFolder = prepared;
        QCOMPARE(conversionSettings(conversion), lines);
        // Writebat puts them after the route's block.
        QVERIFY(Writebat(conversion, QString()));
        const QByteArray written = test::readAll(f.driver());
        QVERIFY(written.contains(
            (settingsBlock(f.ctx, QString(), "tex4ht") + lines + QStringLiteral("REM **"))
                .toUtf8()));
    }

    void writebatReplacesOnlyTheBlock_data() {
        QTest::addColumn<QByteArray>("oldBlock");
        QTest::newRow("empty block") << QByteArray();
        QByteArray ten;
        for (int i = 1; i <= 10; ++i)
            ten += "set old" + QByteArray::number(i) + "=value " + QByteArray::number(i) + "\n";
        QTest::newRow("ten-line block") << ten;
    }

    void writebatReplacesOnlyTheBlock() {
        QFETCH(QByteArray, oldBlock);
        Fixture f;
        // Bytes that are not UTF-8 and CR LF line ends outside the block must
        // survive unchanged.
        const QByteArray before = "#!/bin/sh\r\nREM ** not the end line\n\xff\xfe odd bytes\n";
        const QByteArray after = "REM ** end\r\nmore text \xe9\n\nlast line\n";
        f.writeDriver(before + kMarker + oldBlock + after);

        QVERIFY(Writebat(f.ctx, QStringLiteral(" -n"), QStringLiteral("tth")));
        const QByteArray expected = before + kMarker + "set redir=" + f.home.path().toUtf8() +
                                    "/redir\nset progpath=/Opt/TtH\nset cmdline= -n\n" + after;
        QCOMPARE(test::readAll(f.driver()), expected);
        QVERIFY(f.prompter.prompts().isEmpty());
    }

    void writebatWritesCommandTextLiterally() {
        Fixture f;
        const QString hostile = QStringLiteral("$(touch pwned); `id` | rm -rf \"$HOME\" %2");
        QVERIFY(Writebat(f.ctx, hostile, QStringLiteral("hevea")));
        const QByteArray text = test::readAll(f.driver());
        QVERIFY(text.contains("\nset cmdline=" + hostile.toUtf8() + "\n"));
        QVERIFY(!QFile::exists(f.home.file(QStringLiteral("pwned"))));
    }

    // The script takes only whole lines as its marker and its end line: a
    // value holding "REM **" or the marker text changes nothing, run after run.
    void writebatFindsMarkersAsWholeLines() {
        Fixture f;
        const QByteArray start = "x\ny " + kMarker;
        f.writeDriver(start + kMarker + "set a=1\nREM **\n");
        const QString value = QStringLiteral("-i REM ** x");
        QVERIFY(Writebat(f.ctx, value, QStringLiteral("tth")));
        const QByteArray once = test::readAll(f.driver());
        QVERIFY(once.startsWith(start + kMarker + "set redir="));
        QVERIFY(once.contains("\nset cmdline=" + value.toUtf8() + "\nREM **\n"));
        QVERIFY(Writebat(f.ctx, value, QStringLiteral("tth")));
        QCOMPARE(test::readAll(f.driver()), once);
    }

    // A block the script already holds is not written again: the file keeps
    // its inode (nothing is renamed over it) and its bytes; any other block
    // replaces it.
    void writebatWritesOnlyAChangedBlock_data() {
        QTest::addColumn<QString>("secondCommandLine");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("the same settings") << QStringLiteral("-i") << false;
        QTest::newRow("other settings") << QStringLiteral("-n") << true;
    }

    void writebatWritesOnlyAChangedBlock() {
        QFETCH(QString, secondCommandLine);
        QFETCH(bool, replaced);
        Fixture f;
        f.writeDriver("x\n" + kMarker + "set a=1\nREM **\n");
        QVERIFY(Writebat(f.ctx, QStringLiteral("-i"), QStringLiteral("tth")));
        const QByteArray first = test::readAll(f.driver());
        const auto inode = [&f] {
            struct stat info {};
            return ::stat(QFile::encodeName(f.driver()).constData(), &info) == 0 ? info.st_ino
                                                                                 : ino_t(0);
        };
        const ino_t before = inode();
        QVERIFY(Writebat(f.ctx, secondCommandLine, QStringLiteral("tth")));
        QCOMPARE(inode() != before, replaced);
        const QByteArray second = test::readAll(f.driver());
        QCOMPARE(second != first, replaced);
        QVERIFY(second.contains("\nset cmdline=" + secondCommandLine.toUtf8() + "\nREM **\n"));
    }

    void writebatUsesTheFirstMarkerLineWhateverItsLineEnd() {
        // The script reads the block after the first marker line, CR LF or
        // not; the program must write that block, not a later one.
        Fixture f;
        QByteArray crlfMarker = kMarker;
        crlfMarker.replace("\n", "\r\n");
        const QByteArray later = "echo copied\n" + kMarker + "set cmdline=older\nREM ** end\n";
        f.writeDriver(crlfMarker + "set cmdline=old\r\nREM ** end\r\n" + later);
        QVERIFY(Writebat(f.ctx, QStringLiteral("-n"), QStringLiteral("tth")));
        const QByteArray written = test::readAll(f.driver());
        QVERIFY(written.startsWith(crlfMarker + "set redir="));
        QVERIFY(written.contains("\nset cmdline=-n\nREM ** end\r\n"));
        QVERIFY(written.endsWith(later));
    }

    void writebatLineEndAtTheEnd_data() {
        QTest::addColumn<QByteArray>("tail");
        QTest::addColumn<QByteArray>("expectedTail");
        QTest::newRow("one line end stays one") << QByteArray("REM **\n") << QByteArray("REM **\n");
        QTest::newRow("missing line end is added")
            << QByteArray("REM **") << QByteArray("REM **\n");
        QTest::newRow("empty line at the end stays")
            << QByteArray("REM **\n\n") << QByteArray("REM **\n\n");
    }

    void writebatLineEndAtTheEnd() {
        QFETCH(QByteArray, tail);
        QFETCH(QByteArray, expectedTail);
        Fixture f;
        f.writeDriver("x\n" + kMarker + "set a=1\n" + tail);
        QVERIFY(Writebat(f.ctx, QString(), QStringLiteral("dvi")));
        QCOMPARE(test::readAll(f.driver()), "x\n" + kMarker + expectedTail);
    }

    void writebatRefusesAlteredFile_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("end line only before the marker")
            << QByteArray("REM ** old end\n" + kMarker + "set a=1\n");
        QTest::newRow("marker in lower case")
            << QByteArray("rem morvane will be writing text here automatically\nset a=1\nREM **\n");
        QTest::newRow("no marker at all") << QByteArray("#!/bin/sh\necho hello\nREM **\n");
        QTest::newRow("marker without a line end")
            << QByteArray("REM ** x\nREM Morvane will be writing text here automatically");
        QTest::newRow("end line in lower case") << QByteArray(kMarker + "set a=1\nrem ** end\n");
        // The shell drops the NUL bytes and reads the first line as the marker.
        QTest::newRow("NUL bytes: the script sees another marker")
            << QByteArray("REM Morvane will be writing text here\0 automatically\nREM **\n", 60) +
                   kMarker + "REM **\n";
    }

    void writebatRefusesAlteredFile() {
        QFETCH(QByteArray, text);
        Fixture f;
        f.writeDriver(text);
        QVERIFY(!Writebat(f.ctx, QStringLiteral("-i"), QStringLiteral("tth")));
        QCOMPARE(test::readAll(f.driver()), text);
        QCOMPARE(f.prompter.prompts().size(), 1);
        const Prompt expected{kAltered, QStringLiteral("Convert.sh"), Buttons::Ok, Icon::Critical,
                              Answer::Ok};
        QCOMPARE(f.prompter.prompts().at(0), expected);
    }

    void writebatMissingDriver() {
        Fixture f;
        QVERIFY(QFile::remove(f.driver()));
        QVERIFY(!Writebat(f.ctx, QString(), QStringLiteral("tth")));
        QVERIFY(!QFile::exists(f.driver()));
        QCOMPARE(f.prompter.prompts().size(), 1);
        const Prompt& p = f.prompter.prompts().at(0);
        QCOMPARE(p.text, QStringLiteral("Can't find ") + f.driver() +
                             QStringLiteral(" file.\n\nPlease restore an original copy of "
                                            "Convert.sh."));
        QCOMPARE(p.title, QStringLiteral("Convert.sh"));
        QCOMPARE(p.icon, Icon::Critical);
    }

    void writebatUnreadableDriver() {
        Fixture f;
        // A directory in the file's place cannot be read, even by root.
        QVERIFY(QFile::remove(f.driver()));
        QVERIFY(QDir().mkdir(f.driver()));
        QVERIFY(!Writebat(f.ctx, QString(), QStringLiteral("tth")));
        QCOMPARE(f.prompter.prompts().size(), 1);
        QVERIFY(f.prompter.prompts().at(0).text.startsWith(QStringLiteral("Can't read ") +
                                                           f.driver() + QStringLiteral(".\n\n")));
        QCOMPARE(f.prompter.prompts().at(0).icon, Icon::Critical);
        QVERIFY(QFileInfo(f.driver()).isDir());
    }

    void shippedDriverIsCurrentAndWritable() {
        Fixture f;
        const QByteArray shipped = test::readAll(test::shippedFile(QStringLiteral("convert.sh")));
        QVERIFY(!shipped.isEmpty());
        QCOMPARE(test::readAll(f.driver()), shipped);
        QCOMPARE(oldBatchDriverReason(shipped, true), QString());
        QVERIFY(shipped.contains(kMarker));

        QVERIFY(Writebat(f.ctx, QStringLiteral("-i"), QStringLiteral("tth")));
        QVERIFY(Writebat(f.ctx, QString(), QStringLiteral("dvi")));
        // Filling and emptying the block again gives back the shipped file.
        QCOMPARE(test::readAll(f.driver()), shipped);
    }

    void ghostscriptDirectories_data() {
        QTest::addColumn<QString>("library");
        QTest::addColumn<QString>("fonts");
        QTest::newRow("versioned folder") << "/gs/gs5.50/lib"
                                          << "/gs/fonts";
        QTest::newRow("first /gs has no dot") << "/opt/gs/gs9.56/lib"
                                              << "/opt/gs/fonts";
        QTest::newRow("Debian location") << "/usr/share/ghostscript/10.0/Resource/Init"
                                         << "/usr/share/ghostscript/10.0/Resource/Init";
        QTest::newRow("short tail") << "/gs5"
                                    << "/gs5";
        QTest::newRow("empty") << ""
                               << "";
    }

    void ghostscriptDirectories() {
        QFETCH(QString, library);
        QFETCH(QString, fonts);
        QCOMPARE(ghostscriptFontsDir(library), fonts);
    }

    void ghostscriptProgramDirectory() {
        QTemporaryDir root;
        const QString lib = root.path() + QStringLiteral("/gs/lib");
        QVERIFY(QDir().mkpath(lib));
        // No gs beside it: the library directory stays.
        QCOMPARE(ghostscriptProgramDir(lib), lib);
        QVERIFY(QDir().mkpath(root.path() + QStringLiteral("/gs/bin")));
        QFile gs(root.path() + QStringLiteral("/gs/bin/gs"));
        QVERIFY(gs.open(QIODevice::WriteOnly));
        gs.close();
        QCOMPARE(ghostscriptProgramDir(lib), root.path() + QStringLiteral("/gs/bin"));
        // "/Lib" differs in case and is not turned into "/bin".
        QCOMPARE(ghostscriptProgramDir(root.path() + QStringLiteral("/gs/Lib")),
                 root.path() + QStringLiteral("/gs/Lib"));
    }

    void oldVersionFindings_data() {
        const QByteArray current = "echo $cmdline2\npause_after \"$3\"\n"
                                   "PATH=\"$progpath:$htrunpath:$PATH\"\n";
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("htrun");
        QTest::addColumn<QString>("reason");
        QTest::newRow("current") << current << true << QString();
        QTest::newRow("hevea.log comes first")
            << QByteArray("hevea.log\n") << true
            << "won't produce a correct log file if you use Hevea or Tth.";
        QTest::newRow("no cmdline2 before no pause")
            << QByteArray("PATH=\"$progpath:$htrunpath:$PATH\"\n") << true
            << "can't use Hacha (part of Hevea).";
        QTest::newRow("no pause") << QByteArray("$cmdline2\nPATH=\"$progpath:$htrunpath:$PATH\"\n")
                                  << true << "can't use Pause in Tex4ht.";
        QTest::newRow("no PATH line, htrun set") << QByteArray("$cmdline2\npause_after \"$3\"\n")
                                                 << true << "can't use htrun in Tex4ht.";
        QTest::newRow("PATH line without line end")
            << QByteArray("$cmdline2\npause_after \"$3\"\nPATH=\"$progpath:$htrunpath:$PATH\"")
            << true << "can't use htrun in Tex4ht.";
        QTest::newRow("no PATH line, no htrun")
            << QByteArray("$cmdline2\npause_after \"$3\"\n") << false << QString();
    }

    void oldVersionFindings() {
        QFETCH(QByteArray, text);
        QFETCH(bool, htrun);
        QFETCH(QString, reason);
        QCOMPARE(oldBatchDriverReason(text, htrun), reason);
    }

    void startUpCheckTellsAndDisables() {
        Fixture f;
        f.writeDriver("$cmdline2\nPATH=\"$progpath:$htrunpath:$PATH\"\n");
        f.model.setChecked(ctl::chkHtrun, true);
        checkBatchDriverVersion(f.ctx);

        QCOMPARE(f.prompter.prompts().size(), 1);
        const Prompt expected{
            QStringLiteral("You are currently using an old version of convert.sh which can't use "
                           "Pause in Tex4ht.\n\nPlease replace convert.sh with a newer version "
                           "which will be found in Update.zip.\n \nIf you have deleted the zip "
                           "file you can download Update.zip from https://morvane.example.org."),
            QStringLiteral("Old version of convert.sh"), Buttons::Ok, Icon::Exclamation,
            Answer::Ok};
        QCOMPARE(f.prompter.prompts().at(0), expected);
        QVERIFY(!f.model.isEnabled(ctl::chkHacha));
        QVERIFY(!f.model.isEnabled(ctl::chkTex4htPause));
        QVERIFY(!f.model.isEnabled(ctl::chkHtrun));
        QCOMPARE(f.model.checkValue(ctl::chkHtrun), 0);
    }

    void startUpCheckQuietForTheShippedDriver() {
        Fixture f;
        f.model.setChecked(ctl::chkHtrun, true);
        checkBatchDriverVersion(f.ctx);
        QVERIFY(f.prompter.prompts().isEmpty());
        QVERIFY(f.model.isEnabled(ctl::chkHacha));
        QVERIFY(f.model.isEnabled(ctl::chkHtrun));
        QCOMPARE(f.model.checkValue(ctl::chkHtrun), 1);
    }
};

MORVANE_TEST_GUILESS_MAIN(TestBatchDriver)
#include "tst_batchdriver.moc"
