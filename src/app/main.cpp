#include "app/batchmode.h"
#include "app/guistart.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstring>

// `morvane --help` and `morvane --convert=ROUTE FILE` run without a display:
// they never create a widget, so a QCoreApplication is enough (the widget
// library is linked but not started). Everything else starts the window.
int main(int argc, char** argv) {
    const char* first = argc > 1 ? argv[1] : "";
    if (std::strcmp(first, "--help") == 0) {
        std::fputs(morvane::commandLineHelp().toLocal8Bit().constData(), stdout);
        return 0;
    }
    constexpr const char* convert = "--convert=";
    if (std::strncmp(first, convert, std::strlen(convert)) == 0) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setOrganizationName(QStringLiteral("Morvane"));
        QCoreApplication::setApplicationName(QStringLiteral("Morvane"));
        const QStringList args = app.arguments();
        const QString route = args.at(1).mid(static_cast<int>(std::strlen(convert)));
        const QString file = args.size() > 2 ? args.at(2) : QString();
        return morvane::runBatchMode(route, file);
    }
    return morvane::runGui(argc, argv);
}
