// The application's icon is made when it is first asked about, and then
// answers as the icon it stands for.

#include "support/testmain.h"
#include "ui/deferredicon.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QTest>
#include <QWidget>

using namespace morvane;

class TestDeferredIcon : public QObject {
    Q_OBJECT
private slots:
    void madeWhenFirstAsked() {
        QPixmap red(16, 16);
        red.fill(Qt::red);
        int made = 0;
        const QIcon icon = deferredIcon([&] {
            ++made;
            return QIcon(red);
        });
        // Set on the application and on a window made with it: nothing made.
        const QIcon before = QApplication::windowIcon();
        QApplication::setWindowIcon(icon);
        QWidget window;
        window.winId();
        QCOMPARE(made, 0);

        QVERIFY(!window.windowIcon().isNull());
        QCOMPARE(made, 1);
        QCOMPARE(icon.availableSizes(), QList<QSize>{QSize(16, 16)});
        QCOMPARE(icon.actualSize(QSize(32, 32)), QSize(16, 16));
        QCOMPARE(icon.pixmap(16).toImage(), red.toImage());
        QCOMPARE(made, 1);
        QApplication::setWindowIcon(before);
    }

    void standsForAnEmptyIcon() {
        const QIcon icon = deferredIcon([] { return QIcon(); });
        QVERIFY(icon.isNull());
        QVERIFY(icon.pixmap(16).isNull());
    }
};

MORVANE_TEST_MAIN(TestDeferredIcon)
#include "tst_deferredicon.moc"
