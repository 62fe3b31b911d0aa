#include "platform/eventpump.h"

#include <QCoreApplication>

namespace morvane {

void serveEvents() {
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

} // namespace morvane

namespace morvane {

void serveRepaints() {
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace morvane
