#include "pipeline/appcontext.h"
#include "settings/limitsettings.h"
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
#include <QSpinBox>
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

    void limitBoxes_data() {
        QTest::addColumn<int>("storedSeconds"); // 0: none stored, the default applies
        QTest::addColumn<int>("storedMB");
        QTest::addColumn<int>("shownMinutes");
        QTest::addColumn<int>("shownMB");
        QTest::addColumn<int>("typedMinutes"); // 0: left as shown
        QTest::addColumn<int>("typedMB");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("seconds"); // stored afterwards
        QTest::addColumn<int>("megabytes");
        const int half = defaultMemoryLimitMB();
        QTest::newRow("defaults shown; OK stores nothing")
            << 0 << 0 << 10 << half << 0 << 0 << "cmdOK" << 0 << 0;
        QTest::newRow("time changed") << 0 << 0 << 10 << half << 25 << 0 << "cmdOK" << 1500 << 0;
        QTest::newRow("memory changed")
            << 0 << 0 << 10 << half << 0 << 3000 << "cmdOK" << 0 << 3000;
        QTest::newRow("back to the default is stored")
            << 1200 << 3000 << 20 << 3000 << 10 << half << "cmdOK" << 600 << half;
        QTest::newRow("Cancel stores nothing")
            << 0 << 0 << 10 << half << 25 << 3000 << "cmdCancel" << 0 << 0;
        // Batch mode's seconds show as whole minutes and stay untouched.
        QTest::newRow("seconds shown rounded up")
            << 90 << 0 << 2 << half << 0 << 0 << "cmdOK" << 90 << 0;
    }
    void limitBoxes() {
        QFETCH(int, storedSeconds);
        QFETCH(int, storedMB);
        QFETCH(int, typedMinutes);
        QFETCH(int, typedMB);
        QFETCH(QString, button);
        Fixture f;
        f.ctx.settings.vars.timeLimitSeconds = storedSeconds;
        f.ctx.settings.vars.memoryLimitMB = storedMB;
        f.dialog = std::make_unique<MorePreferencesDialog>(f.ctx);
        auto* minutes = f.child<QSpinBox>("spnTimeLimit");
        auto* megabytes = f.child<QSpinBox>("spnMemoryLimit");
        QVERIFY(minutes && megabytes);
        QTEST(minutes->value(), "shownMinutes");
        QTEST(megabytes->value(), "shownMB");
        if (typedMinutes > 0)
            minutes->setValue(typedMinutes);
        if (typedMB > 0)
            megabytes->setValue(typedMB);
        f.child<QPushButton>(button)->click();
        QTEST(f.ctx.settings.vars.timeLimitSeconds, "seconds");
        QTEST(f.ctx.settings.vars.memoryLimitMB, "megabytes");
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
