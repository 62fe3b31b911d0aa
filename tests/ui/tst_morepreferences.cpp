#include "pipeline/appcontext.h"
#include "settings/optionsmodel.h"
#include "support/doubles.h"
#include "support/testhome.h"
#include "support/testmain.h"
#include "ui/morepreferencesdialog.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

using namespace morvane;

namespace {

struct Fixture {
    test::TestHome home{false};
    OptionsModel model;
    ScriptedPrompter prompter;
    AppContext ctx;
    std::unique_ptr<MorePreferencesDialog> dialog;

    Fixture() {
        ctx.programDir = home.path();
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        ctx.settings.vars.scrollFraction = 0.03;
        ctx.settings.vars.editor = "/usr/bin/old-editor";
        dialog = std::make_unique<MorePreferencesDialog>(ctx);
    }
    template <typename T> T* child(const QString& name) const {
        return dialog->findChild<T*>(name);
    }
};

} // namespace

class TestMorePreferences : public QObject {
    Q_OBJECT
private slots:
    void percentBox_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("spinner");
        QTest::addColumn<double>("fraction");
        QTest::newRow("7") << "7" << 7 << 0.07;
        QTest::newRow("0 disables") << "0" << 0 << 0.0;
        QTest::newRow("75 counts as 50") << "75" << 50 << 0.5;
        QTest::newRow("not a number counts as 0") << "abc" << 0 << 0.0;
        QTest::newRow("leading number") << "12%" << 12 << 0.12;
    }
    void percentBox() {
        QFETCH(QString, typed);
        Fixture f;
        QCOMPARE(f.child<QLineEdit>("txtAmount")->text(), QStringLiteral("3"));
        f.child<QLineEdit>("txtAmount")->setText(typed);
        QTEST(f.child<QScrollBar>("VScroll")->value(), "spinner");
        QTEST(f.ctx.settings.vars.scrollFraction, "fraction");
    }

    void spinnerFillsTheBoxAndCancelRestores() {
        Fixture f;
        f.child<QScrollBar>("VScroll")->setValue(20);
        QCOMPARE(f.child<QLineEdit>("txtAmount")->text(), QStringLiteral("20"));
        QCOMPARE(f.ctx.settings.vars.scrollFraction, 0.2);
        f.child<QPushButton>("cmdCancel")->click();
        QCOMPARE(f.ctx.settings.vars.scrollFraction, 0.03);
    }

    void missingEditorBlocksOk() {
        Fixture f;
        f.dialog->show();
        f.child<QLineEdit>("txtEditor")->setText("/no/such/editor");
        f.child<QCheckBox>("chkLongName")->setChecked(true);
        f.child<QPushButton>("cmdOK")->click();
        QCOMPARE(f.prompter.prompts().size(), 1);
        QCOMPARE(f.prompter.prompts().first(),
                 (Prompt{"Can't find /no/such/editor\n", "Text Editor", Buttons::Ok, Icon::Critical,
                         Answer::Ok}));
        QVERIFY(f.dialog->isVisible());
        QCOMPARE(f.ctx.settings.vars.editor, QStringLiteral("/usr/bin/old-editor"));
        QVERIFY(!f.ctx.settings.vars.longFileName);

        // A file that is no program is refused too.
        const QString text = f.home.write("notes.txt", "x");
        f.child<QLineEdit>("txtEditor")->setText(text);
        f.child<QPushButton>("cmdOK")->click();
        QCOMPARE(f.prompter.prompts().last().text, "Can't run " + text + "\n");

        // An empty box means the default editor.
        f.child<QLineEdit>("txtEditor")->clear();
        f.child<QPushButton>("cmdOK")->click();
        QVERIFY(!f.dialog->isVisible());
        QVERIFY(f.ctx.settings.vars.editor.isEmpty());
        QVERIFY(f.ctx.settings.vars.longFileName);
    }

    void browseTakesTheChosenProgram() {
        Fixture f;
        QStringList titles;
        f.dialog->chooseFile = [&](const QString& title, const QString&) {
            titles.append(title);
            return QStringLiteral("/usr/bin/sh");
        };
        f.child<QPushButton>("cmdBrowseTex")->click();
        QCOMPARE(titles, QStringList{"Choose a TeX editor"});
        QCOMPARE(f.child<QLineEdit>("txtTexEditor")->text(), QStringLiteral("/usr/bin/sh"));
        f.child<QPushButton>("cmdOK")->click();
        QCOMPARE(f.ctx.settings.vars.texEditor, QStringLiteral("/usr/bin/sh"));
    }
};

MORVANE_TEST_MAIN(TestMorePreferences)
#include "tst_morepreferences.moc"
