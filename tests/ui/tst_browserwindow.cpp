#include "pipeline/appcontext.h"
#include "settings/optionsmodel.h"
#include "support/testmain.h"
#include "ui/browserwindow.h"
#include "ui/webengineloader.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QSettings>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using namespace morvane;

namespace {

QString writePage(const QTemporaryDir& dir, const QString& name, const QString& title) {
    const QString path = dir.filePath(name);
    QFile out(path);
    out.open(QIODevice::WriteOnly);
    out.write(("<html><head><title>" + title + "</title></head><body>x</body></html>").toUtf8());
    return path;
}

QString writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile out(path);
    out.open(QIODevice::WriteOnly);
    out.write(content);
    return path;
}

struct Browser {
    OptionsModel model;
    AppContext ctx;
    std::unique_ptr<BrowserWindow> window;
    Browser() {
        ctx.model = &model;
        window = std::make_unique<BrowserWindow>(ctx);
    }
    QComboBox* address() const { return window->findChild<QComboBox*>("cboAddress"); }
    QUrl url() const {
        return window->findChild<QWidget*>("brwWebBrowser")->property("url").toUrl();
    }
    // Events reach only the widgets of a shown window.
    void showEmpty() const { window->QMainWindow::show(); }
};

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
        model.setChecked(ctl::chkSettings, true);
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

    void nonFileDropOnAddressDoesNothing() {
        Browser browser;
        browser.showEmpty();
        QLineEdit* edit = browser.address()->lineEdit();
        edit->setText("/kept.html");
        QMimeData text;
        text.setText("dropped words");
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &text, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(edit, &enter);
        QVERIFY(!enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction | Qt::MoveAction, &text, Qt::LeftButton,
                        Qt::NoModifier);
        QCoreApplication::sendEvent(edit, &drop);
        QVERIFY(!drop.isAccepted());
        QCOMPARE(edit->text(), QString("/kept.html"));
        QVERIFY(browser.url().isEmpty());
    }

    void cancelledFileDialogLeavesThePage() {
        QTemporaryDir dir;
        const QString a = writePage(dir, "a.html", "Page A");
        Browser browser;
        browser.window->show(a);
        QTRY_COMPARE_WITH_TIMEOUT(browser.window->windowTitle(), QString("Page A"), 20000);
        int asked = 0;
        browser.window->chooseFile = [&] {
            ++asked;
            return QString();
        };
        browser.window->findChild<QAction*>("Search")->trigger();
        QCOMPARE(asked, 1);
        QTest::qWait(200);
        QCOMPARE(browser.url(), QUrl::fromLocalFile(a));
        QCOMPARE(browser.address()->currentText(), a);
        QCOMPARE(browser.address()->count(), 1);
    }

    void localPageStaysInItsFolder() {
        QTemporaryDir dir;
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        const QString remote = QString("http://127.0.0.1:%1/").arg(server.serverPort());
        writeFile(dir.filePath("site/own.txt"), "own");
        writeFile(dir.filePath("site/sub/inner.txt"), "inner");
        writeFile(dir.filePath("outside.txt"), "outside");
        const QString page =
            writeFile(dir.filePath("site/page.html"),
                      ("<html><head><title>start</title></head><body>"
                       "<img src='" +
                       remote +
                       "pixel.png'>"
                       "<script>"
                       "function probe(url) { return new Promise(function (done) {"
                       "  var x = new XMLHttpRequest();"
                       "  x.onload = function () { done(x.responseText ? 'read' : 'empty'); };"
                       "  x.onerror = function () { done('blocked'); };"
                       "  try { x.open('GET', url); x.send(); } catch (e) { done('blocked'); }"
                       "}); }"
                       "Promise.all([probe('file:///etc/passwd'), probe('../outside.txt'),"
                       "  probe('" +
                       remote +
                       "data'), probe('own.txt'), probe('sub/inner.txt')])"
                       ".then(function (r) { document.title = r.join(' '); });"
                       "</script></body></html>")
                          .toUtf8());
        Browser browser;
        browser.window->show(page);
        QTRY_VERIFY_WITH_TIMEOUT(browser.window->windowTitle().count(' ') == 4, 20000);
        QCOMPARE(browser.window->windowTitle(), QString("blocked blocked blocked read read"));
        // Nothing reached the network, not even the image.
        QVERIFY(!server.waitForNewConnection(300));
    }

private:
    QTemporaryDir m_store;
};

// The attribute must be set before the application object exists.
static int runBrowserWindowTest(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TestBrowserWindow test;
    return QTest::qExec(&test, argc, argv);
}

MORVANE_TEST_CUSTOM_MAIN(TestBrowserWindow, runBrowserWindowTest)

#include "tst_browserwindow.moc"
