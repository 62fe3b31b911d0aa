// The TeX4ht driver's checks before a run and its page progress, without
// running TeX4ht.

#include "drivers/tex4ht.h"
#include "pipeline/appcontext.h"
#include "support/doubles.h"
#include "support/testhome.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace morvane;

class TestTex4htDriver : public QObject {
    Q_OBJECT

    OptionsModel model;
    ScriptedPrompter prompter;
    AppContext ctx;
    QTemporaryDir dir;

    void reset() {
        ctx = AppContext{};
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        prompter.clear();
    }

private slots:
    void programCheck_data() {
        QTest::addColumn<QString>("tex4htDir");
        QTest::addColumn<bool>("htrun");
        QTest::addColumn<QString>("htrunDir");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::newRow("htlatex found") << "/usr/bin" << false << ""
                                       << "htlatex"
                                       << ""
                                       << "";
        QTest::newRow("htlatex missing")
            << "/nowhere" << false << ""
            << "htlatex"
            << "Can't find /nowhere/htlatex required for MiKteX\n\nYou could try using htrun\n"
            << "File Not Found";
        QTest::newRow("htrun without a path")
            << "/usr/bin" << true << ""
            << "htrun"
            << "No path found for 'Htrun for MiKteX'\n\nThe path can be set in Help, Program "
               "Locations"
            << "Path Not Found";
        QTest::newRow("htrun not in its folder")
            << "/usr/bin" << true << "/nowhere"
            << "htrun"
            << "Unable to find /nowhere/htrun\n\nThe path of this file can be set in Help, "
               "Program Locations"
            << "File Not Found";
        QTest::newRow("no program replaces every other message") << "/nowhere" << false << ""
                                                                 << ""
                                                                 << "No batch file selected"
                                                                 << "Batch File Required";
    }

    void programCheck() {
        QFETCH(QString, tex4htDir);
        QFETCH(bool, htrun);
        QFETCH(QString, htrunDir);
        QFETCH(QString, program);
        QFETCH(QString, text);
        QFETCH(QString, title);
        reset();
        ctx.settings.vars.tex4ht = tex4htDir;
        ctx.settings.vars.htrunM = htrunDir;
        model.setChecked("chkSWP", false);
        model.setChecked("chkHtrun", htrun);
        model.setItems("tex4htArgs", {program, "", "a", "", "", ""});
        model.setText("txt3", program + " a");
        QCOMPARE(tex4htProgramsFound(ctx), text.isEmpty());
        if (text.isEmpty()) {
            QVERIFY(prompter.prompts().isEmpty());
            return;
        }
        QCOMPARE(prompter.prompts().size(), 1);
        QCOMPARE(prompter.prompts().at(0).text, text);
        QCOMPARE(prompter.prompts().at(0).title, title);
        QCOMPARE(prompter.prompts().at(0).icon, Icon::Exclamation);
    }

    void htrunIni_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<bool>("counts");
        QTest::newRow("first line does not count") << QByteArray("latexcount = 1\n") << false;
        QTest::newRow("a later line counts, spaces removed")
            << QByteArray("[x]\r\nlatexcount = 1\r\n") << true;
        QTest::newRow("zero") << QByteArray("[x]\nlatexcount=0\n") << false;
    }

    void htrunIni() {
        QFETCH(QByteArray, ini);
        QFETCH(bool, counts);
        reset();
        QFile file(dir.filePath("htrun.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(ini);
        file.close();
        ctx.settings.vars.htrunM = dir.path();
        probeHtrunIni(ctx);
        QCOMPARE(ctx.latexCount, counts);
    }

    void refusesBeforeAnyFileIsWritten_data() {
        QTest::addColumn<bool>("emptyImagesName");
        QTest::addColumn<QString>("imagesName");
        QTest::addColumn<QString>("title");
        QTest::newRow("images folder without a name") << true << ""
                                                      << "Images Subdirectory";
        // Such a name would go into every page's image links.
        for (const char* bad : {"a\"b", "a<b", "a>b", "a&b", "a\nb"})
            QTest::addRow("images folder %s", bad) << true << bad << "Images Subdirectory";
        QTest::newRow("output root missing") << false << ""
                                             << "Output Directory";
    }

    void refusesBeforeAnyFileIsWritten() {
        QFETCH(bool, emptyImagesName);
        QFETCH(QString, imagesName);
        QFETCH(QString, title);
        reset();
        ctx.programDir = dir.path();
        ctx.settings.vars.tex4ht = "/usr/bin";
        ctx.settings.vars.tex4htSaveTo = dir.filePath("missing/root");
        model.setItems("tex4htArgs", {"htlatex", "", "a", "", "", ""});
        model.setChecked("chkImages", emptyImagesName);
        model.setText("txtImages", imagesName);
        const QString source = dir.filePath("a.tex");
        QFile(source).open(QIODevice::WriteOnly);
        const ConversionResult result = TeX4ht(ctx, source);
        QVERIFY(result.output.isEmpty());
        QCOMPARE(prompter.prompts().size(), 1);
        QCOMPARE(prompter.prompts().at(0).title, title);
        QVERIFY(!QFileInfo::exists(dir.filePath("missing")));
    }

    void progressCaptions() {
        reset();
        QTemporaryDir pages;
        for (const char* name : {"a.html", "b.htm", "c.xht", "d.css"})
            QFile(pages.filePath(name)).open(QIODevice::WriteOnly);
        QStringList captions;
        connect(&model, &OptionsModel::changed, this,
                [&](const QString& name, OptionsModel::Aspect aspect) {
                    if (name == "Label35" && aspect == OptionsModel::Aspect::Caption)
                        captions << model.caption(name);
                });
        postProcessTex4htPages(ctx, pages.path(), ".html");
        QCOMPARE(captions, (QStringList{"Processing HTML file  1  of  3 ...",
                                        "Processing HTML file  2  of  3 ...",
                                        "Processing HTML file  3  of  3 ..."}));
        QVERIFY(!model.isVisible("Label35"));
        QVERIFY(model.items("lstProcesses").isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTex4htDriver)
#include "tst_tex4htdriver.moc"
