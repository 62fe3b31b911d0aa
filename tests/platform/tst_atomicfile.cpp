// Atomic replacement: the new bytes arrive whole, the mode stays, a name at
// the file system's length limit still works, a failure leaves nothing, and
// a file that already holds the bytes is not written again.

#include "platform/atomicfile.h"
#include "support/testhome.h"
#include "support/testmain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace morvane;

class TestAtomicFile : public QObject {
    Q_OBJECT
private slots:
    void replaces_data() {
        QTest::addColumn<int>("durability");
        QTest::addColumn<int>("nameLength");
        QTest::newRow("waits for the disk") << int(Durability::WaitForDisk) << 8;
        QTest::newRow("does not wait") << int(Durability::NoWait) << 8;
        // 250 bytes: a temporary name built from it would pass the
        // 255-byte limit of a file name.
        QTest::newRow("long name") << int(Durability::NoWait) << 250;
    }
    void replaces() {
        QFETCH(int, durability);
        QFETCH(int, nameLength);
        QTemporaryDir dir;
        const QString path = dir.filePath(QString(nameLength - 5, 'n') + ".html");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        QVERIFY(old.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

        QString error;
        QVERIFY2(replaceFileAtomically(path, "new contents", Durability(durability), &error),
                 qPrintable(error));
        QCOMPARE(test::readAll(path), QByteArray("new contents"));
        QCOMPARE(QFile(path).permissions() & QFile::ExeOwner, QFile::ExeOwner);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    // A file that merely looks like a temporary of a dead run is someone
    // else's: only the journal of a killed run removes its temporaries.
    void filesNamedLikeTemporariesStay() {
        QTemporaryDir dir;
        const QStringList names{
            dir.filePath(".morvane-999999999-1.tmp"),
            dir.filePath(QString(".morvane-%1-1.tmp").arg(QCoreApplication::applicationPid()))};
        for (const QString& path : names) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QVERIFY(replaceFileAtomically(dir.filePath("page.html"), "x", Durability::NoWait));
        for (const QString& path : names)
            QVERIFY2(QFileInfo::exists(path), qPrintable(path));
    }

    // Failed replacements of produced files are recorded for the conversion.
    void failuresAreRecorded() {
        QTemporaryDir dir;
        const ReplacementFailures failures;
        replaceFileAtomically(dir.filePath("missing/a.log"), "x", Durability::NoWait);
        replaceFileAtomically(dir.filePath("missing/b.ini"), "x", Durability::WaitForDisk);
        QCOMPARE(failures.entries().size(), 1);
        QVERIFY(failures.entries().at(0).startsWith(dir.filePath("missing/a.log") + ": "));
    }

    // A file saved with what it already holds is left alone (the same file,
    // not a replacement); one whose bytes differ, even in length alone, is
    // replaced.
    void unchangedFileIsNotRewritten() {
        QTemporaryDir dir;
        const QString path = dir.filePath("Morvane.ini");
        QVERIFY(replaceFileAtomically(path, "[Paths]\n", Durability::NoWait));
        const auto inode = [&path] {
            struct stat info {};
            return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
        };
        const auto before = inode();
        QVERIFY(replaceFileIfChanged(path, "[Paths]\n", Durability::WaitForDisk));
        QCOMPARE(inode(), before);
        QVERIFY(replaceFileIfChanged(path, "[Paths]\n\n", Durability::WaitForDisk));
        QVERIFY(inode() != before);
        QCOMPARE(test::readAll(path), QByteArray("[Paths]\n\n"));
    }

    void failureLeavesNoTemporaryFile() {
        QTemporaryDir dir;
        QString error;
        QVERIFY(
            !replaceFileAtomically(dir.filePath("missing/x.txt"), "x", Durability::NoWait, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!copyFileAtomically(dir.filePath("none"), dir.filePath("y"), Durability::NoWait));
        QVERIFY(QDir(dir.path())
                    .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                    .isEmpty());
    }
};

MORVANE_TEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
