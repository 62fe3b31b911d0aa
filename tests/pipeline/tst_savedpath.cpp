#include "drivers/tex4ht.h"
#include "pipeline/appcontext.h"
#include "pipeline/savedpath.h"
#include "platform/folderchooser.h"
#include "platform/prompter.h"
#include "platform/volumes.h"
#include "settings/controlnames.h"
#include "support/doubles.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace morvane;

namespace {

// Answers the folder browser from a queue and records its prompts.
class ScriptedFolderChooser : public FolderChooser {
public:
    QString chooseDirectory(const QString& prompt) override {
        prompts.append(prompt);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    QStringList answers;
    QStringList prompts;
};

bool touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly);
}

struct Fixture {
    QTemporaryDir tmp;
    OptionsModel model;
    ScriptedPrompter prompter;
    ScriptedFolderChooser folders;
    FixedVolumeTable volumes{{{"/", "ext4", DriveType::Fixed},
                              {"/media/usb", "vfat", DriveType::Removable},
                              {"/media/cd", "iso9660", DriveType::CdRom}}};
    AppContext ctx;

    Fixture() {
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        ctx.seams.folders = &folders;
        ctx.seams.volumes = &volumes;
        ctx.settings.vars.tex4htSaveTo = "/web";
        ctx.settings.vars.l2hSaveTo = "/l2h";
    }
    void show(const QString& file, int tab) {
        model.setText(ctl::cmbTeX, file);
        model.setIndex(ctl::tbstrip, tab);
        SavedPath(ctx);
    }
};

} // namespace

class TestSavedPath : public QObject {
    Q_OBJECT
private slots:
    void labels_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<bool>("hacha");
        QTest::addColumn<QString>("name");      // file below the temporary Docs folder
        QTest::addColumn<QString>("extension"); // default source extension
        QTest::addColumn<QString>("label");     // "@" stands for the Docs folder
        QTest::addColumn<QString>("expected");
        QTest::newRow("DVI") << int(TabDvi) << false << "Paper.tex"
                             << ".tex"
                             << "Saved as\n@/Paper.dvi"
                             << "@/Paper.dvi";
        QTest::newRow("PDF keeps the case of the name") << int(TabPdf) << false << "Paper.TEX"
                                                        << ".tex"
                                                        << "Saved as\n@/Paper.pdf"
                                                        << "@/Paper.pdf";
        QTest::newRow("HeVeA") << int(TabHevea) << false << "Paper.tex"
                               << ".tex"
                               << "Saved as\n@/Paper.html"
                               << "@/Paper.html";
        QTest::newRow("HeVeA with hacha") << int(TabHevea) << true << "Paper.tex"
                                          << ".tex"
                                          << "Saved as\n@/index.html"
                                          << "@/Paper.html";
        QTest::newRow("TtH") << int(TabTth) << false << "Paper.tex"
                             << ".tex"
                             << "Saved as\n@/Paper.htm"
                             << "@/Paper.htm";
        QTest::newRow("TeX4ht") << int(TabTex4ht) << false << "Paper.tex"
                                << ".tex"
                                << "Files saved in new directory\n/web/Paper"
                                << "/web/Paper/Paper.html";
        QTest::newRow("LaTeX2HTML") << int(TabL2h) << false << "Paper.tex"
                                    << ".tex"
                                    << "Files saved in new directory\n/l2h/Paper"
                                    << "/l2h/Paper/index.html";
        QTest::newRow("first occurrence of the extension")
            << int(TabDvi) << false << "my.tex.old.tex"
            << ".tex"
            << "Saved as\n@/my.dvi"
            << "@/my.dvi";
        QTest::newRow("non-TeX file") << int(TabTex4ht) << false << "notes.txt"
                                      << ".txt"
                                      << "Files saved in new directory\n/web/notes"
                                      << "/web/notes/notes.html";
        QTest::newRow("blank in the name") << int(TabPdf) << false << "my paper.tex"
                                           << ".tex"
                                           << "Saved as\n@/my paper.pdf"
                                           << "@/my paper.pdf";
    }
    void labels() {
        QFETCH(int, tab);
        QFETCH(bool, hacha);
        QFETCH(QString, name);
        QFETCH(QString, extension);
        QFETCH(QString, label);
        QFETCH(QString, expected);
        Fixture f;
        const QString docs = f.tmp.filePath("a.tex.d/Docs");
        const QString file = docs + "/" + name;
        QVERIFY(touch(file));
        label.replace("@", docs);
        expected.replace("@", docs);
        f.ctx.sourceExtension = extension;
        f.model.setChecked(ctl::chkHacha, hacha);
        f.model.setEnabled(ctl::cmdShow, true);

        f.show(file, tab);
        QCOMPARE(f.model.caption(ctl::lblPath), label);
        QCOMPARE(f.ctx.expectedOutput, expected);
        QVERIFY(!f.model.isEnabled(ctl::cmdShow));
        QVERIFY(f.model.isEnabled(ctl::cmdEditTex));

        // Show is enabled once the result exists (the output roots are not
        // writable here, so only the routes that write beside the file).
        if (expected.startsWith(docs)) {
            QVERIFY(touch(expected));
            SavedPath(f.ctx);
            QVERIFY(f.model.isEnabled(ctl::cmdShow));
        }
    }

    void saveLabels() {
        Fixture f;
        f.show("/docs/a.tex", TabTex4ht);
        QCOMPARE(f.model.caption(ctl::lblSaveTo), QString("Files saved to a subdirectory of /web"));
        QVERIFY(!f.model.has(ctl::lblSavelatex2, OptionsModel::Aspect::Caption));
        f.show("/docs/a.tex", TabL2h);
        QCOMPARE(f.model.caption(ctl::lblSavelatex2),
                 QString("Files saved to a subdirectory of /l2h"));
        f.ctx.settings.vars.l2hSaveTo = "/other";
        f.model.setIndex(ctl::tbstrip, TabDvi);
        updateSaveLabel(f.ctx); // nothing on other tabs
        QCOMPARE(f.model.caption(ctl::lblSavelatex2),
                 QString("Files saved to a subdirectory of /l2h"));
    }

    void rootOutputDirectory() {
        Fixture f;
        f.ctx.settings.vars.tex4htSaveTo = "/";
        f.show("/docs/a.tex", TabTex4ht);
        QCOMPARE(f.model.caption(ctl::lblPath), QString("Files saved in new directory\n/a"));
        QCOMPARE(f.ctx.expectedOutput, QString("/a/a.html"));
    }

    void withoutExtension_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("no extension") << "/docs/readme";
        QTest::newRow("extension in a folder only") << "/docs/notes.tex.d/readme";
        QTest::newRow("empty") << "";
    }
    void withoutExtension() {
        QFETCH(QString, file);
        Fixture f;
        f.model.setCaption(ctl::lblPath, "old");
        f.model.setEnabled(ctl::cmdShow, true);
        f.model.setEnabled(ctl::cmdEditTex, true);
        f.show(file, TabDvi);
        QCOMPARE(f.model.caption(ctl::lblPath), QString());
        QVERIFY(!f.model.isEnabled(ctl::cmdShow));
        QVERIFY(!f.model.isEnabled(ctl::cmdEditTex));
    }

    void helpTab() {
        Fixture f;
        f.ctx.expectedOutput = "/old/result.html";
        f.model.setEnabled(ctl::cmdShow, true);
        f.show("/docs/missing.tex", TabHelp);
        QCOMPARE(f.ctx.expectedOutput, QString());
        QVERIFY(!f.model.isEnabled(ctl::cmdShow));
        QVERIFY(!f.model.isEnabled(ctl::cmdEditTex));
    }

    void xmlFallback() {
        Fixture f;
        f.ctx.settings.vars.tex4htSaveTo = f.tmp.path();
        f.model.setItems(ctl::tex4htArgs, {"htlatex", "", "paper", "", "\"xhtml,mozilla\"", ""});
        f.show("/docs/paper.tex", TabTex4ht);
        QCOMPARE(f.ctx.expectedOutput, f.tmp.path() + "/paper/paper.html");
        QVERIFY(touch(f.tmp.path() + "/paper/paper.xml"));
        SavedPath(f.ctx);
        QCOMPARE(f.ctx.expectedOutput, f.tmp.path() + "/paper/paper.xml");
        QVERIFY(f.model.isEnabled(ctl::cmdShow));
        f.model.setItems(ctl::tex4htArgs, {"htlatex", "", "paper", "", "\"html,htm\"", ""});
        SavedPath(f.ctx);
        QCOMPARE(f.ctx.expectedOutput, f.tmp.path() + "/paper/paper.htm");
    }

    void boldLogIsReset() {
        Fixture f;
        f.model.setBold(ctl::cmdLog, true);
        f.model.setCaption(ctl::cmdLog, "View &Log *");
        f.show("/docs/a.tex", TabDvi);
        QVERIFY(!f.model.isBold(ctl::cmdLog));
        QCOMPARE(f.model.caption(ctl::cmdLog), QString("View &Log"));
    }

    void chooser_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QStringList>("chosen");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QStringList>("titles"); // prompt kinds: removable, cdrom
        QTest::addColumn<QString>("stored");     // "" when unchanged
        QTest::addColumn<int>("browses");
        QTest::newRow("cancel") << int(TabTex4ht) << QStringList{} << QList<int>{} << QStringList{}
                                << "" << 1;
        QTest::newRow("fixed, trailing separator dropped")
            << int(TabTex4ht) << QStringList{"/srv/web/"} << QList<int>{} << QStringList{}
            << "/srv/web" << 1;
        QTest::newRow("root kept")
            << int(TabL2h) << QStringList{"/"} << QList<int>{} << QStringList{} << "/" << 1;
        QTest::newRow("cut at NUL")
            << int(TabL2h) << QStringList{QString("/srv/a") + QChar(0) + "x"} << QList<int>{}
            << QStringList{} << "/srv/a" << 1;
        QTest::newRow("removable accepted")
            << int(TabTex4ht) << QStringList{"/media/usb/out"} << QList<int>{int(Answer::No)}
            << QStringList{"removable"} << "/media/usb/out" << 1;
        QTest::newRow("removable, choose again")
            << int(TabL2h) << QStringList{"/media/usb/out", "/srv/x"}
            << QList<int>{int(Answer::Yes)} << QStringList{"removable"} << "/srv/x" << 2;
        QTest::newRow("removable, choose again, cancel")
            << int(TabL2h) << QStringList{"/media/usb/out"} << QList<int>{int(Answer::Yes)}
            << QStringList{"removable"} << "" << 2;
        QTest::newRow("CD-ROM cancel")
            << int(TabTex4ht) << QStringList{"/media/cd/"} << QList<int>{int(Answer::Cancel)}
            << QStringList{"cdrom"} << "" << 1;
        QTest::newRow("CD-ROM retry")
            << int(TabTex4ht) << QStringList{"/media/cd", "/srv/y"}
            << QList<int>{int(Answer::Retry)} << QStringList{"cdrom"} << "/srv/y" << 2;
        QTest::newRow("neighbour of the CD-ROM")
            << int(TabTex4ht) << QStringList{"/media/cd2"} << QList<int>{} << QStringList{}
            << "/media/cd2" << 1;
    }
    void chooser() {
        QFETCH(int, tab);
        QFETCH(QStringList, chosen);
        QFETCH(QList<int>, answers);
        QFETCH(QStringList, titles);
        QFETCH(QString, stored);
        QFETCH(int, browses);
        Fixture f;
        f.folders.answers = chosen;
        for (int a : answers)
            f.prompter.queueAnswer(Answer(a));
        f.model.setText(ctl::cmbTeX, "/docs/paper.tex");
        f.model.setIndex(ctl::tbstrip, tab);
        const bool tex4ht = tab == TabTex4ht;
        QString& root = tex4ht ? f.ctx.settings.vars.tex4htSaveTo : f.ctx.settings.vars.l2hSaveTo;
        const QString before = root;
        if (tex4ht)
            cmdTex4htBrowse_Click(f.ctx);
        else
            cmdlatex2htmlBrowse_Click(f.ctx);

        const QString prompt = tex4ht ? "Select a directory in which to save TeX4ht files:"
                                      : "Select a directory in which to save LaTeX2HTML files:";
        QCOMPARE(f.folders.prompts, QStringList(browses, prompt));
        QCOMPARE(f.prompter.prompts().size(), titles.size());
        for (qsizetype i = 0; i < titles.size(); ++i) {
            const Prompt& p = f.prompter.prompts().at(i);
            QCOMPARE(p.title, QString("Save Directory"));
            if (titles[i] == "removable") {
                QCOMPARE(p.text, QString("This directory is on a removable drive. To prvent "
                                         "problems please ensure that  there is a disk in the "
                                         "drive.\n\nDo you wish to choose another directory "
                                         "instead?"));
                QCOMPARE(p.buttons, Buttons::YesNo);
                QCOMPARE(p.icon, Icon::Exclamation);
            } else {
                QCOMPARE(p.text, QString("You can't save files to a CD-ROM drive."));
                QCOMPARE(p.buttons, Buttons::RetryCancel);
                QCOMPARE(p.icon, Icon::Critical);
            }
        }
        const ctl::Control labelName = tex4ht ? ctl::lblSaveTo : ctl::lblSavelatex2;
        if (stored.isEmpty()) {
            QCOMPARE(root, before);
            QVERIFY(!f.model.has(labelName, OptionsModel::Aspect::Caption));
        } else {
            QCOMPARE(root, stored);
            QCOMPARE(f.model.caption(labelName), "Files saved to a subdirectory of " + stored);
            // The result place follows the new root at once.
            QCOMPARE(f.model.caption(ctl::lblPath), "Files saved in new directory\n" +
                                                        (stored == "/" ? QString() : stored) +
                                                        "/paper");
        }
    }

    void outputExtension() {
        Fixture f;
        QCOMPARE(tex4htOutputExtension(f.ctx), QString(".html"));
        f.model.setTag(ctl::txt3, "\\usepackage[xhtml,mozilla]{tex4ht}");
        QCOMPARE(tex4htOutputExtension(f.ctx), QString(".xml"));
    }
};

MORVANE_TEST_GUILESS_MAIN(TestSavedPath)
#include "tst_savedpath.moc"
