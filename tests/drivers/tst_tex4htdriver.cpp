// The TeX4ht driver's checks before a run, its preparation of the working
// copy, its choice of the page to show and its page progress, without
// running TeX4ht.

#include "app/optionhandlers.h"
#include "drivers/tex4ht.h"
#include "pipeline/appcontext.h"
#include "pipeline/conversion.h"
#include "settings/controlnames.h"
#include "support/doubles.h"
#include "support/testhome.h"
#include "support/testmain.h"

#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace morvane;

namespace {

const Route& tex4htRoute() {
    return *routeForKey(builtInRoutes(), QStringLiteral("tex4ht"));
}

} // namespace

namespace {

void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
}

// The files of a folder as "name:content"; TeX files by name only.
QStringList filesWithContent(const QString& dir) {
    QStringList listing;
    for (const QFileInfo& file : QDir(dir).entryInfoList(QDir::Files, QDir::Name)) {
        QString entry = file.fileName();
        if (file.suffix() != "tex") {
            QFile in(file.filePath());
            in.open(QIODevice::ReadOnly);
            entry += ":" + QString::fromUtf8(in.readAll());
        }
        listing << entry;
    }
    return listing;
}

// Runs `during` whenever a question is asked, as the window would serve a
// click while the question is open.
class ServingPrompter : public ScriptedPrompter {
public:
    using ScriptedPrompter::ask;
    Answer ask(const Prompt& prompt) override {
        if (during)
            during();
        return ScriptedPrompter::ask(prompt);
    }
    std::function<void()> during;
};

} // namespace

class TestTex4htDriver : public QObject {
    Q_OBJECT

    OptionsModel model;
    ServingPrompter prompter;
    AppContext ctx;
    QTemporaryDir dir;

    void reset() {
        ctx = AppContext{};
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        prompter.clear();
        prompter.during = nullptr;
        model.setText(ctl::txt3, QString());
        model.setTag(ctl::txt3, QString());
    }

    // A document in src/ with its auxiliary files, an output root out/ whose
    // folder for the document holds files of an earlier run, and a program
    // folder with its own qvconfig.cfg. Every copy says where it came from.
    QString prepareFolders(const QString& document) {
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        const QString base = QFileInfo(document).completeBaseName();
        const QString source = dir.filePath("src/" + document);
        writeFile(source, "\\documentclass{article}\n\\begin{document}\nx\n\\end{document}\n");
        for (const QString& name :
             {base + ".cfg", base + ".cfh", base + ".bbl", QString("tex4ht.usr"),
              QString("overlib.js"), QString("mycfg.cfg"), QString("qvconfig.cfg")})
            writeFile(dir.filePath("src/" + name), "src");
        writeFile(dir.filePath("program/qvconfig.cfg"), "program");
        for (const char* name : {"old.cfg", "old.cfh", "old.bbl", "old.usr", "keep.css"})
            writeFile(dir.filePath("out/" + base + "/" + name), "out");
        ctx.programDir = dir.filePath("program");
        ctx.settings.vars.tex4htSaveTo = dir.filePath("out");
        model.setText(ctl::cmbTeX, source);
        return source;
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
        model.setChecked(ctl::chkSWP, false);
        model.setChecked(ctl::chkHtrun, htrun);
        model.setItems(ctl::tex4htArgs, {program, "", "a", "", "", ""});
        model.setText(ctl::txt3, program + " a");
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
        model.setItems(ctl::tex4htArgs, {"htlatex", "", "a", "", "", ""});
        model.setChecked(ctl::chkImages, emptyImagesName);
        model.setText(ctl::txtImages, imagesName);
        const QString source = dir.filePath("a.tex");
        QFile(source).open(QIODevice::WriteOnly);
        const ConversionResult result =
            TeX4ht(*std::make_unique<Conversion>(ctx, tex4htRoute(), source));
        QVERIFY(result.output.isEmpty());
        QCOMPARE(prompter.prompts().size(), 1);
        QCOMPARE(prompter.prompts().at(0).title, title);
        QVERIFY(!QFileInfo::exists(dir.filePath("missing")));
    }

    // Before the run: old configuration files go, then overlib (with
    // mouse-over), tex4ht.usr, the configuration named on the command line
    // (from the program folder for qvconfig) and the document's own .cfg,
    // .cfh and .bbl are copied into its folder.
    void preparationSteps_data() {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QStringList>("files");
        const QStringList plain{"keep.css:out",  "paper.bbl:src", "paper.cfg:src",
                                "paper.cfh:src", "paper.tex",     "tex4ht.usr:src"};
        QTest::newRow("old files cleared, own files copied") << "paper.tex"
                                                             << "htlatex paper" << plain;
        QTest::newRow("overlib with mouse-over")
            << "paper.tex"
            << "htlatex paper \"html,mouseover\""
            << QStringList{"keep.css:out",  "overlib.js:src", "paper.bbl:src", "paper.cfg:src",
                           "paper.cfh:src", "paper.tex",      "tex4ht.usr:src"};
        const QStringList withMycfg{"keep.css:out",  "mycfg.cfg:src", "paper.bbl:src",
                                    "paper.cfg:src", "paper.cfh:src", "paper.tex",
                                    "tex4ht.usr:src"};
        QTest::newRow("configuration beside the document")
            << "paper.tex"
            << "htlatex paper \"mycfg,html\"" << withMycfg;
        QTest::newRow("configuration named with .cfg")
            << "paper.tex"
            << "htlatex paper \"mycfg.cfg,xhtml\"" << withMycfg;
        QTest::newRow("qvconfig from the program folder")
            << "paper.tex"
            << "htlatex paper \"qvconfig,html\""
            << QStringList{"keep.css:out", "paper.bbl:src",        "paper.cfg:src", "paper.cfh:src",
                           "paper.tex",    "qvconfig.cfg:program", "tex4ht.usr:src"};
        QTest::newRow("quoted document name is no configuration")
            << "my paper.tex"
            << "htlatex \"my paper\" \"mycfg,html\""
            << QStringList{"keep.css:out",     "my paper.bbl:src", "my paper.cfg:src",
                           "my paper.cfh:src", "my paper.tex",     "mycfg.cfg:src",
                           "tex4ht.usr:src"};
    }

    void preparationSteps() {
        QFETCH(QString, document);
        QFETCH(QString, commandLine);
        QFETCH(QStringList, files);
        reset();
        const QString source = prepareFolders(document);
        model.setText(ctl::txt3, commandLine);
        QVERIFY(
            prepareTex4htWorkingCopy(*std::make_unique<Conversion>(ctx, tex4htRoute(), source)));
        QCOMPARE(filesWithContent(dir.filePath("out/" + QFileInfo(document).completeBaseName())),
                 files);
        QVERIFY(prompter.prompts().isEmpty());
    }

    // A tab switch served while a question is open during the edits must not
    // enable Convert; afterwards it is enabled again.
    void convertStaysDisabledDuringTheEdits() {
        reset();
        ctx.loading = true; // no upgrade notice on the tab switch
        const QString source = prepareFolders("paper.tex");
        writeFile(source, "\\documentclass{article}\n\\usepackage[html]{tex4ht}\n"
                          "\\begin{document}\nx\n\\end{document}\n");
        ctx.settings.paths.setProgramFound(TabTex4ht, true);
        model.setIndex(ctl::tbstrip, TabTex4ht);
        tbstrip_Click(ctx);
        QVERIFY(model.isEnabled(ctl::cmdConvert));
        ctx.settings.vars.checkForUsePackage = true;
        model.setItems(ctl::tex4htArgs, {"ht latex", "", "paper", "", "", ""});
        model.setText(ctl::txt3, "ht latex paper");
        model.setTag(ctl::txt3, "\\usepackage[html,3.2]{tex4ht}");
        bool enabledDuringEdits = true;
        prompter.during = [&] {
            tbstrip_Click(ctx);
            enabledDuringEdits = model.isEnabled(ctl::cmdConvert);
        };
        prompter.queueAnswer(Answer::Yes);
        QVERIFY(
            prepareTex4htWorkingCopy(*std::make_unique<Conversion>(ctx, tex4htRoute(), source)));
        QCOMPARE(prompter.prompts().size(), 1);
        QCOMPARE(prompter.prompts().at(0).title, QString("Package Found"));
        QVERIFY(!enabledDuringEdits);
        QVERIFY(model.isEnabled(ctl::cmdConvert));
    }

    void resultFile_data() {
        QTest::addColumn<QString>("options");
        QTest::addColumn<QStringList>("pages");
        QTest::addColumn<QString>("shown");
        QTest::newRow("xml written")
            << "\"xhtml,mozilla\"" << QStringList{"d.xml", "d.html"} << "d.xml";
        QTest::newRow("xml missing, html shown")
            << "\"xhtml,mozilla\"" << QStringList{"d.html"} << "d.html";
        QTest::newRow("html expected") << "\"html\"" << QStringList{"d.xml"} << "d.html";
    }

    void resultFile() {
        QFETCH(QString, options);
        QFETCH(QStringList, pages);
        QFETCH(QString, shown);
        reset();
        QTemporaryDir out;
        for (const QString& page : pages)
            writeFile(out.filePath(page), "page");
        model.setChecked(ctl::chkHtrun, false);
        model.setItems(ctl::tex4htArgs, {"htlatex", "", "d", "", options, ""});
        QCOMPARE(tex4htResultFile(Conversion(ctx, tex4htRoute(), QString()), out.path(), "d"),
                 out.filePath(shown));
    }

    void progressCaptions() {
        reset();
        QTemporaryDir pages;
        for (const char* name : {"a.html", "b.htm", "c.xht", "d.css"})
            QFile(pages.filePath(name)).open(QIODevice::WriteOnly);
        QStringList captions;
        connect(&model, &OptionsModel::changed, this,
                [&](ctl::Control name, OptionsModel::Aspect aspect) {
                    if (name == ctl::Label35 && aspect == OptionsModel::Aspect::Caption)
                        captions << model.caption(name);
                });
        postProcessTex4htPages(*std::make_unique<Conversion>(ctx, tex4htRoute(), QString()),
                               pages.path(), ".html");
        QCOMPARE(captions, (QStringList{"Processing HTML file  1  of  3 ...",
                                        "Processing HTML file  2  of  3 ...",
                                        "Processing HTML file  3  of  3 ..."}));
        QVERIFY(!model.isVisible(ctl::Label35));
        QVERIFY(model.items(ctl::lstProcesses).isEmpty());
    }
};

MORVANE_TEST_GUILESS_MAIN(TestTex4htDriver)
#include "tst_tex4htdriver.moc"
