// The buttons that open the readme, the batch driver and the TeX file:
// which program is started with which file, and where each falls back.

#include "app/textfilecommands.h"
#include "pipeline/appcontext.h"
#include "settings/optionsmodel.h"
#include "support/doubles.h"
#include "support/testhome.h"

#include <QTest>

using namespace morvane;

namespace {

enum class Button { ReadMe, Batch, EditTex };

} // namespace

Q_DECLARE_METATYPE(Button)

class TestTextFileCommands : public QObject {
    Q_OBJECT
private slots:
    void programStarted_data() {
        QTest::addColumn<Button>("button");
        QTest::addColumn<QString>("editor");
        QTest::addColumn<QString>("texEditor");
        QTest::addColumn<bool>("associated"); // the desktop has a program for the file
        QTest::addColumn<QString>("file");    // relative to the program directory
        QTest::addColumn<QStringList>("started");
        QTest::addColumn<QStringList>("opened");
        const QString gedit = "/usr/bin/gedit";

        QTest::newRow("readme, no editor: the desktop's program")
            << Button::ReadMe << ""
            << "" << true << "readme.txt" << QStringList() << QStringList{"readme.txt"};
        QTest::newRow("readme, no editor, nothing associated: plain-text editor")
            << Button::ReadMe << ""
            << "" << false << "readme.txt" << QStringList{gedit, "readme.txt"}
            << QStringList{"readme.txt"};
        QTest::newRow("readme with an editor")
            << Button::ReadMe << "/opt/ed/my editor"
            << "" << true << "readme.txt" << QStringList{"/opt/ed/my editor", "readme.txt"}
            << QStringList();
        QTest::newRow("batch file, no editor: never the desktop, which would run it")
            << Button::Batch << ""
            << "" << true << "convert.sh" << QStringList{gedit, "convert.sh"} << QStringList();
        QTest::newRow("batch file with an editor")
            << Button::Batch << "/usr/bin/vim"
            << "/usr/bin/texmaker" << true << "convert.sh"
            << QStringList{"/usr/bin/vim", "convert.sh"} << QStringList();
        QTest::newRow("TeX file: the TeX editor first")
            << Button::EditTex << "/usr/bin/vim"
            << "/usr/bin/texmaker" << true << "my paper.tex"
            << QStringList{"/usr/bin/texmaker", "my paper.tex"} << QStringList();
        QTest::newRow("TeX file: the editor when there is no TeX editor")
            << Button::EditTex << "/usr/bin/vim"
            << "" << true << "my paper.tex" << QStringList{"/usr/bin/vim", "my paper.tex"}
            << QStringList();
        QTest::newRow("TeX file, no editors: the desktop's program")
            << Button::EditTex << ""
            << "" << true << "my paper.tex" << QStringList() << QStringList{"my paper.tex"};
        QTest::newRow("TeX file, no editors, nothing associated: plain-text editor")
            << Button::EditTex << ""
            << "" << false << "my paper.tex" << QStringList{gedit, "my paper.tex"}
            << QStringList{"my paper.tex"};
    }
    void programStarted() {
        QFETCH(Button, button);
        QFETCH(QString, editor);
        QFETCH(QString, texEditor);
        QFETCH(bool, associated);
        QFETCH(QString, file);
        QFETCH(QStringList, started);
        QFETCH(QStringList, opened);

        // A program directory with a blank: each path stays one argument.
        test::TestHome home(false);
        const QString dir = home.path() + "/program dir";
        const QString path = home.write("program dir/" + file, "text\n");
        auto full = [&](QStringList list) {
            for (QString& entry : list) {
                if (entry == file)
                    entry = path;
            }
            return list;
        };
        OptionsModel model;
        model.setText("cmbTeX", path);
        RecordingShell shell;
        shell.openResult = associated;
        ScriptedPrompter prompter;
        AppContext ctx;
        ctx.programDir = dir;
        ctx.model = &model;
        ctx.seams.shell = &shell;
        ctx.seams.prompter = &prompter;
        ctx.settings.vars.editor = editor;
        ctx.settings.vars.texEditor = texEditor;

        run(button, ctx);
        QCOMPARE(shell.started.isEmpty() ? QStringList() : shell.started.first(), full(started));
        QCOMPARE(shell.started.size(), started.isEmpty() ? 0 : 1);
        QCOMPARE(shell.opened, full(opened));
        QVERIFY(prompter.prompts().isEmpty());
    }

    void failedEditorFallsBack() {
        test::TestHome home(false);
        const QString readme = home.write("readme.txt", "text\n");
        OptionsModel model;
        RecordingShell shell;
        shell.startResult = false; // neither the editor nor the plain-text editor starts
        shell.openResult = false;
        ScriptedPrompter prompter;
        AppContext ctx;
        ctx.programDir = home.path();
        ctx.model = &model;
        ctx.seams.shell = &shell;
        ctx.seams.prompter = &prompter;
        ctx.settings.vars.editor = "/no/such/editor";
        cmdReadMe_Click(ctx);
        QCOMPARE(shell.started.size(), 2);
        QCOMPARE(shell.opened, QStringList{readme});
        QCOMPARE(prompter.prompts().size(), 1);
        QVERIFY(prompter.prompts().first().text.contains(readme));
    }

    void missingFileIsReportedNotOpened_data() {
        QTest::addColumn<Button>("button");
        QTest::newRow("readme") << Button::ReadMe;
        QTest::newRow("batch file") << Button::Batch;
        QTest::newRow("TeX file") << Button::EditTex;
    }
    void missingFileIsReportedNotOpened() {
        QFETCH(Button, button);
        test::TestHome home(false);
        OptionsModel model;
        model.setText("cmbTeX", home.file("gone.tex"));
        RecordingShell shell;
        ScriptedPrompter prompter;
        AppContext ctx;
        ctx.programDir = home.path();
        ctx.model = &model;
        ctx.seams.shell = &shell;
        ctx.seams.prompter = &prompter;
        ctx.settings.vars.editor = "/usr/bin/vim";
        run(button, ctx);
        QVERIFY(shell.started.isEmpty());
        QVERIFY(shell.opened.isEmpty());
        QCOMPARE(prompter.prompts().size(), 1);
        QVERIFY(prompter.prompts().first().text.startsWith("Can't find "));
    }

private:
    static void run(Button button, AppContext& ctx) {
        switch (button) {
        case Button::ReadMe:
            cmdReadMe_Click(ctx);
            break;
        case Button::Batch:
            cmdBatch_Click(ctx);
            break;
        case Button::EditTex:
            cmdEditTex_Click(ctx);
            break;
        }
    }
};

QTEST_GUILESS_MAIN(TestTextFileCommands)
#include "tst_textfilecommands.moc"
