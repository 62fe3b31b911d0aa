#include "settings/hevealibrary.h"
#include "support/testmain.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace morvane;

namespace {

// A stand-in hevea in its own folder that answers `-version` with `library`
// and counts how often it was asked.
struct FakeHevea {
    QString dir;
    QString counter;

    FakeHevea(const QString& root, const QString& name, const QString& library) {
        dir = root + QLatin1Char('/') + name;
        counter = dir + QStringLiteral("/asked");
        QDir().mkpath(dir);
        write(library);
    }
    void write(const QString& library, const QByteArray& extra = {}) const {
        QFile script(dir + QStringLiteral("/hevea"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho x >> '" + counter.toUtf8() + "'\necho 'hevea 2.36'\n");
        if (!library.isEmpty())
            script.write("echo 'library directory: " + library.toUtf8() + "'\n");
        script.write(extra);
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner | QFile::ExeUser);
    }
    int asked() const {
        QFile in(counter);
        return in.open(QIODevice::ReadOnly) ? int(in.readAll().count('\n')) : 0;
    }
};

QString stampOf(const QString& program) {
    const QFileInfo info(program);
    return program + QLatin1Char('|') + QString::number(info.size()) + QLatin1Char('|') +
           QString::number(info.lastModified().toMSecsSinceEpoch());
}

} // namespace

class TestHeveaLibrary : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void versionText_data();
    void versionText();
    void askedOnceThenRemembered();
    void storedAnswerNeedsNoProcess();
    void changedProgramIsAskedAgain();
    void noAnswerGivesFallbackAndIsNotStored();

private:
    QTemporaryDir m_work;
};

void TestHeveaLibrary::initTestCase() {
    // The per-user store of this test lives in the temporary folder.
    qputenv("XDG_CONFIG_HOME", m_work.filePath(QStringLiteral("config")).toUtf8());
}

void TestHeveaLibrary::versionText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("library");
    QTest::newRow("debian") << "hevea 2.36\nlibrary directory: /usr/share/hevea\n"
                            << "/usr/share/hevea";
    QTest::newRow("blank in path") << "library directory: /opt/my hevea/lib  \r\n"
                                   << "/opt/my hevea/lib";
    QTest::newRow("none") << "hevea 2.36\n" << QString();
}

void TestHeveaLibrary::versionText() {
    QFETCH(QString, text);
    QFETCH(QString, library);
    QCOMPARE(libraryDirectoryFromVersionText(text), library);
}

void TestHeveaLibrary::askedOnceThenRemembered() {
    const QString lib = m_work.filePath(QStringLiteral("libA"));
    QDir().mkpath(lib);
    FakeHevea hevea(m_work.path(), QStringLiteral("a"), lib);

    QCOMPARE(heveaLibraryDirectory(hevea.dir), lib);
    QCOMPARE(heveaLibraryDirectory(hevea.dir), lib);
    QCOMPARE(hevea.asked(), 1);

    QSettings store(QStringLiteral("Morvane"), QStringLiteral("Morvane"));
    store.beginGroup(QStringLiteral("Hevea"));
    QCOMPARE(store.value(QStringLiteral("Library")).toString(), lib);
    QCOMPARE(store.value(QStringLiteral("Program")).toString(),
             stampOf(hevea.dir + QStringLiteral("/hevea")));
}

void TestHeveaLibrary::storedAnswerNeedsNoProcess() {
    // What an earlier run stored for this very program is used as it is.
    const QString lib = m_work.filePath(QStringLiteral("libB"));
    QDir().mkpath(lib);
    FakeHevea hevea(m_work.path(), QStringLiteral("b"), QStringLiteral("/nowhere"));
    {
        QSettings store(QStringLiteral("Morvane"), QStringLiteral("Morvane"));
        store.beginGroup(QStringLiteral("Hevea"));
        store.setValue(QStringLiteral("Program"), stampOf(hevea.dir + QStringLiteral("/hevea")));
        store.setValue(QStringLiteral("Library"), lib);
    }
    QCOMPARE(heveaLibraryDirectory(hevea.dir), lib);
    QCOMPARE(hevea.asked(), 0);
}

void TestHeveaLibrary::changedProgramIsAskedAgain() {
    const QString first = m_work.filePath(QStringLiteral("libC1"));
    const QString second = m_work.filePath(QStringLiteral("libC2"));
    QDir().mkpath(first);
    QDir().mkpath(second);
    FakeHevea hevea(m_work.path(), QStringLiteral("c"), first);
    QCOMPARE(heveaLibraryDirectory(hevea.dir), first);

    // An updated hevea (other size) may have another library.
    hevea.write(second, "# updated\n");
    QCOMPARE(heveaLibraryDirectory(hevea.dir), second);
    QCOMPARE(hevea.asked(), 2);
}

void TestHeveaLibrary::noAnswerGivesFallbackAndIsNotStored() {
    FakeHevea hevea(m_work.path(), QStringLiteral("d"), QString());
    QCOMPARE(heveaLibraryDirectory(hevea.dir), QStringLiteral("/usr/share/hevea"));

    QSettings store(QStringLiteral("Morvane"), QStringLiteral("Morvane"));
    store.beginGroup(QStringLiteral("Hevea"));
    QVERIFY(store.value(QStringLiteral("Program")).toString() !=
            stampOf(hevea.dir + QStringLiteral("/hevea")));
}

MORVANE_TEST_GUILESS_MAIN(TestHeveaLibrary)
#include "tst_hevealibrary.moc"
