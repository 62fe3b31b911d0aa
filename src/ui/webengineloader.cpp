#include "ui/webengineloader.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QWidget>

namespace morvane {

namespace {

using Factory = QWidget* (*)(QWidget* parent);

// The web-view module: next to the executable (build tree, portable copy),
// else in the module directory of the prefix the executable sits in, else in
// the configured module directory. nullptr when it cannot be loaded.
Factory viewFactory() {
    static Factory factory = [] {
        const QString exeDir = QCoreApplication::applicationDirPath();
        const QStringList candidates{
            exeDir + QStringLiteral("/morvane_webview"),
            exeDir + QStringLiteral("/" MORVANE_MODULE_RELATIVE_DIR "/morvane_webview"),
            QStringLiteral(MORVANE_MODULE_INSTALL_DIR "/morvane_webview")};
        for (const QString& candidate : candidates) {
            auto* library = new QLibrary(candidate); // stays loaded for the program's life
            if (library->load()) {
                if (auto f = reinterpret_cast<Factory>(library->resolve("morvane_create_web_view")))
                    return f;
            }
            delete library;
        }
        return Factory(nullptr);
    }();
    return factory;
}

} // namespace

bool webEngineAvailable() {
    return viewFactory() != nullptr;
}

QWidget* createWebEngineView(QWidget* parent) {
    const Factory factory = viewFactory();
    return factory ? factory(parent) : nullptr;
}

} // namespace morvane
