#include "webview/webview.h"

#include "ui/localpagepolicy.h"

#include <QFileInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>

namespace morvane {

namespace {

// Holds local pages to their own folder (see localPageMayLoad). The page's
// own navigation (typed, chosen, a followed link) is the user's and passes.
class LocalPageGuard : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        if (info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeMainFrame)
            return;
        if (!localPageMayLoad(info.firstPartyUrl(), info.requestUrl(), mathJaxDirectory()))
            info.block(true);
    }
};

void guardProfile(QWebEngineProfile* profile) {
    static LocalPageGuard* guard = nullptr;
    if (guard)
        return;
    guard = new LocalPageGuard(profile);
    profile->setUrlRequestInterceptor(guard);
}

// Debian's engine draws no MathML: a local page with MathML gets MathJax
// from the local installation, typesetting into SVG (no fonts needed).
QString mathJaxLoader() {
    const QString script = mathJaxDirectory() + QStringLiteral("/MathJax.js");
    if (!QFileInfo::exists(script))
        return {};
    const QString source = QUrl::fromLocalFile(script).toString(QUrl::FullyEncoded) +
                           QStringLiteral("?config=MML_SVG");
    return QStringLiteral(R"((function () {
  if (location.protocol !== 'file:') return;
  if (window.MathJax && window.MathJax.Hub) return;
  var ns = 'http://www.w3.org/1998/Math/MathML';
  if (!document.getElementsByTagNameNS(ns, 'math').length &&
      !document.getElementsByTagName('math').length) return;
  var s = document.createElement('script');
  s.src = '%1';
  (document.head || document.documentElement).appendChild(s);
})();)")
        .arg(source);
}

} // namespace

WebView::WebView(QWidget* parent) : QWebEngineView(parent) {
    guardProfile(page()->profile());
    QWebEngineSettings* s = settings();
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);

    const QString loader = mathJaxLoader();
    if (!loader.isEmpty()) {
        QWebEngineScript mathJax;
        mathJax.setName(QStringLiteral("morvane-mathjax"));
        mathJax.setInjectionPoint(QWebEngineScript::DocumentReady);
        mathJax.setWorldId(QWebEngineScript::MainWorld);
        mathJax.setRunsOnSubFrames(false);
        mathJax.setSourceCode(loader);
        page()->scripts().insert(mathJax);
    }

    connect(this, &QWebEngineView::loadStarted, this, [this] { m_busy = true; });
    connect(this, &QWebEngineView::loadFinished, this, [this] {
        m_busy = false;
        if (m_scrollPending)
            restoreScroll();
    });
    connect(page(), &QWebEnginePage::linkHovered, this, &WebView::statusTextChanged);
}

void WebView::reloadKeepingScroll() {
    page()->runJavaScript(QStringLiteral("[window.scrollX, window.scrollY]"),
                          [this](const QVariant& result) {
                              const QVariantList xy = result.toList();
                              m_scroll = QPoint(xy.value(0).toInt(), xy.value(1).toInt());
                              m_scrollPending = true;
                              reload();
                          });
}

void WebView::restoreScroll() {
    m_scrollPending = false;
    // MathJax changes the page's height once it has typeset: scroll again
    // when it is done.
    page()->runJavaScript(QStringLiteral("window.scrollTo(%1, %2);"
                                         "if (window.MathJax && MathJax.Hub && MathJax.Hub.Queue)"
                                         "  MathJax.Hub.Queue(function () {"
                                         "    window.scrollTo(%1, %2); });")
                              .arg(m_scroll.x())
                              .arg(m_scroll.y()));
}

} // namespace morvane
