#include "platform/eventpump.h"

#include <QCoreApplication>

namespace morvane {

void serveEvents() {
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

} // namespace morvane
