// The buttons that open the readme, the batch driver and the TeX file:
// which program is started with which file, and where each falls back.

#include "app/textfilecommands.h"
#include "pipeline/appcontext.h"
#include "settings/optionsmodel.h"
#include "support/doubles.h"
#include "support/testhome.h"
#include "support/testmain.h"

#include <QTest>

using namespace morvane;

namespace {

enum class Button { ReadMe, Batch, EditTex };

struct Rig {
    OptionsModel model;
    RecordingShell shell;
    ScriptedPrompter prompter;
    AppContext ctx;
    Rig(const QString& programDir, const QString& texFile) {
        model.setText(ctl::cmbTeX, texFile);
        ctx.programDir = programDir;
        ctx.model = &model;
        ctx.seams.shell = &shell;
        ctx.seams.prompter = &prompter;
    }
    void press(Button button) {
        switch (button) {
        case Button::ReadMe:
            return cmdReadMe_Click(ctx);
        case Button::Batch:
            return cmdBatch_Click(ctx);
        case Button::EditTex:
            return cmdEditTex_Click(ctx);
        }
    }
};

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
        QTest::newRow("TeX file: the TeX editor first")
            << Button::EditTex << "/usr/bin/vim"
            << "/usr/bin/texmaker" << true << "my paper.tex"
            << QStringList{"/usr/bin/texmaker", "my paper.tex"} << QStringList();
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
        Rig rig(dir, path);
        rig.shell.openResult = associated;
        rig.ctx.settings.vars.editor = editor;
        rig.ctx.settings.vars.texEditor = texEditor;
        rig.press(button);
        QCOMPARE(rig.shell.started.isEmpty() ? QStringList() : rig.shell.started.first(),
                 full(started));
        QCOMPARE(rig.shell.started.size(), started.isEmpty() ? 0 : 1);
        QCOMPARE(rig.shell.opened, full(opened));
        QVERIFY(rig.prompter.prompts().isEmpty());
    }

    void missingFileIsReportedNotOpened_data() {
        QTest::addColumn<Button>("button");
        QTest::newRow("readme") << Button::ReadMe;
        QTest::newRow("TeX file") << Button::EditTex;
    }
    void missingFileIsReportedNotOpened() {
        QFETCH(Button, button);
        test::TestHome home(false);
        Rig rig(home.path(), home.file("gone.tex"));
        rig.ctx.settings.vars.editor = "/usr/bin/vim";
        rig.press(button);
        QVERIFY(rig.shell.started.isEmpty());
        QVERIFY(rig.shell.opened.isEmpty());
        QCOMPARE(rig.prompter.prompts().size(), 1);
        QVERIFY(rig.prompter.prompts().first().text.startsWith("Can't find "));
    }
};

MORVANE_TEST_GUILESS_MAIN(TestTextFileCommands)
#include "tst_textfilecommands.moc"
