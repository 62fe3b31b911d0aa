#pragma once

class QWidget;

namespace morvane {

// Creates a QWebEngineView, loading Qt WebEngine only at this moment: the
// engine's libraries take longer to load than the whole rest of the program's
// start, and most sessions never open the built-in browser. The view is used
// through QWidget and its meta-object ("url", "title", loadFinished(bool),
// titleChanged(QString)). nullptr when Qt WebEngine cannot be loaded.
QWidget* createWebEngineView(QWidget* parent);

// Reloads the view's page and restores its scroll position; does nothing
// for a view the module did not make.
void reloadWebViewKeepingScroll(QWidget* view);

// True when Qt WebEngine can be loaded (it is loaded by this question).
bool webEngineAvailable();

} // namespace morvane
