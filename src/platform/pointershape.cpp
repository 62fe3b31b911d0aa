#include "platform/pointershape.h"

namespace morvane {

namespace {

PointerOverride::Push pushHandler = nullptr;
PointerOverride::Pop popHandler = nullptr;

} // namespace

PointerOverride::PointerOverride(PointerShape shape) {
    if (pushHandler && popHandler) {
        pushHandler(shape);
        m_set = true;
    }
}

PointerOverride::~PointerOverride() {
    if (m_set && popHandler)
        popHandler();
}

void PointerOverride::setHandlers(Push push, Pop pop) {
    pushHandler = push;
    popHandler = pop;
}

} // namespace morvane
