#pragma once

#include <QPoint>
#include <QWebEngineView>

namespace morvane {

// The built-in browser's view. The window knows it only through its
// meta-object: the signals and slots of QWebEngineView, plus
//   busy                  (property) true from the start of a load to its end
//   statusTextChanged(s)  the address of the link under the mouse, or ""
//   reloadKeepingScroll() reloads the page and scrolls back to where it was
class WebView : public QWebEngineView {
    Q_OBJECT
    Q_PROPERTY(bool busy READ isBusy)
public:
    explicit WebView(QWidget* parent = nullptr);

    bool isBusy() const { return m_busy; }

public slots:
    void reloadKeepingScroll();

signals:
    void statusTextChanged(const QString& text);

private:
    void restoreScroll();

    bool m_busy = false;
    bool m_scrollPending = false;
    QPoint m_scroll;
};

} // namespace morvane
