// make4ht on the TeX4ht tab: the command line it composes and what unticking
// it leaves behind.

#include "app/optionhandlers.h"
#include "pipeline/appcontext.h"
#include "settings/make4htchoice.h"
#include "settings/optionsmodel.h"
#include "support/testmain.h"
#include "tex4ht/tex4htcommand.h"

#include <QTest>

using namespace morvane;

namespace {

// A context with the option handlers, as the window has it.
struct Tex4htTab {
    OptionsModel model;
    AppContext ctx;
    Tex4htTab() {
        ctx.model = &model;
        // Without an htrun directory, ticking htrun would switch to SWP.
        ctx.settings.vars.htrunM = "/opt/htrun";
        connectOptionHandlers(ctx);
        model.setItems(ctl::cmbPasses, {"Default", "1", "2", "3"});
        model.setItems(ctl::cmbMake4htFormat, make4htFormatEntries());
        model.setItems(ctl::cmbMake4htEngine, make4htEngineEntries());
        model.setText(ctl::cmbTeX, "/d/Paper.tex");
    }
};

} // namespace

class TestMake4htCommand : public QObject {
    Q_OBJECT
private slots:
    void composes_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("engine");
        QTest::addColumn<bool>("swp");
        QTest::addColumn<QString>("images");
        QTest::addColumn<QString>("expected");

        const QStringList plain{"htlatex", "", "", "", "", ""};
        QTest::newRow("html5 with latex") << plain << 0 << 0 << false << ""
                                          << "make4ht -f html5 Paper";
        QTest::newRow("xhtml with lualatex") << plain << 1 << 1 << false << ""
                                             << "make4ht -l -f xhtml Paper";
        QTest::newRow("xelatex") << plain << 0 << 2 << false << ""
                                 << "make4ht -x -f html5 Paper";
        QTest::newRow("an office document") << plain << 2 << 0 << false << ""
                                            << "make4ht -f odt Paper";
        QTest::newRow("an e-book, from tex4ebook") << plain << 3 << 1 << false << ""
                                                   << "tex4ebook -l -f epub3 Paper";
        // SWP would pick xhlatex and enable the passes; make4ht takes none.
        QTest::newRow("swp ticked takes no passes") << plain << 0 << 0 << true << ""
                                                    << "make4ht -f html5 Paper";
        QTest::newRow("same trailing arguments as htlatex")
            << QStringList{"htlatex", "", "", "", "\"html,png\"", "\"symbol/!\""} << 0 << 0 << false
            << "pics"
            << "make4ht -f html5 Paper \"html,png,imgdir:pics/\" \"symbol/!\"";
        QTest::newRow("from another batch file")
            << QStringList{"mybatch", "", "", "", "", ""} << 1 << 0 << false << ""
            << "make4ht -f xhtml Paper";
    }

    void composes() {
        QFETCH(QStringList, args);
        QFETCH(int, format);
        QFETCH(int, engine);
        QFETCH(bool, swp);
        QFETCH(QString, images);
        QFETCH(QString, expected);

        Tex4htTab tab;
        tab.model.setItems(ctl::tex4htArgs, args);
        tab.model.setChecked(ctl::chkSWP, swp);
        tab.model.setChecked(ctl::chkImages, !images.isEmpty());
        tab.model.setText(ctl::txtImages, images);
        tab.model.setIndex(ctl::cmbMake4htFormat, format);
        tab.model.setIndex(ctl::cmbMake4htEngine, engine);
        tab.model.setChecked(ctl::chkMake4ht, true);

        QCOMPARE(tab.model.text(ctl::txt3), expected);
        QVERIFY(!tab.model.isEnabled(ctl::cmbPasses));
        QVERIFY(tab.model.isEnabled(ctl::cmbMake4htEngine));
    }

    // make4ht and htrun exclude each other, and leaving make4ht gives
    // htlatex back without make4ht's switches.
    void htrunAndMake4htExcludeEachOther() {
        Tex4htTab tab;
        tab.model.setItems(ctl::tex4htArgs, {"htlatex", "", "", "", "", ""});
        tab.model.setChecked(ctl::chkHtrun, true);
        tab.model.setChecked(ctl::chkMake4ht, true);
        QVERIFY(!tab.model.isChecked(ctl::chkHtrun));
        QCOMPARE(tab.model.text(ctl::txt3), QStringLiteral("make4ht -f html5 Paper"));

        tab.model.setChecked(ctl::chkHtrun, true);
        QVERIFY(!tab.model.isChecked(ctl::chkMake4ht));
        QCOMPARE(tab.model.text(ctl::txt3), QStringLiteral("htrun -ht Paper"));

        tab.model.setChecked(ctl::chkMake4ht, true);
        tab.model.setChecked(ctl::chkMake4ht, false);
        QCOMPARE(tab.model.text(ctl::txt3), QStringLiteral("htlatex Paper"));
        QVERIFY(!tab.model.isEnabled(ctl::cmbMake4htFormat));
    }
};

MORVANE_TEST_MAIN(TestMake4htCommand)
#include "tst_make4htcommand.moc"
