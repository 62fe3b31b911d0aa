#include "platform/printers.h"

#include <cups/cups.h>

namespace morvane {

QList<Printer> CupsPrinterList::printers() {
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    QList<Printer> list;
    for (int i = 0; i < count; ++i) {
        const cups_dest_t& dest = dests[i];
        // Instances ("queue/instance") print through their queue's device.
        QString name = QString::fromUtf8(dest.name);
        if (dest.instance)
            name += QLatin1Char('/') + QString::fromUtf8(dest.instance);
        const char* uri = cupsGetOption("device-uri", dest.num_options, dest.options);
        list.append({name, portOfDeviceUri(QString::fromUtf8(uri ? uri : ""))});
    }
    cupsFreeDests(count, dests);
    return list;
}

} // namespace morvane
