#include "pipeline/appcontext.h"
#include "settings/optionsmodel.h"
#include "support/doubles.h"
#include "support/testhome.h"
#include "support/testmain.h"
#include "tex4ht/tex4htcommand.h"
#include "ui/tex4htadvanceddialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace morvane;

class TestTex4htAdvancedDialog : public QObject {
    Q_OBJECT

    OptionsModel model;
    ScriptedPrompter prompter;
    AppContext ctx;

    template <typename T> static T* child(QDialog& dialog, const char* name) {
        T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }

private slots:
    void init() {
        ctx = AppContext{};
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        prompter.clear();
        model.setTag(ctl::cmdAdvanced, QString());
        model.setTag(ctl::txt3, QString());
        model.setItems(ctl::tex4htArgs, {"htlatex", "", "paper", "", "", ""});
        model.setChecked(ctl::chkHtrun, false);
        model.setChecked(ctl::chkImages, false);
    }

    void formatFollowsConfigurationAndStatusBar() {
        Tex4htAdvancedDialog dialog(ctx);
        child<QCheckBox>(dialog, "chkConfig")->setChecked(true);
        child<QLineEdit>(dialog, "txtConfig")->setText("qvconfig");
        child<QCheckBox>(dialog, "chkUsepackage")->setChecked(true);
        child<QRadioButton>(dialog, "optFormat_4")->click();
        QCOMPARE(child<QPushButton>(dialog, "cmdConfig")->text(),
                 QString("Edit qvc&onfig-xhm.cfg"));
        QCOMPARE(child<QLineEdit>(dialog, "txtConfig")->text(), QString("qvconfig-xhm"));
        QCOMPARE(child<QLabel>(dialog, "StatusBar1_Panel2")->text(),
                 QString("\\usepackage[qvconfig-xhm,xhtml,mathml]{tex4ht}"));
        QVERIFY(child<QLabel>(dialog, "Label3")->text().startsWith("If the TeX file doesn't"));

        QVERIFY(!child<QCheckBox>(dialog, "chkNext")->isEnabled());
        child<QComboBox>(dialog, "cmbSections")->setCurrentIndex(2);
        QVERIFY(child<QCheckBox>(dialog, "chkNext")->isEnabled());

        dialog.accept();
        QCOMPARE(model.tag(ctl::txt3),
                 QString("\\usepackage[qvconfig-xhm,xhtml,mathml,2]{tex4ht}"));
        QCOMPARE(model.items(ctl::tex4htArgs).at(0), QString("ht latex"));
        QCOMPARE(model.tag(ctl::cmdAdvanced),
                 QString("$qvconfig-xhm,xhtml,mathml,2*ht latex^usepackage"));

        // Opened again, the dialog shows what was stored.
        Tex4htAdvancedDialog again(ctx);
        QVERIFY(child<QRadioButton>(again, "optFormat_4")->isChecked());
        QCOMPARE(child<QComboBox>(again, "cmbSections")->currentIndex(), 2);
    }

    void configButtonOpensTheEditor() {
        morvane::test::TestHome home(false);
        ctx.programDir = home.path();
        Tex4htAdvancedDialog dialog(ctx);
        child<QCheckBox>(dialog, "chkConfig")->setChecked(true);
        child<QRadioButton>(dialog, "optFormat_3")->click();
        bool shown = false;
        QTimer::singleShot(0, this, [&] {
            auto* editor = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(editor && editor != &dialog);
            shown = true;
            QVERIFY(child<QPlainTextEdit>(*editor, "txtConfig")
                        ->toPlainText()
                        .contains("QVCONFIG-XH is using"));
            child<QPushButton>(*editor, "cmdOK")->click();
        });
        child<QPushButton>(dialog, "cmdConfig")->click();
        QVERIFY(shown);
        QCOMPARE(child<QPushButton>(dialog, "cmdConfig")->property("tag").toString(),
                 QString("-xh"));
        QVERIFY(QFile::exists(home.file("qvconfig-xh.cfg")));
        QVERIFY(prompter.prompts().isEmpty());
    }

    void otherBatchNeedsAName() {
        Tex4htAdvancedDialog dialog(ctx);
        child<QCheckBox>(dialog, "ChkOther")->setChecked(true);
        QVERIFY(child<QLineEdit>(dialog, "txtBatch")->isEnabled());
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(prompter.prompts().size(), 1);
        QCOMPARE(prompter.prompts().at(0).text,
                 QString("You must put in the name of a batch file\n\nor uncheck 'Other batch "
                         "file'\n"));
        QCOMPARE(prompter.prompts().at(0).title, QString("Batch File"));
        QVERIFY(model.tag(ctl::cmdAdvanced).isEmpty());

        dialog.chooseBatchFile = [] { return QString("/opt/tools/mybatch.sh"); };
        child<QPushButton>(dialog, "cmdBrowse")->click();
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(model.items(ctl::tex4htArgs).at(0), QString("/opt/tools/mybatch.sh"));
    }

    void cancelChangesNothing() {
        model.setItems(ctl::tex4htArgs, {"htlatex", "", "paper", "", "\"html,3.2\"", ""});
        Tex4htAdvancedDialog dialog(ctx);
        QVERIFY(child<QRadioButton>(dialog, "optFormat_1")->isChecked());
        child<QRadioButton>(dialog, "optFont_2")->click();
        child<QCheckBox>(dialog, "chkOverlib")->setChecked(true);
        QCOMPARE(prompter.prompts().size(), 1);
        QCOMPARE(prompter.prompts().at(0).title, QString("OnMouseOver"));
        QCOMPARE(child<QLabel>(dialog, "StatusBar1_Panel1")->text(),
                 QString("htlatex \"html,3.2,mouseover\" \"unicode/!\""));
        dialog.reject();
        QVERIFY(model.tag(ctl::cmdAdvanced).isEmpty());
        QCOMPARE(model.items(ctl::tex4htArgs).at(4), QString("\"html,3.2\""));
    }
};

MORVANE_TEST_MAIN(TestTex4htAdvancedDialog)
#include "tst_tex4htadvanceddialog.moc"
