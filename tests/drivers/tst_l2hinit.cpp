// LaTeX2HTML's init file: the automatic part composed from the tab, the
// user's part kept byte for byte, and what Perl makes of the file.

#include "drivers/l2hinit.h"
#include "drivers/l2husersettings.h"
#include "pipeline/appcontext.h"
#include "settings/optionsmodel.h"
#include "support/doubles.h"
#include "support/testhome.h"
#include "support/testmain.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace morvane;
using namespace morvane::test;

Q_DECLARE_METATYPE(L2hInitOptions)

class TestL2hInit : public QObject {
    Q_OBJECT

private slots:
    void automaticPart_data() {
        QTest::addColumn<L2hInitOptions>("options");
        QTest::addColumn<QString>("dir");
        QTest::addColumn<QString>("expected");

        const QString head = "$DESTDIR = '/out/doc';\n$IMAGE_TYPE = 'png';\n";
        L2hInitOptions o;
        QTest::newRow("defaults") << o << "/out/doc" << head + "1;\n";
        o.imageType = "gif";
        o.navigation = false;
        QTest::newRow("gif without navigation")
            << o << "/out/doc"
            << "$DESTDIR = '/out/doc';\n$IMAGE_TYPE = 'gif';\n$NO_NAVIGATION = 1;\n1;\n";
        o = {};
        o.imageType = "svg";
        QTest::newRow("svg") << o << "/out/doc"
                             << "$DESTDIR = '/out/doc';\n$IMAGE_TYPE = 'svg';\n1;\n";
        o = {};
        o.splitDepth = "3";
        o.verbosity = "0";
        o.about = "None";
        QTest::newRow("depths and no about page")
            << o << "/out/doc" << head + "$MAX_SPLIT_DEPTH = 3;\n$VERBOSITY = 0;\n$INFO = 0;\n1;\n";
        o = {};
        o.about = "Made by Bob's script";
        o.address = "";
        o.title = "";
        QTest::newRow("typed about, empty address, empty title")
            << o << "/out/doc" << head + "$INFO = 'Made by Bob\\'s script';\n$ADDRESS = '';\n1;\n";
        o = {};
        o.title = "C:\\path's end\\";
        o.address = "two\nlines";
        QTest::newRow("quotes, backslashes and line breaks stay text")
            << o << "/out/doc"
            << head + "$ADDRESS = 'two lines';\n$TITLE = 'C:\\\\path\\'s end\\\\';\n1;\n";
        o = {};
        o.splitDepth = "1; system('x')";
        QTest::newRow("a depth that is no number is left out") << o << "/out/doc" << head + "1;\n";
        QTest::newRow("folder with an apostrophe")
            << L2hInitOptions{} << "/home/o'neil/out/doc"
            << "$DESTDIR = '/home/o\\'neil/out/doc';\n$IMAGE_TYPE = 'png';\n1;\n";
    }

    void automaticPart() {
        QFETCH(L2hInitOptions, options);
        QFETCH(QString, dir);
        QFETCH(QString, expected);
        QCOMPARE(automaticL2hSettings(options, dir), expected);
    }

    void userPart_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("user");
        QTest::newRow("after the marker and one line end")
            << QByteArray("# Automatic settings\n1;\n\n# User settings\n\n$A = 1;")
            << QByteArray("\n$A = 1;");
        QTest::newRow("windows line ends")
            << QByteArray("# Automatic settings\r\n1;\r\n\r\n# User settings\r\n$A = 1;\r\n")
            << QByteArray("$A = 1;\r\n");
        QTest::newRow("marker at the very end") << QByteArray("x\n# User settings") << QByteArray();
        QTest::newRow("marker text inside a value is no marker")
            << QByteArray("$TITLE = '# User settings';\n# User settings\n$B = 2;\n")
            << QByteArray("$B = 2;\n");
        QTest::newRow("a file of the user's own without marker is kept whole")
            << QByteArray("$HTML_VERSION = 4.0;\n") << QByteArray("$HTML_VERSION = 4.0;\n");
        QTest::newRow("an automatic part alone has no user part")
            << QByteArray("# Automatic settings\n$DESTDIR = '/x';\n1;\n") << QByteArray();
    }

    void userPart() {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, user);
        QCOMPARE(userPartOf(file), user);
    }

    void userPartSurvivesTenRewrites() {
        TestHome home(false);
        OptionsModel model;
        ScriptedPrompter prompter;
        AppContext ctx;
        ctx.programDir = home.path();
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        const QString init = l2hInitPath(ctx);

        QVERIFY(WriteInit(ctx, *ctx.model, "/out/first"));
        QCOMPARE(readUserSettings(init).value_or("unreadable"), QByteArray());

        const QByteArray user = "# mine\r\n$A = '\xe9t\xe9';\n\n\n$B = 1;  ";
        QVERIFY(writeInitFile(init, "1;\n", user));
        for (int i = 0; i < 10; ++i) {
            model.setText(ctl::cmbTitle, QString("Title %1").arg(i));
            QVERIFY(WriteInit(ctx, *ctx.model, "/out/doc"));
        }
        const QByteArray text = readAll(init);
        QVERIFY(text.endsWith("\n# User settings\n" + user));
        QVERIFY(text.contains("$TITLE = 'Title 9';"));
        QVERIFY(prompter.prompts().isEmpty());

        // A conversion with the settings of the one before leaves the file as
        // it is: no new file and no wait for the disk.
        const auto inodeOf = [](const QString& path) {
            struct stat st {};
            return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
        };
        const auto inode = inodeOf(init);
        QVERIFY(inode != 0);
        QVERIFY(WriteInit(ctx, *ctx.model, "/out/doc"));
        QCOMPARE(inodeOf(init), inode);
        QVERIFY(WriteInit(ctx, *ctx.model, "/out/other"));
        QVERIFY(inodeOf(init) != inode);
        QVERIFY(readAll(init).endsWith("\n# User settings\n" + user));
    }

    // Perl reads the values back as they were typed, and require accepts the
    // file whatever the last automatic setting is.
    void perlLoadsTheFile() {
        if (QStandardPaths::findExecutable("perl").isEmpty())
            QSKIP("perl is not installed");
        QTemporaryDir dir;
        L2hInitOptions o;
        o.verbosity = "0";
        o.title = "Bob's \\paper";
        const QString init = dir.filePath("LaTeX2HTML.init");
        QVERIFY(writeInitFile(init, automaticL2hSettings(o, "/a'b"), QByteArray()));
        QProcess perl;
        perl.start("perl", {"-e", "require $ARGV[0]; print \"$TITLE|$DESTDIR|$VERBOSITY\"", init});
        QVERIFY(perl.waitForFinished());
        QCOMPARE(perl.exitCode(), 0);
        QCOMPARE(perl.readAllStandardOutput(), QByteArray("Bob's \\paper|/a'b|0"));
    }

    void unwritableInitFileIsReported() {
        OptionsModel model;
        ScriptedPrompter prompter;
        AppContext ctx;
        ctx.programDir = "/nonexistent-morvane-home";
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        QVERIFY(!WriteInit(ctx, *ctx.model, "/out/doc"));
        QCOMPARE(prompter.prompts().size(), 1);
        QCOMPARE(prompter.prompts().at(0).title, QString("LaTeX2HTML Init File"));
        QVERIFY(prompter.prompts().at(0).text.startsWith(
            "Unable to write the LaTeX2HTML init file\n\n/nonexistent-morvane-home/"));
    }

    void syntaxCheck_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QStringList>("rules");
        QTest::addColumn<bool>("passes");
        const QString start = "You must start a line with $ for a setting\nor # for a comment.";
        const QString end = "You must end a line with ; unless it is a comment.";
        const int ok = int(Answer::Ok);
        const int cancel = int(Answer::Cancel);
        QTest::newRow("setting and comment")
            << "$A = 1;\n\n# note" << QList<int>{} << QStringList{} << true;
        QTest::newRow("no semicolon") << "$A = 1" << QList<int>{ok} << QStringList{end} << true;
        QTest::newRow("no dollar") << "A = 1;" << QList<int>{cancel} << QStringList{start} << false;
        QTest::newRow("neither, both asked")
            << "\nA = 1" << QList<int>{ok, ok} << QStringList{start, end} << true;
        QTest::newRow("cancel ends the check")
            << "A\nB" << QList<int>{cancel} << QStringList{start} << false;
    }

    void syntaxCheck() {
        QFETCH(QString, text);
        QFETCH(QList<int>, answers);
        QFETCH(QStringList, rules);
        QFETCH(bool, passes);
        ScriptedPrompter prompter;
        for (int a : answers)
            prompter.queueAnswer(Answer(a));
        QCOMPARE(checkUserSettingsSyntax(prompter, text), passes);
        QCOMPARE(prompter.prompts().size(), rules.size());
        const QStringList lines = text.split('\n');
        for (int i = 0; i < rules.size(); ++i) {
            const Prompt& p = prompter.prompts().at(i);
            const int number = text.startsWith('\n') ? 2 : 1;
            QCOMPARE(p.text, QString("Error in line %1:\n%2\n\n%3\n\nPress OK to continue or press "
                                     "Cancel to retype.\n\n")
                                 .arg(number)
                                 .arg(lines.at(number - 1), rules.at(i)));
            QCOMPARE(p.title, QString("Syntax Error"));
            QCOMPARE(p.buttons, Buttons::OkCancel);
            QCOMPARE(p.icon, Icon::Exclamation);
            QCOMPARE(p.defaultButton, Answer::Cancel);
        }
    }

    void savedSettingsAreAppended() {
        QTemporaryDir dir;
        const QString log = dir.filePath("Settings.txt");
        const QDateTime when(QDate(2026, 1, 2), QTime(3, 4));
        QVERIFY(appendSavedSettings(log, "$A = 1;", when));
        QVERIFY(appendSavedSettings(log, "$B = 2;", when));
        const QByteArray entry = "# User settings saved on " +
                                 QLocale::system().toString(when, QLocale::ShortFormat).toUtf8();
        QCOMPARE(readAll(log), entry + "\n\n$A = 1;\n\n" + entry + "\n\n$B = 2;\n\n");
        // A Settings.txt that cannot be written says why.
        QVERIFY(QDir().mkdir(dir.filePath("blocked")));
        QString error;
        QVERIFY(!appendSavedSettings(dir.filePath("blocked"), "$A = 1;", when, &error));
        QVERIFY(!error.isEmpty());
    }
};

MORVANE_TEST_GUILESS_MAIN(TestL2hInit)
#include "tst_l2hinit.moc"
