// The error list below the lower frame: hidden when empty, its count beside
// View Log, a double-click opening the file at its line in the TeX editor.

#include "pipeline/appcontext.h"
#include "settings/optionsmodel.h"
#include "support/doubles.h"
#include "support/testmain.h"
#include "ui/errorlist.h"

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
        QCOMPARE(rig.model.caption(ctl::lblErrorCount), QString("1 error, 1 warning"));
        rig.show({});
        QVERIFY(!rig.model.isVisible(ctl::lstErrors));
        QCOMPARE(rig.list.topLevelItemCount(), 0);
    }

    void doubleClickOpensAtLine_data() {
        QTest::addColumn<QString>("editor");
        QTest::addColumn<bool>("starts");
        QTest::addColumn<QStringList>("started");
        QTest::addColumn<QStringList>("opened");
        QTest::addColumn<int>("messages");

        QTest::newRow("a known editor gets the line")
            << "gedit" << true << QStringList{"gedit", "+8", "FILE"} << QStringList{} << 0;
        QTest::newRow("no TeX editor: the desktop's program, without a line")
            << "" << true << QStringList{} << QStringList{"FILE"} << 0;
        QTest::newRow("an editor that does not start is reported")
            << "/no/such/editor" << false << QStringList{"/no/such/editor", "FILE"} << QStringList{}
            << 1;
    }

    void doubleClickOpensAtLine() {
        QFETCH(QString, editor);
        QFETCH(bool, starts);
        QFETCH(QStringList, started);
        QFETCH(QStringList, opened);
        QFETCH(int, messages);
        started.replaceInStrings("FILE", m_doc);
        opened.replaceInStrings("FILE", m_doc);

        Rig rig;
        rig.ctx.settings.vars.texEditor = editor;
        rig.shell.startResult = starts;
        rig.show(twoEntries());
        rig.doubleClick(1);
        QCOMPARE(rig.shell.started.value(0), started);
        QCOMPARE(rig.shell.opened, opened);
        QCOMPARE(rig.prompter.prompts().size(), messages);
        if (messages)
            QVERIFY(rig.prompter.prompts().front().text.contains(editor));
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
