// The window's web fetch and printer list load their module at first use:
// a start that never uses them loads neither Qt Network's fetch nor libcups.

#include "platform/lazyservices.h"
#include "support/testmain.h"

#include <QFile>
#include <QTest>

using namespace morvane;

namespace {

bool moduleLoaded() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/morvane_services.so");
}

} // namespace

class TestLazyServices : public QObject {
    Q_OBJECT
private slots:
    void loadedWhenFirstUsed() {
        LazyPrinterList printers;
        LazyDownloader downloader;
        QVERIFY(!moduleLoaded());
        // Not a web address: the fetch of the loaded module refuses it at
        // once, without the network.
        QCOMPARE(downloader.fetch(QStringLiteral("file:///etc/passwd")), std::nullopt);
        QVERIFY(moduleLoaded());
        // The printer list comes from the same module, already there.
        printers.printers();
        QVERIFY(moduleLoaded());
    }
};

MORVANE_TEST_GUILESS_MAIN(TestLazyServices)
#include "tst_lazyservices.moc"
