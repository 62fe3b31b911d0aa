// Runs the shipped convert.sh with /bin/sh on real converters, with the
// settings block filled by Writebat as a conversion would fill it.

#include "pipeline/appcontext.h"
#include "pipeline/batchdriver.h"
#include "platform/prompter.h"
#include "settings/optionsmodel.h"
#include "support/controlbyname.h"
#include "support/doubles.h"
#include "support/testhome.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace morvane;

namespace {

const QByteArray kPaper = "\\documentclass{article}\n"
                          "\\begin{document}\n"
                          "\\section{First}\n"
                          "Hello $x^2$, see \\ref{nowhere}.\n"
                          "\\section{Second}\n"
                          "World.\n"
                          "\\end{document}\n";

// Asks the terminal for a line: TeX waits at it for ever unless its standard
// input is closed or it runs in a non-stop mode.
const QByteArray kReadsTerminal = "\\documentclass{article}\n"
                                  "\\begin{document}\n"
                                  "\\read16 to \\answer\n"
                                  "\\undefinedcommand\n"
                                  "\\end{document}\n";

constexpr int kRunTimeout = 90000;

struct Run {
    bool finished = false;
    int exitCode = -1;
    QByteArray output;
};

QString ghostscriptLibrary() {
    const QDir root(QStringLiteral("/usr/share/ghostscript"));
    for (const QString& version : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString init = root.filePath(version + QStringLiteral("/Resource/Init"));
        if (QFileInfo::exists(init + QStringLiteral("/gs_init.ps")))
            return init;
    }
    return QStringLiteral("/usr/share/ghostscript");
}

bool writeFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
}

class Fixture {
public:
    test::TestHome home;
    QTemporaryDir work;
    OptionsModel model;
    ScriptedPrompter prompter;
    AppContext ctx;

    Fixture() {
        ctx.programDir = home.path();
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        SettingsVariables& v = ctx.settings.vars;
        v.hevea = v.tth = v.texify = v.tex4ht = v.perl = v.netpbm = QStringLiteral("/usr/bin");
        v.imageMagick = QStringLiteral("/etc/ImageMagick-6");
        v.gsLib = ghostscriptLibrary();
        v.l2h = QStringLiteral("/usr/share/latex2html");
        if (qEnvironmentVariableIsEmpty("L2HINIT_NAME"))
            qputenv("L2HINIT_NAME", ".morvane-test-l2h-init");
    }

    QString dir() const { return work.path(); }
    QString path(const QString& name) const { return work.filePath(name); }

    // /bin/sh convert.sh ARGS in `workingDir`. With `closedInput` the script
    // gets no standard input at all, as every conversion without "pause".
    Run run(const QStringList& args, const QString& workingDir, bool closedInput = true) const {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.setWorkingDirectory(workingDir);
        if (closedInput)
            p.setStandardInputFile(QProcess::nullDevice());
        p.start(QStringLiteral("/bin/sh"), QStringList{ctx.batchDriverPath()} + args);
        Run r;
        if (!p.waitForStarted())
            return r;
        r.finished = p.waitForFinished(kRunTimeout);
        if (!r.finished) {
            p.kill();
            p.waitForFinished();
        }
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.output = p.readAll();
        return r;
    }
};

} // namespace

class TestConvertScript : public QObject {
    Q_OBJECT
private slots:
    void hevea_data() {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QStringList>("settings"); // check boxes and option groups set to 1
        QTest::addColumn<QStringList>("expectedFiles");
        QTest::addColumn<bool>("split");
        QTest::newRow("without hacha") << "" << QStringList{} << QStringList{"paper.html"} << false;
        QTest::newRow("with hacha")
            << "" << QStringList{"chkHacha"}
            << QStringList{"paper.html", "index.html", "paper001.html"} << true;
        QTest::newRow("with hacha, French, native code")
            << " -francais " << QStringList{"chkHacha", "chkFrench", "optCode"}
            << QStringList{"paper.html", "index.html", "paper002.html"} << true;
        // hacha splits HTML only.
        QTest::newRow("text output with hacha ticked")
            << " -text " << QStringList{"chkHacha"} << QStringList{"paper.txt"} << false;
    }

    void hevea() {
        QFETCH(QString, commandLine);
        QFETCH(QStringList, settings);
        QFETCH(QStringList, expectedFiles);
        QFETCH(bool, split);
        Fixture f;
        QVERIFY(writeFile(f.path("paper.tex"), kPaper));
        const QByteArray header = "Hevea log file for " + f.path("paper.tex").toUtf8() + "\n\n";
        QVERIFY(writeFile(f.path("paper.hlog"), header));
        for (const QString& name : settings)
            f.model.setCheckValue(test::control(name), 1);
        QVERIFY(Writebat(f.ctx, commandLine, "hevea"));

        const Run r = f.run({"hevea", "paper"}, f.dir());
        QVERIFY2(r.finished, r.output.constData());
        QCOMPARE(r.exitCode, 0);
        for (const QString& name : expectedFiles)
            QVERIFY2(QFile::exists(f.path(name)), qPrintable(name));
        QCOMPARE(QFile::exists(f.path("index.html")), split);
        // HeVeA's messages were appended after the program's header.
        const QByteArray log = test::readAll(f.path("paper.hlog"));
        QVERIFY(log.startsWith(header));
        QVERIFY2(log.contains("nowhere"), log.constData());
    }

    void tth() {
        Fixture f;
        QVERIFY(writeFile(f.path("paper.tex"), kPaper));
        QVERIFY(Writebat(f.ctx, "-i", "tth"));
        const Run r = f.run({"tth", f.path("paper")}, f.dir());
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 0);
        QVERIFY(test::readAll(f.path("paper.htm")).contains("Hello"));
        QVERIFY(test::readAll(f.path("paper.tlog")).contains("nowhere"));
    }

    void printRoutes_data() {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<bool>("fullPath");
        QTest::addColumn<QString>("result");
        QTest::newRow("dvi with latex") << "dvi"
                                        << ""
                                        << "" << true << "paper.dvi";
        QTest::newRow("dvi with texify") << "texify"
                                         << "texify"
                                         << " -V " << false << "paper.dvi";
        QTest::newRow("pdf with pdflatex") << "pdf"
                                           << ""
                                           << "" << true << "paper.pdf";
        QTest::newRow("pdf with texify") << "texify"
                                         << "texify"
                                         << "-p" << false << "paper.pdf";
    }

    void printRoutes() {
        QFETCH(QString, route);
        QFETCH(QString, key);
        QFETCH(QString, commandLine);
        QFETCH(bool, fullPath);
        QFETCH(QString, result);
        Fixture f;
        QVERIFY(writeFile(f.path("paper.tex"), kPaper));
        if (!key.isEmpty())
            QVERIFY(Writebat(f.ctx, commandLine, key));
        const Run r = f.run({route, fullPath ? f.path("paper.tex") : "paper"}, f.dir());
        QVERIFY2(r.finished, r.output.constData());
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(QFile::exists(f.path(result)), r.output.constData());
        QVERIFY(QFile::exists(f.path("paper.log")));
    }

    void tex4htReplacesTheDocumentArgument() {
        Fixture f;
        QVERIFY(QDir(f.dir()).mkdir("paper"));
        const QString out = f.path("paper");
        QVERIFY(writeFile(out + "/paper.tex", kPaper));
        f.model.setItems(ctl::tex4htArgs, {"htlatex", "", "paper", "", "\"html,info\"", ""});
        QVERIFY(Writebat(f.ctx, QString(), "tex4ht"));
        QVERIFY(test::readAll(f.ctx.batchDriverPath())
                    .contains("\nset cmdline=htlatex %2 \"html,info\" \n"));

        const Run r = f.run({"tex4ht", "paper"}, out);
        QVERIFY2(r.finished, r.output.constData());
        QCOMPARE(r.exitCode, 0);
        QVERIFY(test::readAll(out + "/paper.html").contains("Hello"));
        QVERIFY(QFile::exists(out + "/paper.log"));
        QVERIFY(!r.output.contains("Press Enter"));
    }

    void tex4htPauseWaitsForEnter() {
        Fixture f;
        QVERIFY(writeFile(f.path("paper.tex"), kPaper));
        f.model.setTag(ctl::txt3Locked, "no");
        f.model.setText(ctl::txt3, "latex -interaction=nonstopmode %2");
        QVERIFY(Writebat(f.ctx, QString(), "tex4ht"));

        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.setWorkingDirectory(f.dir());
        p.start("/bin/sh", {f.ctx.batchDriverPath(), "tex4ht", "paper", "pause"});
        QVERIFY(p.waitForStarted());
        QByteArray output;
        while (!output.contains("Press Enter to continue.") && p.state() == QProcess::Running &&
               p.waitForReadyRead(kRunTimeout))
            output += p.readAll();
        QVERIFY2(output.contains("Press Enter to continue."), output.constData());
        // The converter has ended, the script waits for the key.
        QVERIFY(QFile::exists(f.path("paper.dvi")));
        QCOMPARE(p.state(), QProcess::Running);
        p.write("\n");
        QVERIFY(p.waitForFinished(kRunTimeout));
        QCOMPARE(p.exitCode(), 0);
    }

    void latex2html() {
        Fixture f;
        QVERIFY(writeFile(f.path("paper.tex"), kPaper));
        // Not LaTeX2HTML's default folder: the result shows that the init file
        // the route writes was read.
        const QString out = f.path("web");
        QVERIFY(QDir(f.dir()).mkdir("web"));
        // The init file as the LaTeX2HTML route writes it.
        QVERIFY(writeFile(f.home.file("LaTeX2HTML.init"),
                          "# Automatic settings\n$DESTDIR = '" + out.toUtf8() +
                              "';\n$IMAGE_TYPE = 'png';\n\n\n# User settings\n"));
        QVERIFY(Writebat(f.ctx, QString(), "l2h"));
        const Run r = f.run({"latex2html", f.path("paper.tex")}, f.dir());
        QVERIFY2(r.finished, r.output.constData());
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(QFile::exists(out + "/index.html"), r.output.constData());
        // LaTeX2HTML's messages end up in the images log of the output folder.
        QVERIFY(test::readAll(out + "/images.log").contains("This is LaTeX2HTML"));
        QVERIFY(r.output.contains("This is LaTeX2HTML"));
    }

    void gspdfIsNotAvailable() {
        Fixture f;
        QVERIFY(Writebat(f.ctx, QString::fromUtf8("pdfmakegstc.bat paper 3 /x£/x/"), "gspdf"));
        const Run r = f.run({"gspdf"}, f.dir());
        QVERIFY(r.finished);
        QVERIFY(r.exitCode != 0);
        QVERIFY(r.output.contains("TrueTeX is not available on Linux"));
    }

    void brokenDocumentEndsTheRun_data() {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("commandBox"); // an unlocked txt3 when not empty
        QTest::newRow("dvi") << "dvi"
                             << "%DIR%/broken.tex" << QString();
        QTest::newRow("pdf") << "pdf"
                             << "%DIR%/broken.tex" << QString();
        QTest::newRow("texify") << "texify"
                                << "broken" << QString();
        QTest::newRow("tex4ht") << "tex4ht"
                                << "broken" << QString();
        // A hand-written command without a non-stop mode.
        QTest::newRow("tex4ht, plain latex typed in") << "tex4ht"
                                                      << "broken"
                                                      << "latex %2";
    }

    void brokenDocumentEndsTheRun() {
        QFETCH(QString, route);
        QFETCH(QString, argument);
        QFETCH(QString, commandBox);
        Fixture f;
        QVERIFY(writeFile(f.path("broken.tex"), kReadsTerminal));
        f.model.setItems(ctl::tex4htArgs, {"htlatex", "", "broken", "", "", ""});
        if (!commandBox.isEmpty()) {
            f.model.setTag(ctl::txt3Locked, "no");
            f.model.setText(ctl::txt3, commandBox);
        }
        QVERIFY(Writebat(f.ctx, QString(), route == "tex4ht" ? "tex4ht" : "texify"));
        // Standard input stays open: only the script's own redirection keeps
        // TeX from waiting at its prompt.
        const Run r = f.run({route, argument.replace("%DIR%", f.dir())}, f.dir(), false);
        QVERIFY2(r.finished, r.output.constData());
    }

    void namesAreSingleArgumentsAndNeverRun_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("blanks") << "my paper";
        QTest::newRow("command substitution") << "$(touch pwned)";
        QTest::newRow("backquotes and semicolon") << "a;`touch pwned`;b";
        QTest::newRow("leading dash") << "-paper";
        QTest::newRow("double quotes") << "say \"hi\"";
        QTest::newRow("newline") << "two\nlines";
    }

    void namesAreSingleArgumentsAndNeverRun() {
        QFETCH(QString, name);
        Fixture f;
        QVERIFY(writeFile(f.path(name + ".tex"), kPaper));
        f.model.setChecked(ctl::chkHacha, true);
        QVERIFY(Writebat(f.ctx, QString(), "hevea"));
        const Run hevea = f.run({"hevea", name}, f.dir());
        QVERIFY(hevea.finished);
        QCOMPARE(hevea.exitCode, 0);
        QVERIFY(QFile::exists(f.path(name + ".html")));
        QVERIFY(QFile::exists(f.path("index.html")));
        QVERIFY(test::readAll(f.path(name + ".hlog")).contains("nowhere"));

        const Run dvi = f.run({"dvi", f.path(name + ".tex")}, f.dir());
        QVERIFY(dvi.finished);
        QVERIFY(!QFile::exists(f.path("pwned")));
        QVERIFY(!QFile::exists(f.home.file("pwned")));
        QVERIFY(!QFile::exists(QDir::current().filePath("pwned")));
    }

    void commandLineIsSplitNotEvaluated() {
        Fixture f;
        f.model.setTag(ctl::txt3Locked, "no");
        f.model.setText(ctl::txt3, "printf [%s]\\n %2 \"a b\" \"\" $(touch pwned) ;`touch pwned2` "
                                   "\"$HOME\" *");
        QVERIFY(Writebat(f.ctx, QString(), "tex4ht"));
        const Run r = f.run({"tex4ht", "my \"doc\" $x"}, f.dir());
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.output, QByteArray("[my \"doc\" $x]\n[a b]\n[]\n[$(touch]\n[pwned)]\n"
                                      "[;`touch]\n[pwned2`]\n[$HOME]\n[*]\n"));
        QVERIFY(!QFile::exists(f.path("pwned")));
        QVERIFY(!QFile::exists(f.path("pwned2")));
    }

    void settingsReachTheEnvironment() {
        Fixture f;
        f.ctx.settings.vars.tex4ht = "/opt/one;/opt/two";
        f.model.setTag(ctl::txt3Locked, "no");
        f.model.setText(ctl::txt3, "env");
        QVERIFY(Writebat(f.ctx, QString(), "tex4ht"));
        const Run r = f.run({"tex4ht", "paper"}, f.dir());
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 0);
        QByteArray path;
        for (const QByteArray& line : r.output.split('\n'))
            if (line.startsWith("PATH="))
                path = line.mid(5);
        // The folders chosen in Program Locations come first.
        QVERIFY2(path.startsWith("/opt/one:/opt/two:"), path.constData());
        // No empty entry: it would run programs from the document's folder.
        QVERIFY(!path.contains("::"));
        QVERIFY(!path.startsWith(':'));
        QVERIFY(r.output.contains("\nGS_LIB=" + f.ctx.settings.vars.gsLib.toUtf8()));
        QVERIFY(r.output.contains("\nMAGICK_CONFIGURE_PATH=/etc/ImageMagick-6"));
    }

    // latex2html's messages are shown and appended to the images log of
    // the output folder its init file names ($DESTDIR, a Perl quoted
    // string), with its own exit status. In a run of Morvane's the messages
    // wait in the run's own folder; by hand, in a temporary file that goes.
    void latex2htmlMessagesReachTheImagesLog_data() {
        QTest::addColumn<QByteArray>("initLine");
        QTest::addColumn<QString>("outputFolder");
        QTest::addColumn<bool>("runFolder"); // MORVANE_RUN_FOLDER set
        QTest::newRow("no DESTDIR: named after the file") << QByteArray() << "paper" << true;
        QTest::newRow("plain DESTDIR") << QByteArray("$DESTDIR = 'out';\n") << "out" << true;
        QTest::newRow("quotes and backslashes")
            << QByteArray("$DESTDIR = 'a\\'b\\\\c';\n") << "a'b\\c" << true;
        QTest::newRow("CR LF line end") << QByteArray("$DESTDIR = 'out';\r\n") << "out" << true;
        QTest::newRow("run by hand") << QByteArray("$DESTDIR = 'out';\n") << "out" << false;
    }

    void latex2htmlMessagesReachTheImagesLog() {
        QFETCH(QByteArray, initLine);
        QFETCH(QString, outputFolder);
        QFETCH(bool, runFolder);
        Fixture f;
        // A latex2html that writes its own images log, then speaks on both
        // channels and fails; it is first in the script's PATH.
        QTemporaryDir programs, temporaries;
        QVERIFY(writeFile(programs.filePath("latex2html"),
                          "#!/bin/sh\nprintf 'own log\\n' >\"$IMAGES_LOG\"\n"
                          "echo said; echo warned >&2; exit 3\n"));
        QVERIFY(QFile::setPermissions(programs.filePath("latex2html"),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        f.ctx.settings.vars.gsLib = programs.path();
        QVERIFY(writeFile(f.home.file("LaTeX2HTML.init"), "1;\n" + initLine));
        QVERIFY(Writebat(f.ctx, QString(), "l2h"));
        QVERIFY(writeFile(f.path("paper.tex"), kPaper));
        QVERIFY(QDir(f.dir()).mkpath(outputFolder));
        const QString imagesLog = f.path(outputFolder + "/images.log");

        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("IMAGES_LOG", imagesLog);
        env.insert("TMPDIR", temporaries.path());
        if (runFolder)
            env.insert("MORVANE_RUN_FOLDER", temporaries.path());
        else
            env.remove("MORVANE_RUN_FOLDER");
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.setStandardInputFile(QProcess::nullDevice());
        p.setWorkingDirectory(f.dir());
        p.start("/bin/sh", {f.ctx.batchDriverPath(), "latex2html", f.path("paper.tex")});
        QVERIFY(p.waitForFinished(kRunTimeout));
        QCOMPARE(p.exitCode(), 3);
        QCOMPARE(p.readAll(), QByteArray("said\nwarned\n"));
        QCOMPARE(test::readAll(imagesLog), QByteArray("own log\nsaid\nwarned\n"));
        // Kept in the run's folder (Morvane removes it with the folder), or
        // gone when the script ran by hand.
        QCOMPARE(QDir(temporaries.path()).entryList(QDir::Files).size(), runFolder ? 1 : 0);
    }

    void refusesBadCalls_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("unknown route")
            << QStringList{"word", "paper"} << QByteArray("unknown route");
        QTest::newRow("no file") << QStringList{"hevea"} << QByteArray("no file given");
    }

    void refusesBadCalls() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, message);
        Fixture f;
        const Run r = f.run(args, f.dir());
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.output.contains(message), r.output.constData());
    }

    // A script whose marker line or block end line was edited stops with a
    // message before it runs anything. (The end line ends the
    // here-document that holds the block: changed, it would take the rest
    // of the script into the block.)
    void alteredSettingsBlockStops_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("marker line changed")
            << QByteArray("REM Morvane will be writing text here automatically")
            << QByteArray("settings block is missing");
        QTest::newRow("end line changed")
            << QByteArray("REM ** End of the settings block; keep this line and the marker "
                          "line above.")
            << QByteArray("settings block's end line was changed");
    }

    void alteredSettingsBlockStops() {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, message);
        Fixture f;
        QByteArray text = test::readAll(f.ctx.batchDriverPath());
        QCOMPARE(text.count("\n" + line + "\n"), 1);
        text.replace("\n" + line + "\n", "\nREM ** something else\n");
        QVERIFY(writeFile(f.ctx.batchDriverPath(), text));
        QVERIFY(writeFile(f.path("paper.tex"), kPaper));
        const Run r = f.run({"dvi", f.path("paper.tex")}, f.dir());
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.output.contains(message), r.output.constData());
        QVERIFY(!QFile::exists(f.path("paper.dvi")));
    }
};

MORVANE_TEST_GUILESS_MAIN(TestConvertScript)
#include "tst_convertscript_e2e.moc"
