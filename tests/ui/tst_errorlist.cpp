// The error list below the lower frame: hidden when empty, its count beside
// View Log, a double-click opening the file at its line in the TeX editor.

#include "pipeline/appcontext.h"
#include "settings/optionsmodel.h"
#include "support/doubles.h"
#include "support/testmain.h"
#include "ui/errorlist.h"

#include <QHeaderView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace morvane;

class TestErrorList : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_doc;

    struct Rig {
        OptionsModel model;
        ScriptedPrompter prompter;
        RecordingShell shell;
        AppContext ctx;
        QTreeWidget list;
        std::unique_ptr<ErrorList> errorList;
        Rig() {
            ctx.model = &model;
            ctx.seams.prompter = &prompter;
            ctx.seams.shell = &shell;
            errorList = std::make_unique<ErrorList>(ctx, &list);
        }
        void show(const LogEntries& entries) { errorList->show(entries); }
        void doubleClick(int row) { emit list.itemDoubleClicked(list.topLevelItem(row), 0); }
    };

    LogEntries twoEntries() const {
        return {{LogEntry::Severity::Warning, m_doc, 4, "Reference `x' undefined"},
                {LogEntry::Severity::Error, m_doc, 8, "Undefined control sequence."}};
    }

private slots:
    void initTestCase() {
        m_doc = m_dir.filePath("my paper.tex");
        QFile file(m_doc);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    void showsEntriesAndCount() {
        Rig rig;
        QVERIFY(!rig.model.isVisible(ctl::lstErrors));
        rig.show(twoEntries());
        QVERIFY(rig.model.isVisible(ctl::lstErrors));
        QCOMPARE(rig.list.topLevelItemCount(), 2);
        QCOMPARE(rig.list.topLevelItem(1)->text(1), QString("8"));
        // The file and line columns fit their contents.
        for (int column : {0, 1})
            QCOMPARE(rig.list.header()->sectionResizeMode(column), QHeaderView::ResizeToContents);
        // Each entry shows its severity's icon.
        QVERIFY(!rig.list.topLevelItem(0)->icon(0).isNull());
        QVERIFY(rig.list.topLevelItem(0)->icon(0).cacheKey() !=
                rig.list.topLevelItem(1)->icon(0).cacheKey());
        QCOMPARE(rig.model.caption(ctl::lblErrorCount), QString("1 error, 1 warning"));
        rig.show({});
        QVERIFY(!rig.model.isVisible(ctl::lstErrors));
        QCOMPARE(rig.list.topLevelItemCount(), 0);
    }

    // Another file or another tab: the entries no longer apply.
    void emptiesWhenFileOrTabChanges_data() {
        QTest::addColumn<bool>("file");
        QTest::newRow("file box") << true;
        QTest::newRow("tab") << false;
    }
    void emptiesWhenFileOrTabChanges() {
        QFETCH(bool, file);
        Rig rig;
        rig.show(twoEntries());
        if (file)
            rig.model.setText(ctl::cmbTeX, m_dir.filePath("other.tex"));
        else
            rig.model.setIndex(ctl::tbstrip, 3);
        QCOMPARE(rig.list.topLevelItemCount(), 0);
        QVERIFY(!rig.model.isVisible(ctl::lstErrors));
    }

    // As Edit Tex File: the TeX editor (at the line), else the text editor,
    // else the desktop's program, else the plain-text editor.
    void doubleClickOpensAtLine_data() {
        QTest::addColumn<QString>("texEditor");
        QTest::addColumn<QString>("textEditor");
        QTest::addColumn<bool>("editorStarts");
        QTest::addColumn<bool>("desktopOpens");
        QTest::addColumn<QString>("notepad");
        QTest::addColumn<QStringList>("started"); // the first program started, with arguments
        QTest::addColumn<bool>("opened");         // handed to the desktop
        QTest::addColumn<int>("messages");

        QTest::newRow("the TeX editor gets the line")
            << "gedit"
            << "kate" << true << true << "" << QStringList{"gedit", "+8", "FILE"} << false << 0;
        QTest::newRow("else the text editor, at the line")
            << ""
            << "gedit" << true << true << "" << QStringList{"gedit", "+8", "FILE"} << false << 0;
        QTest::newRow("no editor: the desktop's program")
            << ""
            << "" << true << true << "" << QStringList{} << true << 0;
        QTest::newRow("no desktop program: the plain-text editor")
            << ""
            << "" << true << false << "/usr/bin/mousepad"
            << QStringList{"/usr/bin/mousepad", "FILE"} << true << 0;
        QTest::newRow("an editor that does not start is reported, the desktop opens")
            << "/no/such/editor"
            << "" << false << true << "" << QStringList{"/no/such/editor", "FILE"} << true << 1;
        QTest::newRow("nothing at all can open it")
            << ""
            << "" << true << false << "" << QStringList{} << true << 1;
    }

    void doubleClickOpensAtLine() {
        QFETCH(QString, texEditor);
        QFETCH(QString, textEditor);
        QFETCH(bool, editorStarts);
        QFETCH(bool, desktopOpens);
        QFETCH(QString, notepad);
        QFETCH(QStringList, started);
        QFETCH(bool, opened);
        QFETCH(int, messages);
        started.replaceInStrings("FILE", m_doc);

        Rig rig;
        rig.ctx.settings.vars.texEditor = texEditor;
        rig.ctx.settings.vars.editor = textEditor;
        rig.shell.startResult = editorStarts;
        rig.shell.openResult = desktopOpens;
        rig.shell.notepadProgram = notepad;
        rig.show(twoEntries());
        rig.doubleClick(1);
        QCOMPARE(rig.shell.started.value(0), started);
        QCOMPARE(rig.shell.opened, opened ? QStringList{m_doc} : QStringList{});
        QCOMPARE(rig.prompter.prompts().size(), messages);
    }

    void vanishedFileIsReported() {
        Rig rig;
        rig.ctx.settings.vars.texEditor = "gedit";
        rig.show({{LogEntry::Severity::Error, m_dir.filePath("gone.tex"), 3, "x"}});
        rig.doubleClick(0);
        QVERIFY(rig.shell.started.isEmpty());
        QCOMPARE(rig.prompter.prompts().size(), 1);
    }
};

MORVANE_TEST_MAIN(TestErrorList)
#include "tst_errorlist.moc"
