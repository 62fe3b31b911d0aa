#include "pipeline/route.h"
#include "settings/profilefile.h"
#include "settings/programlocations.h"
#include "settings/programsearch.h"
#include "support/testhome.h"
#include "support/testmain.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace morvane;

namespace {

// A generated tree below a temporary folder.
struct Tree {
    QTemporaryDir dir;

    QString path(const QString& relative = QString()) const {
        return relative.isEmpty() ? dir.path() : dir.filePath(relative);
    }
    QString file(const QString& relative, bool executable = true) const {
        const QString full = path(relative);
        QDir().mkpath(QFileInfo(full).absolutePath());
        QFile f(full);
        if (f.open(QIODevice::WriteOnly))
            f.write("#!/bin/sh\n");
        f.close();
        if (executable)
            f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
        return full;
    }
    void link(const QString& target, const QString& relative) const {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        QFile::link(target, path(relative));
    }
};

QList<QStringList> searched(const QString& root, const QStringList& otherMounts = {}) {
    ProgramSearch search(searchTargets(allLocationRows(builtInRoutes())));
    search.setOtherMountPoints(otherMounts);
    search.searchTree(root);
    return search.candidates();
}

// The search target of a row of Program Locations, by its [Paths] key (row
// k + 2 is target k).
int targetOf(const char* key) {
    const QList<LocationRow> rows = allLocationRows(builtInRoutes());
    for (int row = 1; row < rows.size(); ++row)
        if (qstrcmp(rows[row].key, key) == 0)
            return row - 1;
    return -1;
}

const int kHevea = targetOf("Hevea"), kTexify = targetOf("Texify"), kL2h = targetOf("l2h"),
          kPerl = targetOf("perl");

} // namespace

class TestProgramSearch : public QObject {
    Q_OBJECT
private slots:
    void findsProgramsAndFiles() {
        Tree tree;
        tree.file("a/bin/hevea");
        tree.file("b/HEVEA");
        tree.file("c/texi2dvi");
        tree.file("c/texify");
        tree.file("d/hevea", false); // not a program
        tree.file("etc/latex2html.conf", false);
        tree.link(tree.path("etc/latex2html.conf"), "share/l2h/l2hconf.pm");
        tree.link(tree.path("a/bin/hevea"), "links/hevea"); // a link to a program counts
        const QList<QStringList> found = searched(tree.path());
        QStringList hevea = found[kHevea];
        hevea.sort();
        QCOMPARE(hevea, (QStringList{tree.path("a/bin"), tree.path("b"), tree.path("links")}));
        // Two names of one row in one folder give one candidate.
        QCOMPARE(found[kTexify], QStringList{tree.path("c")});
        QCOMPARE(found[kL2h], QStringList{tree.path("share/l2h")});
        QVERIFY(found[kPerl].isEmpty());
    }

    void skipsLinksDotFoldersRecycleBinsAndOtherVolumes() {
        Tree tree;
        tree.file("real/perl");
        tree.file(".git/perl");
        tree.file("RECYCLED/perl");
        tree.file("real/RECYCLED/x/perl");
        tree.file("System Volume Information/perl");
        tree.file("mnt/other/perl");
        tree.link(tree.path("real"), "loop/up"); // a link to a folder
        tree.link(tree.path(), "real/self");     // a link loop, as /usr/bin/X11
        const QList<QStringList> found = searched(tree.path(), {tree.path("mnt/other")});
        QStringList perl = found[kPerl];
        perl.sort();
        // "recycle" folders count only at the top of a volume.
        QCOMPARE(perl, (QStringList{tree.path("real"), tree.path("real/RECYCLED/x")}));
    }

    void remembersFoldersItHasSeen() {
        Tree tree;
        tree.file("x/y/tth");
        ProgramSearch search(searchTargets(allLocationRows(builtInRoutes())));
        search.searchTree(tree.path());
        const int seen = search.foldersSeen();
        // A second root leading into the same folders (a bind mount) adds
        // neither folders nor candidates.
        search.searchTree(tree.path() + "/");
        search.searchTree(tree.path("x"));
        QCOMPARE(search.foldersSeen(), seen);
        QCOMPARE(search.candidates()[1], QStringList{tree.path("x/y")});
    }

    void unreadableFolderIsSkipped() {
        Tree tree;
        tree.file("locked/inner/tth");
        tree.file("open/tth");
        QFile::setPermissions(tree.path("locked"), QFileDevice::WriteOwner);
        if (QFileInfo(tree.path("locked")).isReadable()) {
            QFile::setPermissions(tree.path("locked"), QFileDevice::ReadOwner |
                                                           QFileDevice::WriteOwner |
                                                           QFileDevice::ExeOwner);
            QSKIP("the tests run with rights that read any folder");
        }
        QCOMPARE(searched(tree.path())[1], QStringList{tree.path("open")});
        QFile::setPermissions(tree.path("locked"), QFileDevice::ReadOwner |
                                                       QFileDevice::WriteOwner |
                                                       QFileDevice::ExeOwner);
    }

    void missingRootFindsNothing() {
        Tree tree;
        const QList<QStringList> found = searched(tree.path("vanished"));
        QVERIFY(std::all_of(found.begin(), found.end(),
                            [](const QStringList& l) { return l.isEmpty(); }));
    }

    // The volume goes away while it is searched: what was found stays, the
    // search ends without error.
    void volumeVanishingDuringTheSearch() {
        Tree tree;
        tree.file("a/hevea");
        for (int i = 0; i < 200; ++i)
            tree.file(QStringLiteral("z/d%1/f.txt").arg(i), false);
        ProgramSearch search(searchTargets(allLocationRows(builtInRoutes())));
        search.serveIntervalMs = 0;
        bool removed = false;
        search.found = [](int, const QString&) {};
        search.serve = [&](const QString&) {
            if (!removed)
                removed = QDir(tree.path("z")).removeRecursively();
        };
        search.searchTree(tree.path());
        QVERIFY(removed);
        QCOMPARE(search.candidates().at(kHevea), QStringList{tree.path("a")});
        QVERIFY(search.foldersSeen() < 200);
    }

    void stopEndsTheSearchAtOnce() {
        Tree tree;
        for (int i = 0; i < 300; ++i)
            tree.file(QStringLiteral("d%1/e/f.txt").arg(i), false);
        tree.file("d0/e/hevea");
        ProgramSearch search(searchTargets(allLocationRows(builtInRoutes())));
        search.serveIntervalMs = 0;
        int serves = 0;
        QElapsedTimer sinceStop;
        search.found = [&](int, const QString&) {};
        search.serve = [&](const QString&) {
            if (++serves == 20) {
                search.stop();
                sinceStop.start();
            }
        };
        search.searchTree(tree.path());
        QVERIFY(search.isStopped());
        QCOMPARE(serves, 20);
        QVERIFY(search.foldersSeen() < 100);
        QVERIFY(sinceStop.elapsed() < 100);
        // A stopped search starts nothing more.
        search.searchTree(tree.path());
        QCOMPARE(serves, 20);
    }

    void outcome_data() {
        QTest::addColumn<QStringList>("found");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("candidates");
        QTest::addColumn<QString>("note");
        QTest::newRow("none, even if the row held a path") << QStringList{} << "/opt/old"
                                                           << "" << QStringList{} << "Not found";
        QTest::newRow("one") << QStringList{"/usr/bin"} << ""
                             << "/usr/bin" << QStringList{} << "";
        QTest::newRow("two, the held one first")
            << QStringList{"/a", "/b"} << "/b"
            << "/b" << QStringList{"/b", "/a"} << "Choose correct path (2 found)";
        QTest::newRow("two, the held one spelled otherwise is another folder")
            << QStringList{"/a", "/b"} << "/B"
            << "/a" << QStringList{"/a", "/b"} << "Choose correct path (2 found)";
    }
    void outcome() {
        QFETCH(QStringList, found);
        QFETCH(QString, saved);
        const RowOutcome o = searchOutcome(found, saved);
        QTEST(o.text, "text");
        QTEST(o.candidates, "candidates");
        QTEST(o.note, "note");
    }

    void volumeEntriesAndTheCdRom() {
        const QList<Volume> volumes{{"/", "ext4", DriveType::Fixed},
                                    {"/media/cd", "iso9660", DriveType::CdRom},
                                    {"/net", "nfs", DriveType::Remote},
                                    {"/media/dvd", "udf", DriveType::CdRom}};
        QStringList texts;
        for (const VolumeEntry& e : volumeEntries(volumes))
            texts.append(e.text);
        QCOMPARE(texts, (QStringList{"", "/ - Fixed drive", "/media/cd - CD-ROM drive",
                                     "/net - Remote drive", "/media/dvd - CD-ROM drive"}));
        QCOMPARE(lastCdRomEntry(volumes), 4);
        QCOMPARE(lastCdRomEntry(volumes.mid(0, 1)), 0);
        QCOMPARE(chosenFolderText("/usr/bin/"), QStringLiteral("/usr/bin"));
        QCOMPARE(chosenFolderText("/"), QStringLiteral("/"));
    }

    void locationsWrittenInOneGo() {
        test::TestHome home(false);
        const QString ini = home.write("Morvane.ini", "; kept\n[Preferences]\nFirstTime=Yes\n");
        const QList<LocationRow> rows = allLocationRows(builtInRoutes());
        QStringList texts;
        for (int row = 1; row <= rows.size(); ++row)
            texts.append(QStringLiteral("/r%1").arg(row));
        texts[2].clear();
        QVERIFY(writeProgramLocations(ini, "/media/cd", rows, texts));
        const ProfileFile profile = ProfileFile::load(ini);
        QCOMPARE(profile.read("Preferences", "FirstTime", ""), QStringLiteral("No"));
        QCOMPARE(profile.keys("Paths"),
                 (QStringList{"CD-ROM", "TeXDocs", "Hevea", "Tth", "Tex4ht", "imagemagick", "gs",
                              "htrunm", "htruns", "l2h", "perl", "netpbm", "Texify", "Latexml",
                              "Pandoc"}));
        QCOMPARE(profile.read("Paths", "netpbm", "x"), QStringLiteral("/r11"));
        QVERIFY(profile.contains("Paths", "Tth"));
        QCOMPARE(profile.read("Paths", "Tth", "x"), QString());
        QVERIFY(test::readAll(ini).startsWith("; kept\n"));
        QVERIFY(!writeProgramLocations(home.file("no/such/Morvane.ini"), "", rows, texts));
    }
};

MORVANE_TEST_GUILESS_MAIN(TestProgramSearch)
#include "tst_programsearch.moc"
