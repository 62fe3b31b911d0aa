// The built-in browser's web view lives in its own loadable module so that
// the program loads Qt WebEngine only when a page is first shown there: the
// engine's libraries take longer to load than the rest of the start-up.

#include "webview/webview.h"

extern "C" Q_DECL_EXPORT QWidget* morvane_create_web_view(QWidget* parent) {
    return new morvane::WebView(parent);
}
