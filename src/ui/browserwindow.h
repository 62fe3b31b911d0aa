#pragma once

#include "pipeline/resultdisplay.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QTimer;
class QUrl;

namespace Ui {
class BrowserForm;
}

namespace morvane {

struct AppContext;

// The built-in browser: a toolbar, an address box with the visited pages
// (most recent first, local files as paths) above a web view, and a status
// bar with the address of the link under the mouse. Inside the program
// closing it only hides it, so its list and placement last until the program
// ends; as a viewer of its own, closing ends it.
class BrowserWindow : public QMainWindow, public ResultViewer {
    Q_OBJECT
public:
    enum class Role { InProgram, StandAlone };

    explicit BrowserWindow(AppContext& ctx, QWidget* parent = nullptr, Role role = Role::InProgram);
    ~BrowserWindow() override;

    void show(const QString& file) override;
    void savePlacement() override;
    void reloadKeepingScroll(const QString& file) override;
    void reloadIfShowing(const QString& file) override;

    // The address list's form of an address: a file URL becomes its path.
    static QString normalisedAddress(const QUrl& url);
    // The page an address typed or chosen by the user stands for.
    static QUrl urlOfUserAddress(const QString& address);

    // The open-file dialog: the chosen file, or empty for Cancel. Tests
    // replace it.
    std::function<QString()> chooseFile;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void rememberAddress();
    void showStatusText(const QString& text);
    void showTitleWhenIdle();

private:
    bool isShowing(const QString& file) const;
    void wireToolbar();
    void navigate(const QUrl& url);
    void addressChosen(const QString& address);
    void toolbarButton(const QString& key);
    void Browse();
    QString documentTitle() const;
    bool handleDrop(QEvent* event);
    void restorePlacement();

    AppContext& m_ctx;
    Role m_role;
    std::unique_ptr<Ui::BrowserForm> m_ui;
    QComboBox* m_address = nullptr;
    QWidget* m_view = nullptr; // the web engine's view, loaded on demand
    QLabel* m_status = nullptr;
    QTimer* m_timer = nullptr;
    QString m_home; // StartingAddress: the first page of the session
    bool m_updatingHistory = false;
    bool m_focusDocument = false;
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
    // Shows the page while the window has never been opened.
    void reloadKeepingScroll(const QString& file) override;
    void reloadIfShowing(const QString& file) override;

private:
    AppContext& m_ctx;
    std::unique_ptr<BrowserWindow> m_window;
};

// The stand-alone viewer: the program started under another name than
// "morvane" shows the command-line file in the browser window alone.
bool isStandAloneViewer(const QString& executableName);
int runStandAloneViewer(AppContext& ctx, const QString& commandLineFile);

} // namespace morvane
