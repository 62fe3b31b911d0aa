#include "app/configcommands.h"
#include "app/inicommands.h"
#include "app/optionhandlers.h"
#include "pipeline/appcontext.h"
#include "settings/optionsmodel.h"
#include "settings/profilefile.h"
#include "support/doubles.h"
#include "support/testhome.h"
#include "support/testmain.h"
#include "ui/configdialogs.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace morvane;

namespace {

const QString sep(26, QLatin1Char('-'));

struct Fixture {
    test::TestHome home{false};
    OptionsModel model;
    ScriptedPrompter prompter;
    AppContext ctx;

    explicit Fixture(const QByteArray& ini = {}) {
        home.write("Morvane.ini", ini);
        ctx.programDir = home.path();
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        model.setItems(ctl::File1, {"a.hva", "b.hva", "c.hva"});
        model.setItems(ctl::List1, {sep, "a.hva", "b.hva", "c.hva"});
    }
    QString ini(const QString& section, const QString& key) const {
        return readProfileString(home.file("Morvane.ini"), section, key, "<none>");
    }
};

template <typename T> T* child(QWidget& w, const QString& name) {
    T* found = w.findChild<T*>(name);
    if (!found)
        qWarning() << "no control" << name;
    return found;
}

QStringList texts(const QListWidget* list) {
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result.append(list->item(i)->text());
    return result;
}

} // namespace

class TestConfigDialogs : public QObject {
    Q_OBJECT
private slots:
    void saveRoundTrip() {
        Fixture f("[HeveaConfigs]\nConfig1=a.hva,text\nConfig3=b.hva,html\n");
        f.model.setItems(ctl::List1, {"c.hva", "a.hva", sep, "b.hva"});
        f.model.setText(ctl::txtExclude, "x.tex");
        QStringList suggestions;
        cmdSaveConfig_Click(f.ctx, [&](const QString& suggestion) {
            suggestions.append(suggestion);
            return ConfigNameChoice{" Mine ", true};
        });
        QCOMPARE(suggestions, QStringList{"Config2"});
        QCOMPARE(f.ini("HeveaConfigs", "Mine"), QStringLiteral("c.hva a.hva -e x.tex,html"));
        QCOMPARE(f.ini("Hevea", "DefaultConfig"), QStringLiteral("Mine"));
        QCOMPARE(f.ctx.settings.vars.defaultConfig, QStringLiteral("Mine"));

        // Applied again after a rebuilt list, the same combination comes back.
        f.model.setItems(ctl::List1, {sep, "a.hva", "b.hva", "c.hva"});
        f.model.setText(ctl::txtExclude, "");
        LoadDefaultConfig(f.ctx);
        QCOMPARE(f.model.items(ctl::List1), (QStringList{"c.hva", "a.hva", sep, "b.hva"}));
        QCOMPARE(f.model.text(ctl::txtExclude), QStringLiteral("x.tex"));
    }

    void existingNameInOtherCaseAsksFirst() {
        Fixture f("[HeveaConfigs]\nConfig1=a.hva,html\n");
        f.model.setItems(ctl::List1, {"b.hva", sep});
        f.prompter.queueAnswer(Answer::No);
        QStringList answers{"config1", "config1", ""};
        f.prompter.queueAnswer(Answer::Yes);
        int asked = 0;
        cmdSaveConfig_Click(f.ctx, [&](const QString& suggestion) {
            [&] { QCOMPARE(suggestion, QStringLiteral("Config2")); }();
            return ConfigNameChoice{answers.at(asked++), false};
        });
        QCOMPARE(asked, 2);
        QCOMPARE(f.prompter.prompts().size(), 2);
        QCOMPARE(f.prompter.prompts().first(),
                 (Prompt{"The name config1 already exists. \n \n Replace existing configuration?",
                         "Save Confiuration", Buttons::YesNo, Icon::Exclamation, Answer::No}));
        QCOMPARE(f.ini("HeveaConfigs", "Config1"), QStringLiteral("b.hva,html"));
        QCOMPARE(f.ini("Hevea", "DefaultConfig"), QStringLiteral("<none>"));
    }

    void emptyCombinationDeletes() {
        Fixture f("[Hevea]\nDefaultConfig=Mine\n[HeveaConfigs]\nMine=a.hva,html\n"
                  "Other=-e y.tex,html\nPlain=a.hva,text\n");
        f.ctx.settings.vars.defaultConfig = "mine";
        {
            SaveConfigDialog dialog(f.ctx, QString());
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Delete HTML Configuration"));
            auto* list = child<QComboBox>(dialog, "cmbDelete");
            QCOMPARE(list->count(), 2);
            QCOMPARE(list->itemText(0), QStringLiteral("Mine *"));
            QVERIFY(child<QLineEdit>(dialog, "txtName")->isHidden());
            child<QPushButton>(dialog, "cmdOK")->click();
            QCOMPARE(dialog.choice().name, QStringLiteral("Mine"));
            QVERIFY(dialog.choice().makeStartup);
        }
        cmdSaveConfig_Click(f.ctx, [](const QString& suggestion) {
            return suggestion.isEmpty() ? ConfigNameChoice{"Mine", true} : ConfigNameChoice{};
        });
        QCOMPARE(f.ini("HeveaConfigs", "Mine"), QStringLiteral("<none>"));
        QCOMPARE(f.ini("HeveaConfigs", "Other"), QStringLiteral("-e y.tex,html"));
        QCOMPARE(f.ini("Hevea", "DefaultConfig"), QString());
        QVERIFY(f.ctx.settings.vars.defaultConfig.isEmpty());
    }

    void saveDialogInSaveMode() {
        Fixture f;
        f.model.setIndex(ctl::optOutput, 2);
        SaveConfigDialog dialog(f.ctx, "Config4");
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Save Info Configuration"));
        QCOMPARE(child<QLineEdit>(dialog, "txtName")->text(), QStringLiteral("Config4"));
        child<QLineEdit>(dialog, "txtName")->setText("Slides");
        child<QPushButton>(dialog, "cmdOK")->click();
        QCOMPARE(dialog.choice().name, QStringLiteral("Slides"));
        QVERIFY(!dialog.choice().makeStartup);
    }

    void defaultConfigEdgeCases_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QString>("excluded");
        QTest::addColumn<int>("output");
        QTest::newRow("type and styles, a missing style placed too")
            << QByteArray(
                   "[Hevea]\nDefaultconfig=T\n[HeveaConfigs]\nT=c.hva gone.hva -e z.tex,text\n")
            << QStringList{"c.hva", "gone.hva", sep, "a.hva", "b.hva"} << "z.tex" << 1;
        QTest::newRow("value without a comma clears the excluded file only")
            << QByteArray("[Hevea]\nDefaultconfig=T\n[HeveaConfigs]\nT=c.hva\n")
            << QStringList{sep, "a.hva", "b.hva", "c.hva"} << "" << 0;
        QTest::newRow("start-up configuration that is not stored")
            << QByteArray("[Hevea]\nDefaultconfig=Gone\n")
            << QStringList{sep, "a.hva", "b.hva", "c.hva"} << "old.tex" << 0;
    }
    void defaultConfigEdgeCases() {
        QFETCH(QByteArray, ini);
        Fixture f(ini);
        f.model.setText(ctl::txtExclude, "old.tex");
        LoadDefaultConfig(f.ctx);
        QTEST(f.model.items(ctl::List1), "list");
        QTEST(f.model.text(ctl::txtExclude), "excluded");
        QTEST(f.model.index(ctl::optOutput), "output");
    }

    void reloadAppliesTheStartupConfiguration() {
        Fixture f("[Hevea]\nDefaultConfig=T\n[HeveaConfigs]\nT=b.hva -e z.tex,html\n");
        // Without HeVeA the style files come from the program directory.
        f.home.write("a.hva", "");
        f.home.write("b.hva", "");
        connectOptionHandlers(f.ctx);
        f.model.setText(ctl::txtExclude, "typed.tex");
        reloadIni(f.ctx);
        QCOMPARE(f.model.items(ctl::List1), (QStringList{"b.hva", sep, "a.hva"}));
        QCOMPARE(f.model.text(ctl::txtExclude), QStringLiteral("z.tex"));
        QCOMPARE(f.ctx.settings.vars.defaultConfig, QStringLiteral("T"));
    }

    void loadDialogKeys() {
        Fixture f("[Hevea]\nDefaultConfig=A\n[HeveaConfigs]\nA=b.hva -e a.tex,html\n"
                  "B=a.hva,text\nC=c.hva a.hva,html\n");
        f.ctx.settings.vars.defaultConfig = "A";
        LoadConfigDialog dialog(f.ctx);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("HTML Configurations"));
        auto* configs = child<QListWidget>(dialog, "lstConfigs");
        auto* styles = child<QListWidget>(dialog, "lstStyles");
        auto* exclude = child<QLineEdit>(dialog, "txtExclude");
        QCOMPARE(texts(configs), (QStringList{"A *", "C"}));
        QCOMPARE(texts(styles), QStringList{"b.hva"});
        QCOMPARE(exclude->text(), QStringLiteral("a.tex"));

        configs->setCurrentRow(1);
        QTest::keyClick(configs, Qt::Key_Asterisk);
        QCOMPARE(texts(configs), (QStringList{"A", "C *"}));
        QCOMPARE(texts(styles), (QStringList{"c.hva", "a.hva"}));
        QCOMPARE(f.ini("Hevea", "DefaultConfig"), QStringLiteral("C"));

        f.prompter.queueAnswer(Answer::Yes);
        QTest::keyClick(configs, Qt::Key_Delete);
        QCOMPARE(
            f.prompter.prompts().last(),
            (Prompt{"Are you sure you want to delete C?\nThis is a Start-up configuration",
                    "Confirm Delete Configuration", Buttons::YesNo, Icon::Question, Answer::Yes}));
        QCOMPARE(texts(configs), QStringList{"A"});
        QCOMPARE(configs->currentRow(), 0);
        QCOMPARE(f.ini("HeveaConfigs", "C"), QStringLiteral("<none>"));
        QCOMPARE(f.ini("Hevea", "DefaultConfig"), QStringLiteral("<none>"));
        QVERIFY(f.ctx.settings.vars.defaultConfig.isEmpty());

        // OK applies the selected one on a rebuilt list.
        f.model.setItems(ctl::List1, {"c.hva", sep, "a.hva", "b.hva"});
        child<QPushButton>(dialog, "cmdOK")->click();
        QCOMPARE(f.model.items(ctl::List1), (QStringList{"b.hva", sep, "a.hva", "c.hva"}));
        QCOMPARE(f.model.text(ctl::txtExclude), QStringLiteral("a.tex"));
    }

    void deletingTheLastEntryLeavesNothingSelected() {
        Fixture f("[HeveaConfigs]\nOnly=a.hva,html\n");
        LoadConfigDialog dialog(f.ctx);
        auto* configs = child<QListWidget>(dialog, "lstConfigs");
        f.prompter.queueAnswer(Answer::Yes);
        QTest::keyClick(configs, Qt::Key_Period, Qt::KeypadModifier);
        QCOMPARE(configs->count(), 0);
        QCOMPARE(configs->currentRow(), -1);
        QCOMPARE(child<QListWidget>(dialog, "lstStyles")->count(), 0);
    }

    void noStyleFilesNoDialog() {
        Fixture f;
        f.model.setItems(ctl::File1, {});
        QVERIFY(!canLoadConfig(f.ctx));
        QCOMPARE(f.prompter.prompts().first(),
                 (Prompt{"No HeVeA style files found", "Load Configuration", Buttons::Ok,
                         Icon::Critical, Answer::Ok}));
    }
};

MORVANE_TEST_MAIN(TestConfigDialogs)
#include "tst_configdialogs.moc"
