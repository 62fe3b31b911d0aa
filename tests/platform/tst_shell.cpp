// The desktop association that decides between the desktop's program and
// the plain-text editor: read through xdg-mime from the XDG folders.

#include "platform/shell.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace morvane;

class TestShell : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable("xdg-mime").isEmpty())
            QSKIP("xdg-mime is not installed");
        // Empty desktop folders, whatever the machine has installed.
        for (const char* name : {"config", "configdirs", "data", "datadirs"})
            QDir(m_xdg.path()).mkpath(name);
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_xdg.filePath("config")));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(m_xdg.filePath("configdirs")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_xdg.filePath("data")));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(m_xdg.filePath("datadirs")));
        qputenv("HOME", QFile::encodeName(m_xdg.path()));
        qunsetenv("XDG_CURRENT_DESKTOP");
        qunsetenv("DESKTOP_SESSION");
        qunsetenv("KDE_FULL_SESSION");
        qunsetenv("GNOME_DESKTOP_SESSION_ID");
        // The file types themselves come from the system.
        QVERIFY(QFile::link("/usr/share/mime", m_xdg.filePath("datadirs/mime")));
        // The program named by a default must exist.
        QDir(m_xdg.path()).mkpath("data/applications");
        QFile entry(m_xdg.filePath("data/applications/morvane-test-editor.desktop"));
        QVERIFY(entry.open(QIODevice::WriteOnly));
        entry.write("[Desktop Entry]\nType=Application\nName=Test editor\nExec=true %f\n");
    }

    void association_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("defaults"); // [Default Applications] lines
        QTest::addColumn<bool>("associated");
        QTest::newRow("text file, nothing installed") << "readme.txt" << QByteArray() << false;
        QTest::newRow("text file with an editor for text")
            << "readme.txt" << QByteArray("text/plain=morvane-test-editor.desktop\n") << true;
        QTest::newRow("TeX file through its parent type, plain text")
            << "paper.tex" << QByteArray("text/plain=morvane-test-editor.desktop\n") << true;
    }
    void association() {
        QFETCH(QString, file);
        QFETCH(QByteArray, defaults);
        QFETCH(bool, associated);
        QFile list(m_xdg.filePath("config/mimeapps.list"));
        QVERIFY(list.open(QIODevice::WriteOnly | QIODevice::Truncate));
        list.write("[Default Applications]\n" + defaults);
        list.close();
        QTemporaryDir dir;
        const QString path = dir.filePath(file);
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("\\relax plain text\n");
        out.close();
        QCOMPARE(hasAssociatedProgram(path), associated);
        // Opening a file the desktop has no program for is reported as such.
        if (!associated)
            QVERIFY(!DesktopShell().open(path));
    }

private:
    QTemporaryDir m_xdg;
};

MORVANE_TEST_GUILESS_MAIN(TestShell)
#include "tst_shell.moc"
