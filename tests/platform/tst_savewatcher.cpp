// The save watcher with real files: the ways editors save, files that go
// away and come back, and a crowded folder.

#include "platform/savewatcher.h"
#include "support/testmain.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace morvane;

namespace {

constexpr int kSettleMs = 100;
// Long enough for the settle time and the file system's events.
constexpr int kQuietMs = 600;

void writeFile(const QString& path, const QByteArray& text) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

// The ways a file changes on disk, as editors and users do it.
enum class Step {
    WriteInPlace,    // overwrite the file itself
    RenameOver,      // write a new file beside it, rename it over the old one
    DeleteThenWrite, // remove, then create anew
    TouchNeighbour,  // another file of the folder changes
    Delete,          // the file goes away
    MoveAway,        // renamed into another folder
    MoveBackChanged, // comes back from there, with new content
    WriteTwiceQuickly,
};

void perform(Step step, const QString& file, const QString& elsewhere, int round) {
    const QByteArray text = "version " + QByteArray::number(round) + "\n";
    switch (step) {
    case Step::WriteInPlace:
        writeFile(file, text);
        break;
    case Step::RenameOver:
        writeFile(file + ".tmp~", text);
        QVERIFY(::rename(QFile::encodeName(file + ".tmp~"), QFile::encodeName(file)) == 0);
        break;
    case Step::DeleteThenWrite:
        QVERIFY(QFile::remove(file));
        writeFile(file, text);
        break;
    case Step::TouchNeighbour:
        writeFile(QFileInfo(file).absolutePath() + "/neighbour.aux", text);
        break;
    case Step::Delete:
        QVERIFY(QFile::remove(file));
        break;
    case Step::MoveAway:
        QVERIFY(QFile::rename(file, elsewhere));
        break;
    case Step::MoveBackChanged:
        writeFile(elsewhere, text + "more\n");
        QVERIFY(::rename(QFile::encodeName(elsewhere), QFile::encodeName(file)) == 0);
        break;
    case Step::WriteTwiceQuickly:
        writeFile(file, text);
        QTest::qWait(kSettleMs / 4);
        writeFile(file, text + "again\n");
        break;
    }
}

} // namespace

Q_DECLARE_METATYPE(QList<Step>)

class TestSaveWatcher : public QObject {
    Q_OBJECT
private slots:
    void saves_data() {
        QTest::addColumn<QList<Step>>("steps");
        QTest::addColumn<QList<int>>("savedAfter"); // `saved` signals after each step
        QTest::addColumn<int>("missing");
        using S = QList<Step>;
        using N = QList<int>;
        QTest::newRow("write in place")
            << S{Step::WriteInPlace, Step::WriteInPlace} << N{1, 2} << 0;
        QTest::newRow("rename over, twice")
            << S{Step::RenameOver, Step::RenameOver} << N{1, 2} << 0;
        QTest::newRow("rename over, then in place")
            << S{Step::RenameOver, Step::WriteInPlace} << N{1, 2} << 0;
        QTest::newRow("delete then write")
            << S{Step::DeleteThenWrite, Step::WriteInPlace} << N{1, 2} << 0;
        QTest::newRow("a neighbour is no save") << S{Step::TouchNeighbour} << N{0} << 0;
        QTest::newRow("saves close together are one")
            << S{Step::WriteTwiceQuickly, Step::WriteTwiceQuickly} << N{1, 2} << 0;
        QTest::newRow("deleted, then made again")
            << S{Step::Delete, Step::WriteInPlace, Step::WriteInPlace} << N{0, 1, 2} << 1;
        QTest::newRow("moved away and back changed")
            << S{Step::MoveAway, Step::MoveBackChanged, Step::RenameOver} << N{0, 1, 2} << 1;
    }

    void saves() {
        QFETCH(QList<Step>, steps);
        QFETCH(QList<int>, savedAfter);
        QFETCH(int, missing);
        QTemporaryDir dir;
        QTemporaryDir other;
        const QString file = dir.filePath("paper.tex");
        const QString input = dir.filePath("intro.tex");
        writeFile(file, "version 0\n");
        writeFile(input, "unchanged\n");

        SaveWatcher watcher(kSettleMs);
        watcher.setFiles({file, input});
        QSignalSpy saved(&watcher, &SaveWatcher::saved);
        QSignalSpy gone(&watcher, &SaveWatcher::missing);
        for (int i = 0; i < steps.size(); ++i) {
            perform(steps.at(i), file, other.filePath("paper.tex"), i + 1);
            QTest::qWait(kQuietMs);
            QCOMPARE(saved.size(), savedAfter.at(i));
        }
        for (const QList<QVariant>& signal : saved)
            QCOMPARE(signal.at(0).toStringList(), QStringList{file});
        QCOMPARE(gone.size(), missing);
    }

    // A save made while the caller was busy (its events not yet served) is
    // found by the recheck after it, also when the file list changed.
    void saveWhileBusyIsFoundByTheRecheck() {
        QTemporaryDir dir;
        const QString file = dir.filePath("paper.tex");
        const QString input = dir.filePath("intro.tex");
        writeFile(file, "a\n");
        writeFile(input, "b\n");
        SaveWatcher watcher(kSettleMs);
        watcher.setFiles({file});
        QSignalSpy saved(&watcher, &SaveWatcher::saved);
        usleep(20 * 1000); // a new modification time, also on coarse clocks
        writeFile(file, "changed while converting\n");
        watcher.setFiles({file, input}); // no events served in between
        watcher.recheck();
        QVERIFY(watcher.isSettling());
        QTRY_COMPARE_WITH_TIMEOUT(saved.size(), 1, kQuietMs);
        QCOMPARE(watcher.files(), (QStringList{file, input}));
        QCOMPARE(watcher.folders(), QStringList{dir.path()});
    }

    // A file written in pieces is one save, made once it has been quiet for
    // the settle time: each piece starts the settle time again.
    void fileWrittenInPiecesIsOneSave() {
        QTemporaryDir dir;
        const QString file = dir.filePath("paper.tex");
        writeFile(file, "a\n");
        SaveWatcher watcher(kSettleMs * 5);
        watcher.setFiles({file});
        QSignalSpy saved(&watcher, &SaveWatcher::saved);
        QByteArray text;
        for (int piece = 0; piece < 4; ++piece) {
            text += "piece\n";
            writeFile(file, text);
            QTest::qWait(kSettleMs * 3 / 2);
            QCOMPARE(saved.size(), 0);
        }
        QTRY_COMPARE_WITH_TIMEOUT(saved.size(), 1, kQuietMs * 3);
        QTest::qWait(kSettleMs * 6);
        QCOMPARE(saved.size(), 1);
    }

    // Ten thousand files beside the document: changes among them cost no
    // conversion, a save of the document makes exactly one.
    void crowdedFolder() {
        QTemporaryDir dir;
        for (int i = 0; i < 10000; ++i) {
            QFile f(dir.filePath(QStringLiteral("pic%1.png").arg(i)));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        const QString file = dir.filePath("paper.tex");
        writeFile(file, "a\n");
        SaveWatcher watcher(kSettleMs);
        watcher.setFiles({file});
        QSignalSpy saved(&watcher, &SaveWatcher::saved);
        for (int i = 0; i < 200; ++i)
            writeFile(dir.filePath(QStringLiteral("pic%1.png").arg(i * 37)), "new");
        QTest::qWait(kQuietMs);
        QCOMPARE(saved.size(), 0);
        writeFile(file, "b\n");
        QTRY_COMPARE_WITH_TIMEOUT(saved.size(), 1, kQuietMs * 2);
        QTest::qWait(kQuietMs);
        QCOMPARE(saved.size(), 1);
    }
};

MORVANE_TEST_MAIN(TestSaveWatcher)
#include "tst_savewatcher.moc"
