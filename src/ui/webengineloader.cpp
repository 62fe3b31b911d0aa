#include "ui/webengineloader.h"

#include "platform/programmodule.h"

#include <QWidget>

namespace morvane {

namespace {

using Factory = QWidget* (*)(QWidget* parent);

// The web-view module, loaded on first use; nullptr when it cannot be loaded.
Factory viewFactory() {
    static const Factory factory = reinterpret_cast<Factory>(
        resolveProgramModule(QStringLiteral("morvane_webview.so"), "morvane_create_web_view"));
    return factory;
}

using Reload = void (*)(QWidget* view);

Reload reloadFunction() {
    static const Reload reload = reinterpret_cast<Reload>(resolveProgramModule(
        QStringLiteral("morvane_webview.so"), "morvane_reload_keeping_scroll"));
    return reload;
}

} // namespace

void reloadWebViewKeepingScroll(QWidget* view) {
    if (const Reload reload = reloadFunction(); reload && view)
        reload(view);
}

bool webEngineAvailable() {
    return viewFactory() != nullptr;
}

QWidget* createWebEngineView(QWidget* parent) {
    const Factory factory = viewFactory();
    return factory ? factory(parent) : nullptr;
}

} // namespace morvane
