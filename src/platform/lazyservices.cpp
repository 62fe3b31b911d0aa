#include "platform/lazyservices.h"

#include "platform/programmodule.h"

#include <cstdio>

namespace morvane {

namespace {

const QString kModule = QStringLiteral("morvane_services.so");

// A new object from the module's factory `symbol`; nullptr (after saying
// why) when the module or the factory is missing.
template <typename Service> Service* createFromModule(const char* symbol) {
    QString error;
    using Factory = Service* (*)();
    const auto factory = reinterpret_cast<Factory>(resolveProgramModule(kModule, symbol, &error));
    if (!factory) {
        std::fprintf(stderr, "morvane: cannot load %s: %s\n", kModule.toLocal8Bit().constData(),
                     error.toLocal8Bit().constData());
        return nullptr;
    }
    return factory();
}

} // namespace

LazyDownloader::LazyDownloader() = default;
LazyDownloader::~LazyDownloader() = default;

std::optional<QByteArray> LazyDownloader::fetch(const QString& url) {
    if (!m_loaded)
        m_loaded.reset(createFromModule<Downloader>("morvane_new_downloader"));
    return m_loaded ? m_loaded->fetch(url) : std::nullopt;
}

LazyPrinterList::LazyPrinterList() = default;
LazyPrinterList::~LazyPrinterList() = default;

QList<Printer> LazyPrinterList::printers() {
    if (!m_loaded)
        m_loaded.reset(createFromModule<PrinterList>("morvane_new_printer_list"));
    return m_loaded ? m_loaded->printers() : QList<Printer>();
}

} // namespace morvane
