// The files of a folder a predicate accepts, as QDir's name filters would
// list them: files and links to files, no folders, no hidden files, sorted
// by name with the asked letter case.

#include "platform/directorylisting.h"

#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace morvane;

class TestDirectoryListing : public QObject {
    Q_OBJECT
private slots:
    void fileNamesIn_data() {
        QTest::addColumn<int>("sorting");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("letter case aside")
            << int(Qt::CaseInsensitive) << QStringList{"a.html", "B.html", "c.html", "link.html"};
        QTest::newRow("exact letter case")
            << int(Qt::CaseSensitive) << QStringList{"B.html", "a.html", "c.html", "link.html"};
    }
    void fileNamesIn() {
        QFETCH(int, sorting);
        QFETCH(QStringList, names);
        QTemporaryDir dir;
        for (const char* name : {"c.html", "a.html", "B.html", ".hidden.html", "notes.txt"}) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QVERIFY(QDir(dir.path()).mkdir("folder.html"));
        QVERIFY(QFile::link(dir.filePath("a.html"), dir.filePath("link.html")));
        QVERIFY(QFile::link(dir.filePath("gone"), dir.filePath("broken.html")));
        const auto isPage = [](const QString& name) { return name.endsWith(".html"); };
        QCOMPARE(morvane::fileNamesIn(dir.path(), isPage, Qt::CaseSensitivity(sorting)), names);
    }
};

MORVANE_TEST_GUILESS_MAIN(TestDirectoryListing)
#include "tst_directorylisting.moc"
