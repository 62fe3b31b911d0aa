#include "ui/webengineloader.h"

#include <QLibrary>
#include <QWebEngineView>
#include <new>

namespace morvane {

namespace {

using Constructor = void (*)(void* self, QWidget* parent);

// QWebEngineView::QWebEngineView(QWidget*); nullptr when the library or the
// constructor cannot be found.
Constructor viewConstructor() {
    static QLibrary library(QStringLiteral("Qt6WebEngineWidgets"), 6);
    if (!library.isLoaded() && !library.load())
        return nullptr;
    return reinterpret_cast<Constructor>(library.resolve("_ZN14QWebEngineViewC1EP7QWidget"));
}

} // namespace

bool webEngineAvailable() {
    return viewConstructor() != nullptr;
}

QWidget* createWebEngineView(QWidget* parent) {
    const Constructor construct = viewConstructor();
    if (!construct)
        return nullptr;
    // The constructor runs on storage of the view's size (known from the
    // header); nothing else of the library is named here, so the program
    // does not load it at start.
    void* storage = ::operator new(sizeof(QWebEngineView));
    construct(storage, parent);
    // Deleting it through QWidget runs the view's own deleting destructor.
    return static_cast<QWidget*>(static_cast<QWebEngineView*>(storage));
}

} // namespace morvane
