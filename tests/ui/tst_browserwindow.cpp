#include "pipeline/appcontext.h"
#include "settings/optionsmodel.h"
#include "ui/browserwindow.h"
#include "ui/webengineloader.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace morvane;

namespace {

QString writePage(const QTemporaryDir& dir, const QString& name, const QString& title) {
    const QString path = dir.filePath(name);
    QFile out(path);
    out.open(QIODevice::WriteOnly);
    out.write(("<html><head><title>" + title + "</title></head><body>x</body></html>").toUtf8());
    return path;
}

} // namespace

class TestBrowserWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_store.path());
        // The web-view module is built next to the test programs.
        QVERIFY2(webEngineAvailable(), "the web-view module could not be loaded");
    }

    void addressListKeepsOneEntryPerPageMostRecentFirst() {
        OptionsModel model;
        AppContext ctx;
        ctx.model = &model;
        QTemporaryDir dir;
        const QString a = writePage(dir, "a b.html", "Page A");
        const QString b = writePage(dir, "b.html", "Page B");

        BrowserWindow window(ctx);
        auto* address = window.findChild<QComboBox*>("cboAddress");
        QVERIFY(address);
        QVERIFY(window.findChild<QWidget*>("brwWebBrowser"));

        for (const QString& page : {a, b, a}) {
            const int before = address->count();
            window.show(page);
            QTRY_VERIFY_WITH_TIMEOUT(address->count() > 0 && address->itemText(0) == page &&
                                         (address->count() > before || before == 2),
                                     20000);
        }
        QTRY_COMPARE_WITH_TIMEOUT(window.windowTitle(), QString("Page A"), 20000);
        QCOMPARE(address->count(), 2);
        QCOMPARE(address->itemText(0), a);
        QCOMPARE(address->itemText(1), b);

        // Closing only hides the window; its list stays.
        window.close();
        QVERIFY(!window.isVisible());
        QCOMPARE(address->count(), 2);
    }

    void placementStoredAndRestored() {
        OptionsModel model;
        model.setChecked("chkSettings", true);
        AppContext ctx;
        ctx.model = &model;
        {
            BrowserWindow window(ctx);
            window.setGeometry(100, 200, 400, 300);
            window.savePlacement();
        }
        QSettings store("Morvane", "Morvane");
        store.beginGroup("Browser");
        QCOMPARE(store.value("WindowState").toInt(), 0);
        QCOMPARE(store.value("Width").toInt(), 400);
        QCOMPARE(store.value("Height").toInt(), 300);
        BrowserWindow again(ctx);
        QCOMPARE(again.size(), QSize(400, 300));
        QCOMPARE(again.geometry().topLeft(), QPoint(100, 200));
    }

    void normalisedAddress_data() {
        QTest::addColumn<QUrl>("url");
        QTest::addColumn<QString>("address");
        QTest::newRow("file URL with a blank")
            << QUrl("file:///d/my%20page.html") << "/d/my page.html";
        QTest::newRow("web address stays")
            << QUrl("https://example.org/a%20b") << "https://example.org/a%20b";
    }
    void normalisedAddress() {
        QFETCH(QUrl, url);
        QFETCH(QString, address);
        QCOMPARE(BrowserWindow::normalisedAddress(url), address);
    }

private:
    QTemporaryDir m_store;
};

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TestBrowserWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_browserwindow.moc"
