#include "pipeline/appcontext.h"
#include "settings/optionsmodel.h"
#include "support/testmain.h"
#include "tex4ht/tex4htcommand.h"

#include <QTest>

using namespace morvane;

class TestTex4htCommand : public QObject {
    Q_OBJECT
private slots:
    void composes_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("swp");
        QTest::addColumn<bool>("htrun");
        QTest::addColumn<QString>("images");
        QTest::addColumn<QString>("packageLine");
        QTest::addColumn<QString>("expected");

        const QStringList plain{"htlatex", "", "", "", "", ""};
        QTest::newRow("plain htlatex") << "/d/Paper.tex" << plain << false << false << ""
                                       << ""
                                       << "htlatex Paper";
        QTest::newRow("blank name quoted") << "/d/my  paper.tex" << plain << false << false << ""
                                           << ""
                                           << "htlatex \"my  paper\"";
        QTest::newRow("swp gives xhlatex, which takes no passes")
            << "/d/a.tex" << plain << true << false << ""
            << ""
            << "xhlatex a";
        QTest::newRow("images folder on empty options")
            << "/d/a.tex" << plain << false << false << "pics"
            << ""
            << "htlatex a \"html,imgdir:pics/\"";
        QTest::newRow("images folder before the closing quote")
            << "/d/a.tex" << QStringList{"htlatex", "", "", "", "\"xhtml,imgdir:old/\"", ""}
            << false << false << "pics"
            << ""
            << "htlatex a \"xhtml,imgdir:pics/\"";
        QTest::newRow("usepackage line empties the options")
            << "/d/a.tex" << QStringList{"htlatex", "", "", "", "\"xhtml\"", ""} << false << false
            << "pics"
            << "\\usepackage[xhtml]{tex4ht}"
            << "htlatex a";
        QTest::newRow("htrun with mathml package line")
            << "/d/a.tex" << plain << false << true << ""
            << "\\usepackage[xhtml,mathml]{tex4ht}"
            << "htrun -xhm a";
        QTest::newRow("html alone is dropped")
            << "/d/a.tex" << QStringList{"htlatex", "", "", "", "\"html\"", "-dx"} << false << false
            << ""
            << ""
            << "htlatex a -dx";
    }

    void composes() {
        QFETCH(QString, file);
        QFETCH(QStringList, args);
        QFETCH(bool, swp);
        QFETCH(bool, htrun);
        QFETCH(QString, images);
        QFETCH(QString, packageLine);
        QFETCH(QString, expected);

        OptionsModel model;
        AppContext ctx;
        ctx.model = &model;
        model.setText(ctl::cmbTeX, file);
        model.setItems(ctl::tex4htArgs, args);
        model.setChecked(ctl::chkSWP, swp);
        model.setChecked(ctl::chkHtrun, htrun);
        model.setItems(ctl::cmbPasses, {"Default", "1", "2", "3"});
        model.setChecked(ctl::chkImages, !images.isEmpty());
        model.setText(ctl::txtImages, images);
        model.setTag(ctl::txt3, packageLine);

        composeTex4htCommandLine(ctx);
        QCOMPARE(model.text(ctl::txt3), expected);
        QCOMPARE(model.isEnabled(ctl::cmbPasses), swp);
    }

    void resultExtension_data() {
        QTest::addColumn<QString>("packageLine");
        QTest::addColumn<QString>("element5");
        QTest::addColumn<bool>("htrun");
        QTest::addColumn<QString>("element2");
        QTest::addColumn<QString>("extension");
        QTest::newRow("html") << ""
                              << "" << false << ""
                              << ".html";
        QTest::newRow("8.3 names alone") << ""
                                         << "\"htm\"" << false << ""
                                         << ".htm";
        QTest::newRow("htm token in the package line") << "\\usepackage[html,htm,info]{tex4ht}"
                                                       << "" << false << ""
                                                       << ".htm";
        QTest::newRow("a name holding htm is no token") << ""
                                                        << "\"myhtm,html\"" << false << ""
                                                        << ".html";
        QTest::newRow("mozilla") << ""
                                 << "\"xhtml,mozilla\"" << false << ""
                                 << ".xml";
        QTest::newRow("htrun mozilla") << ""
                                       << "" << true << "-mz"
                                       << ".xml";
        QTest::newRow("htrun mozilla with mathplayer") << ""
                                                       << "\"mathplayer\"" << true << "-mz"
                                                       << ".html";
        QTest::newRow("htrun mozilla with xht") << ""
                                                << "\"xht\"" << true << "-mz"
                                                << ".xht";
    }

    void resultExtension() {
        QFETCH(QString, packageLine);
        QFETCH(QString, element5);
        QFETCH(bool, htrun);
        QFETCH(QString, element2);
        QFETCH(QString, extension);
        OptionsModel model;
        AppContext ctx;
        ctx.model = &model;
        model.setItems(ctl::tex4htArgs, {"htlatex", element2, "a", "", element5, ""});
        model.setTag(ctl::txt3, packageLine);
        model.setChecked(ctl::chkHtrun, htrun);
        QCOMPARE(tex4htResultExtension(ctx), extension);
    }

    void manualModeKeepsTheEdits() {
        OptionsModel model;
        AppContext ctx;
        ctx.model = &model;
        model.setText(ctl::cmbTeX, "/d/a.tex");
        model.setItems(ctl::tex4htArgs, {"htlatex", "", "", "", "", ""});
        model.setTag(ctl::txt3Locked, "no");
        model.setText(ctl::txt3, "my own line");
        composeTex4htCommandLine(ctx);
        QCOMPARE(model.text(ctl::txt3), QString("my own line"));
        model.setTag(ctl::txt3Locked, "yes");
        composeTex4htCommandLine(ctx);
        QCOMPARE(model.text(ctl::txt3), QString("htlatex a"));
    }
};

MORVANE_TEST_GUILESS_MAIN(TestTex4htCommand)
#include "tst_tex4htcommand.moc"
