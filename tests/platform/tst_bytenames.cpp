// Names given as bytes: a folder whose name is not valid text is reached
// through one link of the user's own; a file whose own name is not cannot be.

#include "platform/bytenames.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace morvane;

class TestByteNames : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qputenv("XDG_STATE_HOME", QFile::encodeName(m_state.path())); }

    void reach_data() {
        QTest::addColumn<QByteArray>("folder");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("reached");
        QTest::addColumn<bool>("throughLink");
        QTest::newRow("text") << QByteArray("caf\xc3\xa9") << QByteArray("a.tex") << true << false;
        QTest::newRow("folder not text")
            << QByteArray("x\xff") << QByteArray("a.tex") << true << true;
        QTest::newRow("file not text")
            << QByteArray("y") << QByteArray("\xfe.tex") << false << false;
    }
    void reach() {
        QFETCH(QByteArray, folder);
        QFETCH(QByteArray, file);
        QFETCH(bool, reached);
        QFETCH(bool, throughLink);
        QTemporaryDir root;
        const QByteArray dir = QFile::encodeName(root.path()) + '/' + folder;
        QVERIFY(::mkdir(dir.constData(), 0700) == 0);
        const ReachableName first = reachableName(dir + '/' + file);
        QCOMPARE(first.name.isEmpty(), !reached);
        QCOMPARE(first.error.isEmpty(), reached);
        if (!reached)
            return;
        QCOMPARE(first.name.startsWith(QFile::decodeName(m_state.path().toUtf8())), throughLink);
        // What is written through the name lands in the real folder, and a
        // later start finds the same link.
        QFile out(first.name);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.close();
        struct stat info {};
        QVERIFY(::stat((dir + '/' + file).constData(), &info) == 0);
        QCOMPARE(reachableName(dir + '/' + file).name, first.name);
    }

private:
    QTemporaryDir m_state;
};

MORVANE_TEST_GUILESS_MAIN(TestByteNames)
#include "tst_bytenames.moc"
