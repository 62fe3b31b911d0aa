// The built-in browser's web view lives in its own loadable module so that
// the program loads Qt WebEngine only when a page is first shown there: the
// engine's libraries take longer to load than the rest of the start-up.

#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>

extern "C" Q_DECL_EXPORT QWidget* morvane_create_web_view(QWidget* parent) {
    return new QWebEngineView(parent);
}

// Reloads the page and scrolls back to where the reader was: the position is
// read before the reload and set again once the new page has loaded.
extern "C" Q_DECL_EXPORT void morvane_reload_keeping_scroll(QWidget* widget) {
    auto* view = qobject_cast<QWebEngineView*>(widget);
    if (!view)
        return;
    QPointer<QWebEngineView> guard(view);
    view->page()->runJavaScript(
        QStringLiteral("[window.scrollX, window.scrollY]"), [guard](const QVariant& position) {
            if (!guard)
                return;
            const QVariantList xy = position.toList();
            auto once = std::make_shared<QMetaObject::Connection>();
            *once = QObject::connect(
                guard.data(), &QWebEngineView::loadFinished, guard.data(), [guard, xy, once](bool) {
                    QObject::disconnect(*once);
                    if (guard && xy.size() == 2)
                        guard->page()->runJavaScript(QStringLiteral("window.scrollTo(%1, %2);")
                                                         .arg(xy.at(0).toDouble())
                                                         .arg(xy.at(1).toDouble()));
                });
            guard->reload();
        });
}
