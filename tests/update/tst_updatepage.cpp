#include "support/testmain.h"
#include "update/updatepage.h"

#include <QTest>

using namespace morvane;

Q_DECLARE_METATYPE(ProgramVersion)

class TestUpdatePage : public QObject {
    Q_OBJECT
private slots:
    void latestVersion_data() {
        QTest::addColumn<QString>("block");
        QTest::addColumn<bool>("found");
        QTest::addColumn<ProgramVersion>("version");
        QTest::newRow("major.minor.revision")
            << "<!--update start -->2.5.4 (March)" << true << ProgramVersion{2, 5, 4};
        QTest::newRow("no revision")
            << "<!--update start--> 2.5 now" << true << ProgramVersion{2, 5, 0};
        QTest::newRow("a later full stop names no revision")
            << "<!--update start-->2.5 released. Get it" << true << ProgramVersion{2, 5, 0};
        QTest::newRow("number at the block's end")
            << "<!--update start-->3.0.1" << true << ProgramVersion{3, 0, 1};
        QTest::newRow("empty block") << "" << false << ProgramVersion{};
        QTest::newRow("no >") << "<!--update start 2.5.4 " << false << ProgramVersion{};
        QTest::newRow("no dot") << "<!--update start-->version two " << false << ProgramVersion{};
        QTest::newRow("words instead of the major number")
            << "<!--update start-->Version 2.5.4 " << false << ProgramVersion{};
        QTest::newRow("a number too long to be a version")
            << "<!--update start-->99999999999.1 " << false << ProgramVersion{};
    }
    void latestVersion() {
        QFETCH(QString, block);
        QFETCH(bool, found);
        const std::optional<ProgramVersion> version = latestVersionIn(block);
        QCOMPARE(version.has_value(), found);
        if (found)
            QTEST(*version, "version");
    }

    void newer_data() {
        QTest::addColumn<QString>("latest");
        QTest::addColumn<bool>("newer");
        QTest::newRow("2.5.4 is newer than 2.5.3") << "2.5.4" << true;
        QTest::newRow("2.5 is not newer than 2.5.3") << "2.5" << false;
        QTest::newRow("3.0.0 is newer than 2.5.3") << "3.0.0" << true;
        QTest::newRow("2.5.3 is the same") << "2.5.3" << false;
        QTest::newRow("2.10.0 is newer than 2.5.3") << "2.10.0" << true;
        QTest::newRow("1.9.9 is older") << "1.9.9" << false;
    }
    void newer() {
        QFETCH(QString, latest);
        const auto version =
            latestVersionIn(QStringLiteral("<!--x-->") + latest + QLatin1Char(' '));
        QVERIFY(version);
        QTEST(isNewer(*version, ProgramVersion{2, 5, 3}), "newer");
    }

    void blocks_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("block");
        QTest::newRow("markers in any case, block keeps its case")
            << "a<!--UPDATE Start-->V 2.5.4 <!--Update END-->b"
            << "<!--UPDATE Start-->V 2.5.4 ";
        QTest::newRow("end before start") << "<!--update end--><!--update start-->2.5 "
                                          << "";
        QTest::newRow("no end") << "<!--update start-->2.5 "
                                << "";
        QTest::newRow("no start") << "2.5 <!--update end-->"
                                  << "";
        // Lower-casing this text first would move every later position.
        QTest::newRow("characters that lower-case to two")
            << QString::fromUtf8("\u0130\u0130<!--update start-->1.2 <!--update end-->")
            << "<!--update start-->1.2 ";
    }
    void blocks() {
        QFETCH(QString, page);
        QTEST(updateBlockOf(page), "block");
    }

    void notePlaces_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<bool>("found");
        QTest::newRow("in order") << "<!--version--><!--text end-->" << true;
        QTest::newRow("text end first") << "<!--text end--><!--version-->" << false;
        QTest::newRow("no text end") << "<!--version-->" << false;
        QTest::newRow("no version") << "<!--text end-->" << false;
    }
    void notePlaces() {
        QFETCH(QString, page);
        QTEST(notePlacesIn(page).has_value(), "found");
    }

    void revisionNotes_data() {
        QTest::addColumn<QString>("readme");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("notes");
        QTest::newRow("CR LF") << "Intro\r\nRevisions\r\n---------\r\nVersion 1.1\r\n- new\r\n"
                                  "Version 1.0\r\n- first\r\n"
                               << true << "Revisions\r\n---------\r\nVersion 1.1\r\n- new\r\n";
        QTest::newRow("LF") << "Revisions\n---\nVersion 1.1 fix\nVersion 1.0 first\n"
                            << true << "Revisions\n---\nVersion 1.1 fix\n";
        QTest::newRow("1.05 is not 1.0") << "Revisions\n---\nVersion 1.05 more\nVersion 1.0 first\n"
                                         << true << "Revisions\n---\nVersion 1.05 more\n";
        QTest::newRow("running version not named") << "Revisions\n---\nVersion 2.0\n" << true << "";
        QTest::newRow("no heading") << "Version 1.1\nVersion 1.0\n" << false << "";
        QTest::newRow("heading without underline") << "Revisions\nVersion 1.0\n" << false << "";
    }
    void revisionNotes() {
        QFETCH(QString, readme);
        QFETCH(bool, found);
        const auto notes = revisionNotesIn(readme, ProgramVersion{1, 0, 0});
        QCOMPARE(notes.has_value(), found);
        if (found)
            QTEST(*notes, "notes");
    }
};

MORVANE_TEST_GUILESS_MAIN(TestUpdatePage)
#include "tst_updatepage.moc"
