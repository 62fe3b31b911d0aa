#include "fixupfixture.h"
#include "fixups/tex4htpackage.h"
#include "settings/controlnames.h"
#include "support/doubles.h"
#include "support/testmain.h"

#include <QTest>

using namespace morvane;
using morvane::test::FixupFixture;

Q_DECLARE_METATYPE(morvane::Answer)
Q_DECLARE_METATYPE(morvane::PackageAnswer)

namespace {

// The working copy is out/temp.tex; the user's own file is src/doc.tex.
struct PackageFixture : FixupFixture {
    PackageFixture() {
        ctx.seams.prompter = &prompter;
        ctx.settings.vars.checkForUsePackage = true;
        model.setText(ctl::cmbTeX, write("src/doc.tex", "user's own"));
        model.setItems(ctl::tex4htArgs, {"htlatex", "", "doc", "1", "\"html,2\""});
        QDir().mkpath(path("out"));
    }
    QString copy() const { return path("out/temp.tex"); }
    QStringList outputFiles() const {
        return QDir(path("out")).entryList(QDir::Files | QDir::Hidden);
    }
    ScriptedPrompter prompter;
};

const QString removeQuestion =
    "The following line has been found in the tex file:\n\n\\usepackage{tex4ht}\n\n"
    "If you want to use htlatex this line ought to be removed.\n\n"
    "Changes are only made to a copy, not to the original file\n\n"
    "Yes:\tRemove the line\nNo:\tKeep tex file as it is, ignoring output format\n"
    "Cancel:\tCancel file conversion\n\n\n";
const QString replaceQuestion =
    "The following line has been found in the tex file:\n\n\\usepackage{tex4ht}\n\n"
    "Do you wish to remove this line and use:\n\n\\usepackage[html]{tex4ht}\n\n"
    "Changes are only made to a copy, not to the original file\n\n"
    "Yes:\tReplace with new options\nNo:\tKeep tex file as it is, ignoring new options\n"
    "Cancel:\tCancel file conversion\n\n\n";
const QString swphtQuestion =
    "The graphics in this file may not convert properly to HTML.\n"
    " Would you like Morvane to use the swpht package to \nwork around this problem?\n\n"
    "No changes are made to the original tex file.\n\n"
    "Yes:\tMake the changes and convert\nNo:\tDon't make any changes and convert\n"
    "Cancel:\tCancel conversion\n\n";

} // namespace

class TestTex4htPackage : public QObject {
    Q_OBJECT
private slots:
    void packageQuestion_data() {
        QTest::addColumn<QString>("wanted");
        QTest::addColumn<QString>("htrunSwitch");
        QTest::addColumn<Answer>("reply");
        QTest::addColumn<QString>("text"); // the whole question, or a line of it
        QTest::addColumn<PackageAnswer>("answer");
        QTest::addColumn<bool>("kept");
        QTest::newRow("remove, Yes")
            << ""
            << "" << Answer::Yes << removeQuestion << PackageAnswer::Replace << false;
        QTest::newRow("replace, No")
            << "\\usepackage[html]{tex4ht}"
            << "" << Answer::No << replaceQuestion << PackageAnswer::Keep << true;
        QTest::newRow("replace, Cancel")
            << "\\usepackage[html]{tex4ht}"
            << "" << Answer::Cancel << replaceQuestion << PackageAnswer::Cancel << false;
        QTest::newRow("htrun xhtml")
            << ""
            << "-xh" << Answer::Yes
            << "If you want to use htrun to output in xhtml format this line needs to be removed."
            << PackageAnswer::Replace << false;
        QTest::newRow("htrun mathml") << ""
                                      << "-xhm" << Answer::Yes << "output in mathml format"
                                      << PackageAnswer::Replace << false;
        QTest::newRow("htrun mozilla") << ""
                                       << "-mz" << Answer::Yes << "output in mozilla format"
                                       << PackageAnswer::Replace << false;
        QTest::newRow("htrun other switch")
            << ""
            << "-x" << Answer::Yes << "output in  format" << PackageAnswer::Replace << false;
    }
    void packageQuestion() {
        QFETCH(QString, wanted);
        QFETCH(QString, htrunSwitch);
        QFETCH(Answer, reply);
        QFETCH(QString, text);
        QFETCH(PackageAnswer, answer);
        QFETCH(bool, kept);
        PackageFixture f;
        f.model.setTag(ctl::txt3, wanted);
        f.model.setItems(ctl::tex4htArgs, {"htlatex", htrunSwitch, "doc", "1", ""});
        f.prompter.queueAnswer(reply);
        QCOMPARE(askAboutPackageLine(f.conv, "  \\usepackage{tex4ht} "), answer);
        QCOMPARE(f.conv.keptPackageLine, kept);
        QCOMPARE(f.prompter.prompts().size(), 1);
        const Prompt& prompt = f.prompter.prompts().first();
        if (text.endsWith("\n\n\n"))
            QCOMPARE(prompt.text, text);
        else
            QVERIFY2(prompt.text.contains(text), qPrintable(prompt.text));
        QCOMPARE(prompt.title, QString("Package Found"));
        QCOMPARE(prompt.buttons, Buttons::YesNoCancel);
        QCOMPARE(prompt.icon, Icon::Question);
        QCOMPARE(prompt.defaultButton, Answer::No);
    }

    void packageKeptWithoutAQuestion_data() {
        QTest::addColumn<bool>("checkPreference");
        QTest::addColumn<QString>("program");
        QTest::addColumn<bool>("kept");
        QTest::newRow("preference off") << false << "htlatex" << true;
        QTest::newRow("no program") << true << "" << false;
        QTest::newRow("line says what is wanted") << true << "htlatex" << false;
    }
    void packageKeptWithoutAQuestion() {
        QFETCH(bool, checkPreference);
        QFETCH(QString, program);
        QFETCH(bool, kept);
        PackageFixture f;
        f.ctx.settings.vars.checkForUsePackage = checkPreference;
        f.model.setTag(ctl::txt3, " \\usepackage[HTML]{tex4ht}");
        f.model.setItems(ctl::tex4htArgs, {program});
        const QString found =
            program.isEmpty() ? "\\usepackage{tex4ht}" : "\\usepackage[html]{tex4ht}  ";
        QCOMPARE(askAboutPackageLine(f.conv, found), PackageAnswer::Keep);
        QCOMPARE(f.conv.keptPackageLine, kept);
        QVERIFY(f.prompter.prompts().isEmpty());
    }

    void packageStep_data() {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QString>("wanted");
        QTest::addColumn<Answer>("reply");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<bool>("result");
        QTest::addColumn<int>("questions");
        const QByteArray cls = "\\documentclass{article}\r\n";
        const QByteArray use = "\\usepackage{tex4ht}\n";
        const QByteArray begin = "\\begin{document}\nx\n";
        const QByteArray line = " \\usepackage[html]{tex4ht}\n";
        const QString wanted = "\\usepackage[html]{tex4ht}";
        QTest::newRow("commented line: inserted without a question")
            << "%" + use + cls + begin << wanted << Answer::Yes << "%" + use + cls + line + begin
            << true << 0;
        QTest::newRow("after begin document: not found")
            << cls + begin + use << wanted << Answer::Yes << cls + line + begin + use << true << 0;
        QTest::newRow("two lines replaced on Yes")
            << cls + use + "\\usepackage{tex4ht}\r\n" + begin << wanted << Answer::Yes
            << cls + line + " \\usepackage[html]{tex4ht}\r\n" + begin << true << 1;
        QTest::newRow("swpht replaced on Yes")
            << cls + "\\RequirePackage[x]{swpht}\n" + begin << wanted << Answer::Yes
            << cls + line + begin << true << 1;
        QTest::newRow("removed when nothing is wanted")
            << cls + use + begin << "" << Answer::Yes << cls + begin << true << 1;
        QTest::newRow("No keeps the copy")
            << cls + use + begin << wanted << Answer::No << cls + use + begin << true << 1;
        QTest::newRow("Cancel stops")
            << cls + use + begin << wanted << Answer::Cancel << cls + use + begin << false << 1;
        QTest::newRow("nothing wanted, nothing found")
            << cls + begin << "" << Answer::Yes << cls + begin << true << 0;
        QTest::newRow("plain TeX gets nothing")
            << QByteArray("\\input x\n\\bye\n") << wanted << Answer::Yes
            << QByteArray("\\input x\n\\bye\n") << true << 0;
        QTest::newRow("only after the uncommented class line")
            << "%\\documentclass{book}\n" + cls + "\\documentclass{x}\n" + begin << wanted
            << Answer::Yes
            << "%\\documentclass{book}\n" + cls + line + "\\documentclass{x}\n" + begin << true
            << 0;
        QTest::newRow("class line over two lines")
            << QByteArray("\\documentclass[a4paper,\n12pt]{article}\n") + begin << wanted
            << Answer::Yes
            << QByteArray("\\documentclass[a4paper,\n12pt]{article}\n") + line + begin << true << 0;
        QTest::newRow("class line without a line end")
            << QByteArray("\\documentclass{article}") << wanted << Answer::Yes
            << "\\documentclass{article}\n" + line << true << 0;
        QTest::newRow("package line on line 150 is not found")
            << cls + QByteArray(148, '\n') + use + begin << wanted << Answer::Yes
            << cls + line + QByteArray(148, '\n') + use + begin << true << 0;
    }
    void packageStep() {
        QFETCH(QByteArray, document);
        QFETCH(QString, wanted);
        QFETCH(Answer, reply);
        QFETCH(QByteArray, expected);
        QFETCH(bool, result);
        QFETCH(int, questions);
        PackageFixture f;
        f.model.setTag(ctl::txt3, wanted);
        f.prompter.queueAnswer(reply);
        f.write("out/temp.tex", document);
        QCOMPARE(Addtex4ht(f.conv, f.path("out"), f.copy()), result);
        QCOMPARE(f.read("out/temp.tex"), expected);
        QCOMPARE(f.prompter.prompts().size(), questions);
        QCOMPARE(f.outputFiles(), QStringList{"temp.tex"});
        QCOMPARE(f.read("src/doc.tex"), QByteArray("user's own"));
    }

    void longPreamble() {
        PackageFixture f;
        f.model.setTag(ctl::txt3, "\\usepackage[html]{tex4ht}");
        QByteArray preamble = "\\documentclass{article}\n";
        for (int i = 0; i < 10000; ++i)
            preamble += "\\newcommand{\\c" + QByteArray::number(i) + "}{x}\r\n";
        f.write("out/temp.tex", preamble + "\\begin{document}\n");
        QVERIFY(Addtex4ht(f.conv, f.path("out"), f.copy()));
        QByteArray expected = preamble + "\\begin{document}\n";
        expected.insert(24, " \\usepackage[html]{tex4ht}\n");
        QCOMPARE(f.read("out/temp.tex"), expected);
    }

    void theUsersFileIsNeverWritten() {
        PackageFixture f;
        f.model.setTag(ctl::txt3, "\\usepackage[html]{tex4ht}");
        f.model.setChecked(ctl::chkSWP, true);
        f.conv.rawFrame = true;
        const QByteArray document = "\\documentclass{article}\n\\usepackage[french]{babel}\n";
        f.write("src/doc.tex", document);
        QVERIFY(Addtex4ht(f.conv, f.path("out"), f.path("src/doc.tex")));
        QVERIFY(babelAndSwpht(f.conv, f.path("out"), f.path("src/doc.tex")));
        QCOMPARE(f.read("src/doc.tex"), document);
        QVERIFY(f.prompter.prompts().isEmpty());
    }

    void swphtStep_data() {
        QTest::addColumn<bool>("swp");
        QTest::addColumn<bool>("rawFrame");
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QString>("wanted");
        QTest::addColumn<Answer>("reply");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<bool>("result");
        const QByteArray babel = "\\usepackage[french]{babel}";
        const QByteArray doc =
            "%\\documentclass{book}\n\\documentclass[a4paper,\r\n12pt]{article}\r\n"
            "\\usepackage{graphicx}\n  \\RequirePackage{swpht}\n" +
            babel + "\r\n\\begin{document}\n";
        const QByteArray head =
            "%\\documentclass{book}\n\\documentclass[a4paper,\r\n12pt]{article}\r\n";
        const QByteArray rest = "\\usepackage{graphicx}\n%  \\RequirePackage{swpht}\n%" + babel +
                                "\r\n\\begin{document}\n";
        QTest::newRow("Yes, options from the argument list")
            << true << true << doc << "" << Answer::Yes
            << head + " " + babel + "\n \\usepackage[yes,html,2]{swpht}\n" + rest << true;
        QTest::newRow("Yes, options in the package line")
            << true << true << doc << "\\usepackage[html]{tex4ht}" << Answer::Yes
            << head + " " + babel + "\n \\usepackage[yes]{swpht}\n" + rest << true;
        QTest::newRow("No") << true << true << doc << "" << Answer::No << doc << true;
        QTest::newRow("Cancel") << true << true << doc << "" << Answer::Cancel << doc << false;
        QTest::newRow("not a Scientific WorkPlace document")
            << false << true << doc << "" << Answer::Yes << doc << true;
        QTest::newRow("no bare frames") << true << false << doc << "" << Answer::Yes << doc << true;
        QByteArray german = doc;
        german.replace("french", "german");
        QTest::newRow("babel without French")
            << true << true << german << "" << Answer::Yes << german << true;
        QTest::newRow("no class line: babel stays") << true << true << babel + "\n"
                                                    << "" << Answer::Yes << babel + "\n"
                                                    << true;
    }
    void swphtStep() {
        QFETCH(bool, swp);
        QFETCH(bool, rawFrame);
        QFETCH(QByteArray, document);
        QFETCH(QString, wanted);
        QFETCH(Answer, reply);
        QFETCH(QByteArray, expected);
        QFETCH(bool, result);
        PackageFixture f;
        f.model.setChecked(ctl::chkSWP, swp);
        f.conv.rawFrame = rawFrame;
        f.model.setTag(ctl::txt3, wanted);
        f.prompter.queueAnswer(reply);
        f.write("out/temp.tex", document);
        QCOMPARE(babelAndSwpht(f.conv, f.path("out"), f.copy()), result);
        QCOMPARE(f.read("out/temp.tex"), expected);
        QCOMPARE(f.outputFiles(), QStringList{"temp.tex"});
        const bool asked =
            swp && rawFrame && document.contains("french") && document.contains("documentclass");
        if (!asked)
            return;
        QCOMPARE(f.prompter.prompts().size(), 1);
        QCOMPARE(f.prompter.prompts().first(),
                 (Prompt{swphtQuestion, "Graphics Frame Problem", Buttons::YesNoCancel,
                         Icon::Question, Answer::Yes}));
    }

    void packageLineOptions_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("options");
        QTest::newRow("options") << "\\usepackage[html,2]{tex4ht}"
                                 << "html,2";
        QTest::newRow("no closing bracket") << "\\usepackage[html,2"
                                            << "html,2";
        QTest::newRow("no options") << "\\usepackage{tex4ht}"
                                    << "";
        QTest::newRow("other case") << "\\UsePackage[html]{tex4ht}"
                                    << "";
        QTest::newRow("blank first") << " \\usepackage[html]{tex4ht}"
                                     << "";
    }
    void packageLineOptions() {
        QFETCH(QString, line);
        QFETCH(QString, options);
        QCOMPARE(packageLineOptionsOf(line), options);
    }
};

MORVANE_TEST_MAIN(TestTex4htPackage)
#include "tst_tex4htpackage.moc"
