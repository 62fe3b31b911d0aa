#pragma once

#include "platform/downloader.h"
#include "platform/printers.h"

#include <memory>

namespace morvane {

// The web fetch of the update check and the printer list of the PDF set-up
// are used seldom, yet Qt Network and libcups bring some twenty libraries
// that would be loaded, relocated and initialised on every start of the
// window. These stand-ins load them from morvane_services.so when they are
// first used. A module that cannot be loaded fetches nothing and lists no
// printer, as when there is no network or no print server; the reason goes
// to standard error.
class LazyDownloader : public Downloader {
public:
    LazyDownloader();
    ~LazyDownloader() override;
    std::optional<QByteArray> fetch(const QString& url) override;

private:
    std::unique_ptr<Downloader> m_loaded;
};

class LazyPrinterList : public PrinterList {
public:
    LazyPrinterList();
    ~LazyPrinterList() override;
    QList<Printer> printers() override;

private:
    std::unique_ptr<PrinterList> m_loaded;
};

} // namespace morvane
