#pragma once

#include "pipeline/resultdisplay.h"

#include <QWidget>
#include <memory>

class QComboBox;
class QUrl;

namespace morvane {

struct AppContext;

// The built-in browser: an address box with the visited pages (most recent
// first, local files as paths) above a web view. Closing it only hides it,
// so its list and placement last until the program ends.
class BrowserWindow : public QWidget, public ResultViewer {
    Q_OBJECT
public:
    explicit BrowserWindow(AppContext& ctx, QWidget* parent = nullptr);

    void show(const QString& file) override;
    void savePlacement() override;
    void reloadKeepingScroll(const QString& file) override;
    void reloadIfShowing(const QString& file) override;

    // The address list's form of an address: a file URL becomes its path.
    static QString normalisedAddress(const QUrl& url);

private slots:
    void rememberAddress();

private:
    bool isShowing(const QString& file) const;
    void navigate(const QString& address);
    void restorePlacement();

    AppContext& m_ctx;
    QComboBox* m_address = nullptr;
    QWidget* m_view = nullptr; // the web engine's view, loaded on demand
    bool m_updatingHistory = false;
};

// Creates the browser window the first time something is shown, so that a
// program start never pays for the web engine. When the engine cannot be
// loaded, pages go to the desktop's browser instead.
class LazyBrowser : public ResultViewer {
public:
    explicit LazyBrowser(AppContext& ctx);
    ~LazyBrowser() override;

    void show(const QString& file) override;
    void savePlacement() override;
    void reloadKeepingScroll(const QString& file) override;
    void reloadIfShowing(const QString& file) override;

private:
    AppContext& m_ctx;
    std::unique_ptr<BrowserWindow> m_window;
};

} // namespace morvane
