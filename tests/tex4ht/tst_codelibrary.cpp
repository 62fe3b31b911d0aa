// CustomCode.txt: reading snippets, saving, renaming and deleting them,
// with either line end and with sections that repeat or have no name.

#include "support/testmain.h"
#include "tex4ht/codefragments.h"
#include "tex4ht/codelibrary.h"

#include <QTemporaryDir>
#include <QTest>

using namespace morvane;

class TestCodeLibrary : public QObject {
    Q_OBJECT

    const QString library = ";Custom Tex4ht Code\r\n\r\n[Meta]\r\n\\HCode{<meta>}\r\n[]\r\n"
                            "lost\r\n[Links]\r\na\r\nb\r\n\r\n[Meta]\r\nsecond\r\n";

private slots:
    void names() {
        QCOMPARE(snippetNames(library), QStringList({"Meta", "Links"}));
        QVERIFY(snippetNames(QString()).isEmpty());
    }

    void code_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("code");
        QTest::newRow("gets a line end and an empty line") << "Meta"
                                                           << "\\HCode{<meta>}\n\n";
        QTest::newRow("an empty line already there stays single") << "Links"
                                                                  << "a\nb\n\n";
        QTest::newRow("unknown name") << "meta"
                                      << "";
    }
    void code() {
        QFETCH(QString, name);
        QFETCH(QString, code);
        QCOMPARE(snippetCode(library, name), code);
    }

    void proposedName() {
        QCOMPARE(proposedSnippetName({}), QString("Code1"));
        QCOMPARE(proposedSnippetName({"code1", "Code2", "Code4"}), QString("Code3"));
    }

    void save_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("expected");
        QTest::newRow("first save writes the heading") << ""
                                                       << "A"
                                                       << "x"
                                                       << ";Custom Tex4ht Code\n\n[A]\nx\n";
        QTest::newRow("a last line without its end is ended first") << ";c\n\n[A]\nx"
                                                                    << "B"
                                                                    << "y\n"
                                                                    << ";c\n\n[A]\nx\n[B]\ny\n";
        QTest::newRow("a name in other case replaces the section in place")
            << ";c\n[A]\nx\n[B]\ny\n"
            << "a"
            << "z1\nz2"
            << ";c\n[a]\nz1\nz2\n[B]\ny\n";
    }
    void save() {
        QFETCH(QString, before);
        QFETCH(QString, name);
        QFETCH(QString, code);
        const QString after = withSnippetSaved(before, name, code);
        QFETCH(QString, expected);
        QCOMPARE(after, expected);
        QCOMPARE(snippetCode(after, name), code.endsWith('\n') ? code + "\n" : code + "\n\n");
    }

    void deleteRemovesEverySectionOfTheName() {
        const QString after = withSnippetDeleted(library, "Meta");
        QCOMPARE(snippetNames(after), QStringList({"Links"}));
        QCOMPARE(snippetCode(after, "Links"), QString("a\nb\n\n"));
        QVERIFY(!after.contains("second"));
    }

    void renameKeepsTheCode() {
        const QString after = withSnippetRenamed(library, "Links", "Nav");
        QCOMPARE(snippetNames(after), QStringList({"Meta", "Nav"}));
        QCOMPARE(snippetCode(after, "Nav"), QString("a\nb\n\n"));
    }

    void codeFragments() {
        QTemporaryDir dir;
        QVERIFY(codeFragmentEntries(dir.path()).isEmpty());
        QFile file(dir.filePath("codefragments.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\"html,2\"\r\n -e\n");
        file.close();
        QCOMPARE(codeFragmentEntries(dir.path()),
                 QStringList({"-- Select a code fragment --", "\"html,2\"", " -e"}));
        QCOMPARE(withFragmentInserted("htlatex doc", 7, " \"x\""), QString("htlatex \"x\" doc"));
    }
};

MORVANE_TEST_APPLESS_MAIN(TestCodeLibrary)
#include "tst_codelibrary.moc"
