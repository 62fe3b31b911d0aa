// The init-file editor: what it shows, what OK, Cancel and Save write, and
// the two flags it keeps in the LaTeX2HTML tab's tags.

#include "drivers/l2hinit.h"
#include "pipeline/appcontext.h"
#include "settings/optionsmodel.h"
#include "support/doubles.h"
#include "support/testhome.h"
#include "support/testmain.h"
#include "ui/l2hinitdialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace morvane;
using namespace morvane::test;

class TestL2hInitDialog : public QObject {
    Q_OBJECT

    OptionsModel model;
    ScriptedPrompter prompter;
    RecordingShell shell;
    AppContext ctx;
    std::unique_ptr<TestHome> home;

    template <typename T> static T* child(QDialog& dialog, const char* name) {
        T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }

    QString initFile() const { return l2hInitPath(ctx); }

private slots:
    void init() {
        home = std::make_unique<TestHome>(false);
        ctx = AppContext{};
        ctx.programDir = home->path();
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        ctx.seams.shell = &shell;
        ctx.settings.vars.l2hSaveTo = "/out";
        prompter.clear();
        shell.started.clear();
        model.setText(ctl::cmbTeX, "/docs/my.paper.tex");
        model.setTag(ctl::cmdInit, "1");
        model.setTag(ctl::Label25, "0");
    }

    void showsBothPartsAndTheFlags() {
        QVERIFY(writeInitFile(initFile(), "old\n", "$A = 1;\r\n$B = 2;"));
        L2hInitDialog dialog(ctx, readUserSettings(initFile()).value());
        QCOMPARE(dialog.windowTitle(), QString("Adjust Init File (Advanced Settings)"));
        QVERIFY(child<QPlainTextEdit>(dialog, "txtAuto")->isReadOnly());
        QCOMPARE(child<QPlainTextEdit>(dialog, "txtAuto")->toPlainText(),
                 automaticL2hSettings(L2hInitOptions::from(model), "/out/my.paper"));
        QVERIFY(child<QPlainTextEdit>(dialog, "txtUser")->toPlainText().startsWith("$A = 1;"));
        QVERIFY(child<QCheckBox>(dialog, "chkSyntax")->isChecked());
        QVERIFY(!child<QCheckBox>(dialog, "chkPause")->isChecked());
        QVERIFY(!child<QPushButton>(dialog, "cmdOpen")->isEnabled());
        QVERIFY(child<QLabel>(dialog, "Label4")
                    ->text()
                    .startsWith("Press OK to save these settings in \n"));

        // OK without edits: the automatic part is renewed, the user's bytes stay.
        child<QCheckBox>(dialog, "chkPause")->setChecked(true);
        child<QPushButton>(dialog, "cmdOK")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(
            readAll(initFile()).startsWith("# Automatic settings\n$DESTDIR = '/out/my.paper';"));
        QVERIFY(readAll(initFile()).endsWith("\n# User settings\n$A = 1;\r\n$B = 2;"));
        QCOMPARE(model.tag(ctl::Label25), QString("1"));
        QVERIFY(prompter.prompts().isEmpty());
    }

    void failedCheckKeepsTheDialogOpen() {
        L2hInitDialog dialog(ctx, QByteArray());
        child<QPlainTextEdit>(dialog, "txtUser")->setPlainText("HTML = 4");
        prompter.queueAnswer(Answer::Cancel);
        dialog.show();
        child<QPushButton>(dialog, "cmdOK")->click();
        QVERIFY(dialog.isVisible());
        QVERIFY(!QFileInfo::exists(initFile()));
        QCOMPARE(prompter.prompts().size(), 1);
        dialog.close();
    }

    void uncheckedSyntaxWritesAsTypedAndIsKept() {
        L2hInitDialog dialog(ctx, QByteArray());
        child<QCheckBox>(dialog, "chkSyntax")->setChecked(false);
        child<QPlainTextEdit>(dialog, "txtUser")->setPlainText("HTML = 4");
        child<QPushButton>(dialog, "cmdOK")->click();
        QVERIFY(readAll(initFile()).endsWith("# User settings\nHTML = 4"));
        QCOMPARE(model.tag(ctl::cmdInit), QString("0"));
        QVERIFY(prompter.prompts().isEmpty());
    }

    void cancelWritesNothing() {
        L2hInitDialog dialog(ctx, QByteArray());
        child<QCheckBox>(dialog, "chkPause")->setChecked(true);
        child<QPushButton>(dialog, "cmdCancel")->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!QFileInfo::exists(initFile()));
        QCOMPARE(model.tag(ctl::Label25), QString("0"));
    }

    void saveCreatesSettingsTxtAndOpenShowsIt() {
        L2hInitDialog dialog(ctx, QByteArray());
        child<QPlainTextEdit>(dialog, "txtUser")->setPlainText("$A = 1;");
        child<QPushButton>(dialog, "cmdSave")->click();
        const QString log = home->file("Settings.txt");
        QVERIFY(readAll(log).startsWith("# User settings saved on "));
        QVERIFY(readAll(log).endsWith("\n\n$A = 1;\n\n"));
        QVERIFY(child<QPushButton>(dialog, "cmdOpen")->isEnabled());
        child<QPushButton>(dialog, "cmdOpen")->click();
        QCOMPARE(shell.started, (QList<QStringList>{{shell.notepadProgram, log}}));
    }

    void unwritableSettingsTxtIsReported() {
        QVERIFY(QDir().mkdir(home->file("Settings.txt")));
        L2hInitDialog dialog(ctx, QByteArray());
        child<QPushButton>(dialog, "cmdSave")->click();
        QCOMPARE(prompter.prompts().size(), 1);
        QCOMPARE(prompter.prompts().at(0).title, QString("Save Settings"));
        QVERIFY(prompter.prompts().at(0).text.startsWith("Unable to save the settings in\n\n"));
    }
};

MORVANE_TEST_MAIN(TestL2hInitDialog)
#include "tst_l2hinitdialog.moc"
