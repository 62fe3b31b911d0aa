// The configuration files' names, skeletons and snippet insertion.

#include "support/testmain.h"
#include "tex4ht/configfile.h"

#include <QTest>

using namespace morvane;

Q_DECLARE_METATYPE(morvane::SnippetPlace)

class TestConfigFile : public QObject {
    Q_OBJECT

    static QString line(const QString& text, int number) {
        return text.split(QLatin1Char('\n')).value(number - 1);
    }

private slots:
    void namesFromCaption_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("display");
        QTest::newRow("html") << "Edit qvc&onfig.cfg"
                              << "qvconfig.cfg"
                              << ""
                              << "HTML";
        QTest::newRow("bitmap maths") << "Edit qvc&onfig-xh.cfg"
                                      << "qvconfig-xh.cfg"
                                      << "-xh"
                                      << "Bitmap Maths";
        QTest::newRow("mathml") << "Edit qvc&onfig-xhm.cfg"
                                << "qvconfig-xhm.cfg"
                                << "-xhm"
                                << "MathML";
        QTest::newRow("mozilla") << "Edit qvc&onfig-mz.cfg"
                                 << "qvconfig-mz.cfg"
                                 << "-mz"
                                 << "MathML Mozilla";
    }
    void namesFromCaption() {
        QFETCH(QString, caption);
        QFETCH(QString, file);
        QFETCH(QString, suffix);
        QFETCH(QString, display);
        QCOMPARE(configFileFromCaption(caption), file);
        QCOMPARE(configSuffix(file), suffix);
        QCOMPARE(configDisplayName(suffix), display);
    }

    void skeleton_data() {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("cfgLine");
        QTest::addColumn<QString>("cfhLine");
        QTest::newRow("html") << ""
                              << "\\Preamble{html}"
                              << "\\IfFileExists{\\jobname.cfg}{\\input \\jobname.cfg "
                                 "\\typeout{QVCONFIG is using \\jobname.cfg}}{}"
                              << "\\IfFileExists{\\jobname.cfh}{\\input \\jobname.cfh "
                                 "\\typeout{QVCONFIG is using \\jobname.cfh}}{}";
        QTest::newRow("first use of the mozilla file")
            << "-mz"
            << "\\Preamble{}"
            << "\\IfFileExists{\\jobname -mz.cfg}{\\input \\jobname -mz.cfg "
               "\\typeout{QVCONFIG-MZ is using \\jobname-mz.cfg}}{}"
            << "\\IfFileExists{\\jobname -mz.cfh}{\\input \\jobname -mz.cfh "
               "\\typeout{QVCONFIG-MZ is using \\jobname-mz.cfh}}{}";
    }
    void skeleton() {
        QFETCH(QString, suffix);
        const QString text = configSkeleton(suffix);
        QCOMPARE(text.count(QLatin1Char('\n')), 16);
        QFETCH(QString, first);
        QCOMPARE(line(text, 1), first);
        QFETCH(QString, cfgLine);
        QCOMPARE(line(text, 7), cfgLine);
        QCOMPARE(line(text, 8), QString("\\begin{document}"));
        QFETCH(QString, cfhLine);
        QCOMPARE(line(text, 14), cfhLine);
        QCOMPARE(line(text, 17), QString("\\EndPreamble"));
        for (int empty : {2, 5, 9, 12, 15, 16})
            QVERIFY(line(text, empty).isEmpty());
    }

    void explanation() {
        QCOMPARE(configExplanation("qvconfig-xh.cfg"),
                 QString("This is qvconfig-xh.cfg which can be used to customize the Bitmap "
                         "Maths file. \nPressing OK will use qvconfig-xh.cfg in the conversion "
                         "and also save it for future use."));
    }

    void insertsSnippet_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<SnippetPlace>("place");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("expected");
        const QString c = "C\n\n";
        QTest::newRow("below the cursor's line")
            << "a\nbb\ncc" << SnippetPlace::AfterCursorLine << 3 << "a\nbb\nC\n\ncc";
        QTest::newRow("cursor at the end of its line")
            << "a\nbb\ncc" << SnippetPlace::AfterCursorLine << 4 << "a\nbb\nC\n\ncc";
        QTest::newRow("cursor in the last line appends a line")
            << "a\nbb" << SnippetPlace::AfterCursorLine << 3 << "a\nbb\nC\n\n";
        QTest::newRow("below the preamble line")
            << "x\n\\Preamble{html}\n\\begin{document}\n"
            << SnippetPlace::InPreamble << 0 << "x\n\\Preamble{html}\nC\n\n\\begin{document}\n";
        QTest::newRow("crlf lines keep their ends")
            << "\\Preamble{}\r\n\\begin{document}\r\nz" << SnippetPlace::InDocument << 0
            << "\\Preamble{}\r\n\\begin{document}\r\nC\n\nz";
        QTest::newRow("missing anchor falls back to the cursor")
            << "a\nb" << SnippetPlace::InDocument << 0 << "a\nC\n\nb";
        QTest::newRow("anchor on the last line")
            << "\\begin{document}" << SnippetPlace::InDocument << 0 << "\\begin{document}\nC\n\n";
    }
    void insertsSnippet() {
        QFETCH(QString, text);
        QFETCH(SnippetPlace, place);
        QFETCH(int, cursor);
        QFETCH(QString, expected);
        QCOMPARE(withSnippetInserted(text, "C\n\n", place, cursor), expected);
    }

    void documentPlacementInSkeletonIsLineNine() {
        const QString text =
            withSnippetInserted(configSkeleton("-xh"), "CODE\n\n", SnippetPlace::InDocument, 0);
        QCOMPARE(line(text, 8), QString("\\begin{document}"));
        QCOMPARE(line(text, 9), QString("CODE"));
        QVERIFY(line(text, 15).startsWith("% IMPORTANT: Place your Beginning"));
    }

    void savedTextEndsWithOneLineEnd() {
        QCOMPARE(configFileContent("a\nb"), QString("a\nb\n"));
        QCOMPARE(configFileContent(configFileContent("a\nb")), QString("a\nb\n"));
    }
};

MORVANE_TEST_APPLESS_MAIN(TestConfigFile)
#include "tst_configfile.moc"
