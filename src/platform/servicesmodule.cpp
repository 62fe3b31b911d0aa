// The module morvane_services.so: the update check's web fetch (Qt Network)
// and the printer list from CUPS, which the window loads only when it first
// needs one of them (platform/lazyservices).

#include "platform/networkdownloader.h"
#include "platform/printers.h"

extern "C" Q_DECL_EXPORT morvane::Downloader* morvane_new_downloader() {
    return new morvane::NetworkDownloader;
}

extern "C" Q_DECL_EXPORT morvane::PrinterList* morvane_new_printer_list() {
    return new morvane::CupsPrinterList;
}
