// The configuration-file editor: what it opens with, Insert and Undo, Reset,
// OK, and the snippet commands with their questions.

#include "pipeline/appcontext.h"
#include "platform/prompter.h"
#include "support/doubles.h"
#include "support/testhome.h"
#include "support/testmain.h"
#include "tex4ht/codelibrary.h"
#include "tex4ht/configfile.h"
#include "ui/configfiledialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace morvane;
using namespace morvane::test;

class TestConfigFileDialog : public QObject {
    Q_OBJECT

    OptionsModel model;
    ScriptedPrompter prompter;
    RecordingShell shell;
    AppContext ctx;
    std::unique_ptr<TestHome> home;
    QStringList answers; // scripted input-box answers; an empty string cancels
    QStringList asked;   // the prompts the input box showed

    template <typename T> static T* child(QDialog& dialog, const char* name) {
        T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }

    std::unique_ptr<ConfigFileDialog> open(const QString& file) {
        auto dialog = std::make_unique<ConfigFileDialog>(ctx, file);
        dialog->askText = [this](const QString& prompt, const QString&,
                                 const QString& proposed) -> std::optional<QString> {
            asked << prompt + "|" + proposed;
            const QString answer = answers.isEmpty() ? QString() : answers.takeFirst();
            return answer.isEmpty() ? std::nullopt : std::optional<QString>(answer);
        };
        return dialog;
    }

    static void press(QWidget* widget, Qt::Key key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &event);
    }

    static void choose(QListWidget* list, const QString& name) {
        list->setCurrentItem(list->findItems(name, Qt::MatchExactly).value(0));
    }

    static void selectAll(QPlainTextEdit* edit) {
        QTextCursor cursor = edit->textCursor();
        cursor.select(QTextCursor::Document);
        edit->setTextCursor(cursor);
    }

private slots:
    void init() {
        home = std::make_unique<TestHome>(false);
        ctx = AppContext{};
        ctx.programDir = home->path();
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        ctx.seams.shell = &shell;
        prompter.clear();
        answers.clear();
        asked.clear();
    }

    void opensSkeletonAndLibrary() {
        home->write("CustomCode.txt", ";Custom Tex4ht Code\n\n[Meta]\nm\n[Nav]\nn\n");
        auto dialog = open("qvconfig-mz.cfg");
        QCOMPARE(dialog->windowTitle(), QString("Configuration File"));
        QCOMPARE(child<QPlainTextEdit>(*dialog, "txtConfig")->toPlainText(), configSkeleton("-mz"));
        QCOMPARE(child<QLabel>(*dialog, "lblExplain")->text(),
                 configExplanation("qvconfig-mz.cfg"));
        QListWidget* list = child<QListWidget>(*dialog, "lstCode");
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(1)->text(), QString("Nav"));
    }

    void insertAndUndo() {
        home->write("CustomCode.txt", ";Custom Tex4ht Code\n\n[Meta]\nm\n");
        auto dialog = open("qvconfig.cfg");
        QPlainTextEdit* text = child<QPlainTextEdit>(*dialog, "txtConfig");
        const QString before = text->toPlainText();
        child<QRadioButton>(*dialog, "optPlace_2")->setChecked(true);
        choose(child<QListWidget>(*dialog, "lstCode"), "Meta");
        press(child<QListWidget>(*dialog, "lstCode"), Qt::Key_Return);
        QCOMPARE(text->toPlainText().split('\n').value(8), QString("m"));
        child<QPushButton>(*dialog, "cmdUndo")->click();
        QCOMPARE(text->toPlainText(), before);
        child<QPushButton>(*dialog, "cmdUndo")->click();
        QCOMPARE(text->toPlainText(), before);
    }

    void resetToSkeletonLeavesFileUntilOk() {
        const QString file = home->write("qvconfig-xh.cfg", "saved\r\ncode\r\n");
        auto dialog = open("qvconfig-xh.cfg");
        QPlainTextEdit* text = child<QPlainTextEdit>(*dialog, "txtConfig");
        QCOMPARE(text->toPlainText(), QString("saved\ncode\n"));
        prompter.queueAnswer(Answer::No);
        child<QPushButton>(*dialog, "cmdReset")->click();
        QCOMPARE(prompter.prompts().value(0),
                 (Prompt{"Press\n\nYes\tRevert to previously saved code\nNo\tShow only "
                         "skeleton code\nCancel\tDo nothing",
                         "Reset Code", Buttons::YesNoCancel, Icon::Question, Answer::Yes}));
        QCOMPARE(text->toPlainText(), configSkeleton("-xh"));
        QCOMPARE(readAll(file), QByteArray("saved\r\ncode\r\n"));

        child<QPushButton>(*dialog, "cmdOK")->click();
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(dialog->suffix(), QString("-xh"));
        QCOMPARE(readAll(file), (configSkeleton("-xh") + "\n").toUtf8());
    }

    void resetWithoutSavedFileAsksForSkeleton() {
        auto dialog = open("qvconfig.cfg");
        child<QPlainTextEdit>(*dialog, "txtConfig")->setPlainText("edited");
        prompter.queueAnswer(Answer::Yes);
        child<QPushButton>(*dialog, "cmdReset")->click();
        QCOMPARE(prompter.prompts().value(0).text,
                 QString("No previous version of qvconfig.cfg has been found.\n\nDo you wish to "
                         "show the skeleton code?\n\n"));
        QCOMPARE(child<QPlainTextEdit>(*dialog, "txtConfig")->toPlainText(), configSkeleton(""));
    }

    void saveSelectedCode() {
        auto dialog = open("qvconfig.cfg");
        QPlainTextEdit* text = child<QPlainTextEdit>(*dialog, "txtConfig");
        child<QPushButton>(*dialog, "cmdSave")->click();
        QCOMPARE(prompter.prompts().value(0),
                 (Prompt{"No code selected.\n\nHighlight the code you want to save.",
                         "Save Selected Code", Buttons::Ok, Icon::Exclamation, Answer::Ok}));
        QVERIFY(asked.isEmpty());
        QVERIFY(!QFile::exists(codeLibraryPath(ctx.programDir)));

        text->setPlainText("a\nb");
        selectAll(text);
        answers << "Mine";
        child<QPushButton>(*dialog, "cmdSave")->click();
        QVERIFY(asked.value(0).endsWith("Morvane's directory.|Code1"));
        QCOMPARE(readAll(codeLibraryPath(ctx.programDir)),
                 QByteArray(";Custom Tex4ht Code\n\n[Mine]\na\nb\n"));
        QCOMPARE(child<QListWidget>(*dialog, "lstCode")->count(), 1);

        // The same name in other case asks first; No keeps the old code.
        prompter.clear();
        answers << "MINE";
        prompter.queueAnswer(Answer::No);
        child<QPushButton>(*dialog, "cmdSave")->click();
        QCOMPARE(prompter.prompts().value(0),
                 (Prompt{"The code MINE already exists. \n Replace existing file?", "Save",
                         Buttons::YesNo, Icon::Exclamation, Answer::No}));
        QCOMPARE(snippetNames(readCodeLibrary(codeLibraryPath(ctx.programDir))),
                 QStringList({"Mine"}));
    }

    void renameAndDelete() {
        home->write("CustomCode.txt", ";Custom Tex4ht Code\n\n[A]\na\n[B]\nb\n");
        auto dialog = open("qvconfig.cfg");
        QListWidget* list = child<QListWidget>(*dialog, "lstCode");
        choose(list, "A");
        answers << "b"
                << "C";
        press(list, Qt::Key_F2);
        QCOMPARE(asked, QStringList({"Type a new name to replace A|A",
                                     "b has already been used.\nChoose a different name to "
                                     "replace A|A"}));
        QCOMPARE(snippetNames(readCodeLibrary(codeLibraryPath(ctx.programDir))),
                 QStringList({"C", "B"}));

        choose(list, "B");
        press(list, Qt::Key_Delete); // answered with the default, No
        QCOMPARE(prompter.prompts().value(0),
                 (Prompt{"Are you sure you want to delete B?", "Confirm Delete Code",
                         Buttons::YesNo, Icon::Question, Answer::No}));
        QCOMPARE(list->count(), 2);
        prompter.queueAnswer(Answer::Yes);
        press(list, Qt::Key_Delete);
        QCOMPARE(snippetNames(readCodeLibrary(codeLibraryPath(ctx.programDir))),
                 QStringList({"C"}));
        QCOMPARE(list->count(), 1);
    }

    void manualOpensInEditorOrAsksToCreate() {
        auto dialog = open("qvconfig.cfg");
        prompter.queueAnswer(Answer::Cancel);
        child<QPushButton>(*dialog, "cmdManual")->click();
        QCOMPARE(prompter.prompts().value(0).title, QString("Create Manual"));
        QVERIFY(shell.started.isEmpty());

        const QString manual = home->write("tex4htcode.txt", "m\n");
        ctx.settings.vars.editor = "/opt/editor";
        child<QPushButton>(*dialog, "cmdManual")->click();
        QCOMPARE(shell.started.value(0), QStringList({"/opt/editor", manual}));
    }
};

MORVANE_TEST_MAIN(TestConfigFileDialog)
#include "tst_configfiledialog.moc"
