// The causes a run that produced nothing names when they lie outside the
// converter: here, a convert.sh that cannot run the route.

#include "pipeline/nothingproduced.h"
#include "support/testmain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace morvane;

class TestNothingProduced : public QObject {
    Q_OBJECT

private slots:
    void scriptCauses_data() {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QString>("cause");
        const QByteArray block = "REM Morvane will be writing text here automatically\n";
        QTest::newRow("older than the route")
            << "# convert.sh\nroute_tth() {\n:\n}\n" + block
            << "is older than this version of Morvane and has no route_pandoc function";
        QTest::newRow("has the route")
            << "# convert.sh\nroute_pandoc() {\n:\n}\n" + block << QString();
        // Writebat has said so already.
        QTest::newRow("no settings block") << QByteArray("echo nothing\n") << QString();
        QTest::newRow("Windows line ends")
            << "route_pandoc() {\r\n:\r\n}\r\n" + block
            << "has Windows line ends (CR LF), which the shell cannot read: replace it with an "
               "original copy";
    }
    void scriptCauses() {
        QFETCH(QByteArray, script);
        QFETCH(QString, cause);
        QTemporaryDir dir;
        QFile file(dir.filePath("convert.sh"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(script);
        file.close();
        const QString found =
            causeOfNothingProduced(file.fileName(), dir.filePath("out/a.html"), "pandoc");
        QCOMPARE(found.isEmpty(), cause.isEmpty());
        QVERIFY2(found.contains(cause), qPrintable(found));
    }
};

MORVANE_TEST_APPLESS_MAIN(TestNothingProduced)
#include "tst_nothingproduced.moc"
