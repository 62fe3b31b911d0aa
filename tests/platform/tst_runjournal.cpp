// A killed run's journal is finished by the next start: names it renamed
// come back, its links, temporaries and alias-named files go, and nothing
// it did not make (or that changed since) is touched.

#include "platform/privatefile.h"
#include "platform/runjournal.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/wait.h>
#include <unistd.h>

using namespace morvane;

namespace {

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

// Runs `work` in a child process that then dies without any clean-up, as a
// kill -9 would leave it.
template <typename Work> void inDyingProcess(Work work) {
    const pid_t child = ::fork();
    if (child == 0) {
        work();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
}

} // namespace

class TestRunJournal : public QObject {
    Q_OBJECT
    QTemporaryDir m_state;

private slots:
    void initTestCase() { qputenv("XDG_STATE_HOME", m_state.path().toUtf8()); }

    void deadRunIsFinishedAndOnlyWhatItMadeGoes() {
        QTemporaryDir dir;
        const QString doc = dir.filePath("my doc.tex");
        write(doc, "user text");
        const QString link = dir.filePath("alias.tex");
        const QString replacedLink = dir.filePath("alias.bbl");
        const QString folder = dir.filePath("my doc");
        const QString renamed = dir.filePath("alias-folder");
        const QString temp = dir.filePath(".morvane-x-1.tmp");
        const QString finishedLink = dir.filePath("kept.tex");
        QVERIFY(QDir().mkpath(folder));
        write(folder + "/page.html", "complete page");

        inDyingProcess([&] {
            journal::recordLink(link, doc);
            QVERIFY(::link(QFile::encodeName(doc), QFile::encodeName(link)) == 0);
            journal::recordLink(replacedLink, doc);
            QVERIFY(::link(QFile::encodeName(doc), QFile::encodeName(replacedLink)) == 0);
            journal::recordOwnedPrefix(folder, "alias");
            journal::recordRename(folder, renamed);
            QVERIFY(QDir().rename(folder, renamed));
            write(renamed + "/alias.html", "half a pa");
            journal::recordTemporary(temp);
            write(temp, "partial");
            const journal::Entry done = journal::recordLink(finishedLink, doc);
            QVERIFY(::link(QFile::encodeName(doc), QFile::encodeName(finishedLink)) == 0);
            journal::done(done);
        });
        // After the crash, someone else's file took one of the names.
        QFile::remove(replacedLink);
        write(replacedLink, "someone else's");

        const QStringList restored = journal::recoverDeadRuns();

        QCOMPARE(restored, QStringList{folder});
        QCOMPARE(read(doc), QByteArray("user text"));
        QVERIFY(!QFileInfo::exists(link));
        QCOMPARE(read(replacedLink), QByteArray("someone else's"));
        QCOMPARE(read(folder + "/page.html"), QByteArray("complete page"));
        QVERIFY(!QFileInfo::exists(folder + "/alias.html"));
        QVERIFY(!QFileInfo::exists(renamed));
        QVERIFY(!QFileInfo::exists(temp));
        QVERIFY(QFileInfo::exists(finishedLink));
        QCOMPARE(QDir(journal::folder()).entryList(QDir::Files), QStringList());
    }

    // A folder of the old name that came back meanwhile is not replaced, and
    // a living process's journal is left alone.
    void livingRunsAndTakenNamesStay() {
        QTemporaryDir dir;
        const QString folder = dir.filePath("out");
        const QString renamed = dir.filePath("alias-out");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QDir().mkpath(renamed));
        // Before this process opens its own journal, which a child would share.
        inDyingProcess([&] { journal::recordRename(folder, renamed); });

        const QString doc = dir.filePath("doc.tex");
        write(doc, "text");
        const QString link = dir.filePath("alias.tex");
        QVERIFY(::link(QFile::encodeName(doc), QFile::encodeName(link)) == 0);
        const journal::Entry mine = journal::recordLink(link, doc);
        QVERIFY(mine != 0);

        QVERIFY(journal::recoverDeadRuns().isEmpty());
        QVERIFY(QFileInfo::exists(link));
        QVERIFY(QFileInfo::exists(renamed));
        QCOMPARE(QDir(journal::folder()).entryList(QDir::Files).size(), 1);
        journal::done(mine);
    }

    // A file of a run's private folder (the script's private copy) is new or
    // nothing: a name already taken, by a file or a link, is never opened,
    // and what the folder held goes with it.
    void privateFolderFilesAreNewAndGoWithIt_data() {
        QTest::addColumn<QString>("taken"); // "", "file" or "link"
        QTest::newRow("a fresh name") << "";
        QTest::newRow("a name taken by a file") << "file";
        QTest::newRow("a name taken by a link") << "link";
    }

    void privateFolderFilesAreNewAndGoWithIt() {
        QFETCH(QString, taken);
        QTemporaryDir elsewhere;
        const QString target = elsewhere.filePath("target");
        write(target, "the user's");
        QString folderPath;
        {
            const PrivateFolder folder(QStringLiteral("morvane-test-XXXXXX"));
            QVERIFY(folder.isValid());
            folderPath = folder.path();
            const QString name = folder.filePath("convert.sh");
            if (taken == "file")
                write(name, "earlier");
            else if (taken == "link")
                QVERIFY(QFile::link(target, name));
            const QString written = folder.writeNewFile("convert.sh", "the script");
            if (taken.isEmpty()) {
                QCOMPARE(written, name);
                QCOMPARE(read(name), QByteArray("the script"));
                QCOMPARE(QFile::permissions(name),
                         QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                             QFileDevice::WriteUser);
            } else {
                QCOMPARE(written, QString());
                QCOMPARE(read(taken == "file" ? name : target),
                         QByteArray(taken == "file" ? "earlier" : "the user's"));
            }
        }
        QVERIFY(!QFileInfo::exists(folderPath));
        QCOMPARE(read(target), QByteArray("the user's"));
    }
};

MORVANE_TEST_GUILESS_MAIN(TestRunJournal)
#include "tst_runjournal.moc"
