#include "platform/windowsversion.h"
#include "settings/browserplacement.h"
#include "settings/windowsteps.h"
#include "support/testmain.h"
#include "ui/windowmover.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace morvane;

class TestWindowPlacement : public QObject {
    Q_OBJECT
private slots:
    void steps_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QPoint>("offset");
        const int alt = Qt::AltModifier;
        const int keypad = Qt::AltModifier | Qt::KeypadModifier;
        QTest::newRow("Alt+Left") << int(Qt::Key_Left) << alt << QPoint(-70, 0);
        QTest::newRow("Alt+Down") << int(Qt::Key_Down) << alt << QPoint(0, 56);
        QTest::newRow("Alt+Up") << int(Qt::Key_Up) << alt << QPoint(0, -56);
        QTest::newRow("Alt+keypad 6") << int(Qt::Key_6) << keypad << QPoint(70, 0);
        QTest::newRow("Alt+6 of the main keys") << int(Qt::Key_6) << alt << QPoint();
        QTest::newRow("Ctrl+Alt+Left")
            << int(Qt::Key_Left) << int(alt | Qt::ControlModifier) << QPoint();
        QTest::newRow("Left alone") << int(Qt::Key_Left) << 0 << QPoint();
    }
    void steps() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        // A fraction of 0.07 of a 1000 x 800 screen.
        const WindowSteps s = stepSizes(1000, 800, 0.07);
        QCOMPARE(s, (WindowSteps{70, 56}));
        QTEST(keyboardMoveOffset(key, Qt::KeyboardModifiers(modifiers), s), "offset");
        QCOMPARE(stepSizes(1000, 800, 0), (WindowSteps{0, 0}));
    }

    void moverMovesAnyWindow() {
        QWidget window;
        window.setGeometry(300, 300, 200, 100);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint before = window.pos();
        const int step = qRound(window.screen()->geometry().width() * 0.1);
        QVERIFY(moveWindowByKeyboard(&window, Qt::Key_Left, Qt::AltModifier, 0.1));
        QCOMPARE(window.pos(), before - QPoint(step, 0));
        QVERIFY(!moveWindowByKeyboard(&window, Qt::Key_A, Qt::AltModifier, 0.1));
        // A fraction of 0 keeps the window where it is.
        QVERIFY(moveWindowByKeyboard(&window, Qt::Key_Right, Qt::AltModifier, 0));
        QCOMPARE(window.pos(), before - QPoint(step, 0));
    }

    void placementRoundTrip_data() {
        QTest::addColumn<int>("state");
        QTest::newRow("normal") << 0;
        QTest::newRow("minimized") << 1;
        QTest::newRow("maximized") << 2;
    }
    void placementRoundTrip() {
        QFETCH(int, state);
        QTemporaryDir dir;
        const QString file = dir.filePath("store.ini");
        {
            QSettings store(file, QSettings::IniFormat);
            writeBrowserPlacement(store, {state, QRect(100, 200, 400, 300)});
        }
        QSettings store(file, QSettings::IniFormat);
        const auto placement = readBrowserPlacement(store);
        QVERIFY(placement);
        QCOMPARE(placement->state, state);
        QCOMPARE(placement->normalGeometry, QRect(100, 200, 400, 300));
    }

    void damagedStore_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("usable");
        QTest::newRow("empty section") << QByteArray("[Browser]\n") << false;
        QTest::newRow("garbage state") << QByteArray("[Browser]\nWindowState=\x01zz\nLeft=1\n"
                                                     "Top=1\nHeight=10\nWidth=10\n")
                                       << false;
        QTest::newRow("state 7") << QByteArray("[Browser]\nWindowState=7\n") << false;
        QTest::newRow("normal with a negative width")
            << QByteArray("[Browser]\nWindowState=0\nLeft=1\nTop=1\nHeight=10\nWidth=-5\n")
            << false;
        QTest::newRow("normal with a huge height")
            << QByteArray("[Browser]\nWindowState=0\nLeft=1\nTop=1\nHeight=99999999\nWidth=5\n")
            << false;
        QTest::newRow("maximized without measures")
            << QByteArray("[Browser]\nWindowState=2\n") << true;
    }
    void damagedStore() {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        QFile f(dir.filePath("store.ini"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        QSettings store(f.fileName(), QSettings::IniFormat);
        QTEST(readBrowserPlacement(store).has_value(), "usable");
    }

    void windowsVersionTests() {
        const std::optional<WindowsVersion> me = WindowsVersion{4, 90, 3000, 1};
        QVERIFY(isWindows98(me));
        QVERIFY(isWindowsMe(me));
        QVERIFY(!isWindows95(me));
        QVERIFY(isWindowsXP(WindowsVersion{5, 1, 2600, 2}));
        QVERIFY(!isWindows2000(WindowsVersion{5, 1, 2600, 2}));
        // On Linux the query fails, so every test answers false.
        const auto here = queryWindowsVersion();
        QVERIFY(!isWindows95(here) && !isWindows98(here) && !isWindowsMe(here) &&
                !isWindowsNT(here) && !isWindows2000(here) && !isWindowsXP(here));
    }
};

MORVANE_TEST_MAIN(TestWindowPlacement)
#include "tst_windowplacement.moc"
