#include "platform/localsocket.h"
#include "support/testhome.h"
#include "support/testmain.h"
#include "ui/guistart.h"
#include "ui/singleinstance.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

using namespace morvane;
using morvane::test::TestHome;

namespace {

QString uniqueName() {
    return QStringLiteral("morvane-test-") + QUuid::createUuid().toString(QUuid::Id128);
}

void writeFile(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write("\\relax\n");
}

QStringList reportLines(const QString& report) {
    QString text = QString::fromUtf8(test::readAll(report));
    if (text.endsWith('\n'))
        text.chop(1);
    return text.isEmpty() ? QStringList{} : text.split('\n');
}

// Waits until the report holds `count` lines (the first instance writes them
// from its own event loop).
QStringList waitForReport(const QString& report, int count) {
    QStringList lines;
    for (int i = 0; i < 200; ++i) {
        lines = reportLines(report);
        if (lines.size() >= count)
            break;
        QTest::qWait(50);
    }
    return lines;
}

} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void laterStartHandsItsLineToTheFirst_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("a file") << "/home/u/my paper.tex";
        QTest::newRow("no file: only to the front") << "";
    }
    void laterStartHandsItsLineToTheFirst() {
        QFETCH(QString, text);
        const QString name = uniqueName();
        SingleInstance first(name);
        QVERIFY(first.claim(QString()));
        QSignalSpy received(&first, &SingleInstance::received);

        SingleInstance later(name);
        QVERIFY(!later.claim(text));
        QVERIFY(received.wait(5000));
        QCOMPARE(received.size(), 1);
        QCOMPARE(received.first().first().toString(), text);
    }

    void aConnectionWithoutALineIsIgnored() {
        const QString name = uniqueName();
        SingleInstance first(name);
        QVERIFY(first.claim(QString()));
        QSignalSpy received(&first, &SingleInstance::received);
        QLocalSocket probe;
        probe.connectToServer(name);
        QVERIFY(probe.waitForConnected(2000));
        probe.disconnectFromServer();
        QVERIFY(!received.wait(300));
    }

    void theNameIsFreeAgainWhenTheFirstEnds() {
        const QString name = uniqueName();
        {
            SingleInstance first(name);
            QVERIFY(first.claim(QString()));
        }
        SingleInstance next(name);
        QVERIFY(next.claim(QString()));
        QVERIFY(!SingleInstance::sendTo(uniqueName(), "x", 500));
    }

    void aSocketLeftByACrashIsTakenOver() {
        const QString name = uniqueName();
        // What a crashed program leaves behind: the socket's name in use, nobody listening.
        const QString stale = QDir::tempPath() + "/" + name;
        writeFile(stale);
        SingleInstance first(name);
        QVERIFY(first.claim("/x/a.tex"));
        QSignalSpy received(&first, &SingleInstance::received);
        QVERIFY(SingleInstance::sendTo(name, "/x/b.tex"));
        QVERIFY(received.wait(5000));
        QCOMPARE(received.first().first().toString(), QString("/x/b.tex"));
    }

    // What a client writes becomes whole lines, whatever their line end;
    // an unfinished last line is dropped. The client is Qt's own local
    // socket, as an earlier version of the program would hand over.
    void listenerTakesWholeLines_data() {
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("two lines")
            << QByteArray("a b\n/c/d.tex\n") << QStringList{"a b", "/c/d.tex"};
        QTest::newRow("CR LF") << QByteArray("x\r\n") << QStringList{"x"};
        QTest::newRow("empty line") << QByteArray("\n") << QStringList{""};
        QTest::newRow("unfinished last line") << QByteArray("x\ny") << QStringList{"x"};
        QTest::newRow("UTF-8") << QByteArray("/d/caf\xc3\xa9.tex\n") << QStringList{"/d/café.tex"};
    }
    void listenerTakesWholeLines() {
        QFETCH(QByteArray, sent);
        QFETCH(QStringList, lines);
        const QString path = localSocketPath(uniqueName());
        LineListener listener;
        QVERIFY(listener.listen(path));
        QVERIFY(!LineListener().listen(path)); // the name is taken
        QSignalSpy received(&listener, &LineListener::lineReceived);
        QLocalSocket client;
        client.connectToServer(path);
        QVERIFY(client.waitForConnected(2000));
        client.write(sent);
        QVERIFY(client.waitForBytesWritten(2000));
        client.disconnectFromServer();
        for (int i = 0; i < 50 && received.size() < lines.size(); ++i)
            QTest::qWait(20);
        QTest::qWait(50); // nothing more comes
        QStringList got;
        for (const QList<QVariant>& signal : received)
            got << signal.first().toString();
        QCOMPARE(got, lines);
    }

    void namesDifferByProgramDirectory() {
        QCOMPARE(SingleInstance::serverNameFor("/a"), SingleInstance::serverNameFor("/a"));
        QVERIFY(SingleInstance::serverNameFor("/a") != SingleInstance::serverNameFor("/b"));
    }

    void handOverText_data() {
        QTest::addColumn<QString>("argument"); // %1 = the test folder
        QTest::addColumn<QString>("expected");
        QTest::newRow("none") << ""
                              << "";
        QTest::newRow("relative name") << "a.tex"
                                       << "%1/a.tex";
        QTest::newRow("relative with folder") << "sub/b.tex"
                                              << "%1/sub/b.tex";
        QTest::newRow("absolute") << "%1/sub/b.tex"
                                  << "%1/sub/b.tex";
        QTest::newRow("missing file") << "gone.tex"
                                      << "";
    }
    void handOverText() {
        QFETCH(QString, argument);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        writeFile(dir.filePath("a.tex"));
        writeFile(dir.filePath("sub/b.tex"));
        QCOMPARE(morvane::handOverText(argument.replace("%1", dir.path()), dir.path()),
                 expected.replace("%1", dir.path()));
    }

    // Two real programs: the later one hands over and ends; the first puts
    // the file into its file box.
    void twoProgramsHandOver() {
        const QString program = QStringLiteral(MORVANE_BUILD_PROGRAM_DIR "/morvane");
        if (!QFileInfo(program).isExecutable())
            QSKIP("the morvane program is not built");
        TestHome home;
        QTemporaryDir work;
        const QString report = work.filePath("report.txt");
        const QString docs = work.filePath("my docs");
        writeFile(docs + "/paper.tex");
        writeFile(docs + "/other one.tex");

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("MORVANE_HOME", home.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("MORVANE_TEST_REPORT", report);
        env.insert("XDG_CONFIG_HOME", work.filePath("config"));
        env.remove("MORVANE_QUIT_WHEN_SHOWN");

        QProcess first;
        first.setProcessEnvironment(env);
        first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        first.start(program, {});
        QVERIFY(first.waitForStarted());
        // Ready when its socket answers (a bare connection hands nothing over).
        const QString name = SingleInstance::serverNameFor(home.path());
        bool listening = false;
        for (int i = 0; i < 200 && !listening; ++i) {
            QLocalSocket probe;
            probe.connectToServer(name);
            listening = probe.waitForConnected(100);
            if (!listening)
                QTest::qWait(50);
        }
        QVERIFY2(listening, "the first program never listened");

        auto startLater = [&](const QStringList& args) {
            QProcess later;
            later.setProcessEnvironment(env);
            later.setWorkingDirectory(docs);
            later.start(program, args);
            QVERIFY(later.waitForFinished(15000));
            QCOMPARE(later.exitStatus(), QProcess::NormalExit);
            QCOMPARE(later.exitCode(), 0);
        };

        startLater({"paper.tex"});
        QCOMPARE(waitForReport(report, 1), QStringList{docs + "/paper.tex"});

        // Without a file the first only comes to the front: its box keeps the file.
        startLater({});
        QCOMPARE(waitForReport(report, 2), (QStringList{docs + "/paper.tex", docs + "/paper.tex"}));

        startLater({"\"" + docs + "/other one.tex\""});
        QCOMPARE(waitForReport(report, 3).value(2), docs + "/other one.tex");

        QCOMPARE(first.state(), QProcess::Running);
        first.kill();
        QVERIFY(first.waitForFinished(5000));
    }
};

MORVANE_TEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
