// The command that opens a file at a line in the TeX editor of the settings.

#include "settings/editorlines.h"
#include "support/testmain.h"

#include <QTest>

using namespace morvane;

class TestEditorLines : public QObject {
    Q_OBJECT

private slots:
    void command_data() {
        QTest::addColumn<QString>("editor");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("line");
        QTest::addColumn<QStringList>("arguments");

        const QString doc = "/home/a/My Paper/paper.tex";
        QTest::newRow("gedit: +LINE") << "gedit" << doc << 12 << QStringList{"+12", doc};
        QTest::newRow("kate by its full path")
            << "/usr/bin/kate" << doc << 3 << QStringList{"--line", "3", doc};
        QTest::newRow("code joins file and line")
            << "code" << doc << 7 << QStringList{"--goto", doc + ":7"};
        QTest::newRow("texstudio: the line after the file")
            << "texstudio" << doc << 9 << QStringList{doc, "--line", "9"};
        QTest::newRow("texworks") << "texworks" << doc << 5 << QStringList{"--position=5", doc};
        QTest::newRow("emacsclient returns at once")
            << "emacsclient" << doc << 2 << QStringList{"--no-wait", "+2", doc};
        QTest::newRow("a file named after the placeholder stays as it is")
            << "gvim"
            << "/tmp/LINE/FILE.tex" << 4 << QStringList{"+4", "/tmp/LINE/FILE.tex"};
        QTest::newRow("an editor not in the table gets the file alone")
            << "/opt/myeditor" << doc << 12 << QStringList{doc};
        QTest::newRow("a name that only contains a known one")
            << "gedit-wrapper" << doc << 12 << QStringList{doc};
        QTest::newRow("no line: the file alone") << "kate" << doc << 0 << QStringList{doc};
    }

    void command() {
        QFETCH(QString, editor);
        QFETCH(QString, file);
        QFETCH(int, line);
        QFETCH(QStringList, arguments);
        const EditorCommand command = editorCommandAt(editor, file, line);
        QCOMPARE(command.program, editor);
        QCOMPARE(command.arguments, arguments);
    }
};

MORVANE_TEST_GUILESS_MAIN(TestEditorLines)
#include "tst_editorlines.moc"
