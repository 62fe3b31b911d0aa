// The two halves of the memory limit: the address-space cap that every
// process of a run gets between fork and exec, and the memory of the run's
// whole group as /proc tells it.

#include "platform/launcher.h"
#include "platform/runlimits.h"
#include "support/testhome.h"
#include "support/testmain.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace morvane;

namespace {

// Runs `script` with /bin/sh as the launcher starts a converter.
std::unique_ptr<QProcess> start(const QTemporaryDir& dir, const QByteArray& script,
                                qint64 addressSpaceCap = 0) {
    QFile file(dir.filePath("run.sh"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return nullptr;
    file.write(script);
    file.close();
    LaunchChannels channels;
    channels.addressSpaceCap = addressSpaceCap;
    return std::unique_ptr<QProcess>(
        QProcessLauncher().start("/bin/sh " + file.fileName(), QString(), nullptr, channels));
}

// The "Max address space" line of a process's limits.
QByteArray addressSpaceLine(const QByteArray& limits) {
    for (const QByteArray& line : limits.split('\n'))
        if (line.startsWith("Max address space"))
            return line.simplified();
    return QByteArray();
}

} // namespace

class TestRunLimits : public QObject {
    Q_OBJECT
private slots:
    void addressSpaceCapHoldsForTheWholeRun() {
        const qint64 cap = qint64(3) << 30;
        // The converter, and a program it starts.
        QTemporaryDir dir;
        auto process = start(dir, "cat /proc/self/limits\nsh -c 'cat /proc/self/limits'\n", cap);
        QVERIFY(process);
        QVERIFY(process->waitForFinished(10000));
        const QByteArray expected = "Max address space 3221225472 3221225472 bytes";
        QByteArray output;
        for (const QByteArray& line : process->readAllStandardOutput().split('\n'))
            if (const QByteArray found = addressSpaceLine(line); !found.isEmpty())
                output += found + '\n';
        QCOMPARE(output, expected + '\n' + expected + '\n');
        // The program itself keeps its own.
        QVERIFY(addressSpaceLine(test::readAll("/proc/self/limits")) != expected);
    }

    void groupMemoryCountsEveryProcessOfTheGroup_data() {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<bool>("inLeadersTree");
        // Two processes of 100 MB each.
        const QByteArray grow =
            "python3 -c 'import time; a = b\"x\" * (100 << 20); time.sleep(60)' &\n";
        QTest::newRow("started by the leader") << grow + grow + "wait\n" << true;
        // Handed to init when the shell that started them ends.
        QTest::newRow("left by a parent that ended")
            << "sh -c '" + QByteArray(grow + grow).replace('\'', "'\\''") + "'\nsleep 60\n"
            << false;
    }
    void groupMemoryCountsEveryProcessOfTheGroup() {
        QFETCH(QByteArray, script);
        QFETCH(bool, inLeadersTree);
        QTemporaryDir dir;
        auto process = start(dir, script);
        QVERIFY(process);
        const long group = long(processGroupOf(process.get()));
        QVERIFY(group > 0);
        const qint64 both = qint64(200) << 20;
        QTRY_VERIFY_WITH_TIMEOUT(groupMemoryBytes(group) >= both, 15000);
        // Shared libraries and the program's own memory are not counted.
        QVERIFY(groupMemoryBytes(group) < (qint64(260) << 20));
        QCOMPARE(leaderTreeMemoryBytes(group) >= both, inLeadersTree);
        endProcessGroup(process.get());
        QTRY_COMPARE_WITH_TIMEOUT(groupMemoryBytes(group), qint64(0), 5000);
    }

    // A converter that ends before the first look still shows its size (larger
    // than the processes of the cases before).
    void shortRunShowsItsPeak() {
        QTemporaryDir dir;
        auto process = start(dir, "perl -e '$x = \"a\" x (300 << 20)'\n");
        QVERIFY(process);
        const LimitWatch watch(*process, RunLimits{.seconds = 60, .memoryBytes = qint64(4) << 30});
        QVERIFY(process->waitForFinished(10000));
        QVERIFY2(watch.peakBytes() >= (qint64(300) << 20),
                 qPrintable(QString::number(watch.peakBytes())));
    }
};

MORVANE_TEST_GUILESS_MAIN(TestRunLimits)
#include "tst_runlimits.moc"
