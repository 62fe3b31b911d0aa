#pragma once

#include <QList>
#include <QString>

namespace morvane {

// An installed printer: its name and the port it prints to.
struct Printer {
    QString name;
    QString port; // "FILE:" for a printer that prints into a file

    bool operator==(const Printer&) const = default;
};

// The installed printers, in the order the print system lists them.
class PrinterList {
public:
    virtual ~PrinterList() = default;
    virtual QList<Printer> printers() = 0;
};

// The port of a CUPS device URI: its scheme in upper case and a colon
// ("file:/tmp/out.ps" gives "FILE:", "ipp://host/q" gives "IPP:"); empty
// when the URI has no scheme.
QString portOfDeviceUri(const QString& uri);

// The printers of the CUPS server, with the ports of their device URIs.
// Built into the window's library, so batch mode never loads libcups. With
// no CUPS server the list is empty.
class CupsPrinterList : public PrinterList {
public:
    QList<Printer> printers() override;
};

} // namespace morvane
