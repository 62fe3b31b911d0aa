#pragma once

#include "settings/controlnames.h"

#include <QMainWindow>
#include <memory>

class QMimeData;

namespace morvane {

struct AppContext;

// The main window: a view of the options model. Its forms carry the program's
// control names; it forwards clicks to the logic and mirrors the model.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(AppContext& ctx, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Puts the keyboard focus into the file box.
    void focusFileBox();

    // The window's widget named `name`. A page is built when it is first
    // shown; asked for a widget of a page not built yet, the window builds
    // that page first (every such page for a name no form lists as a
    // control), so that the page answers as if it had always been there.
    QWidget* widgetNamed(const QString& name);
    template <typename T> T* widgetNamed(const QString& name) {
        return qobject_cast<T*>(widgetNamed(name));
    }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Page;

    void buildForms();
    void buildPage(Page& page);
    void buildPageOf(ctl::Control control);
    // The widget bound to a control, its page built first.
    QWidget* controlWidget(ctl::Control control);
    void putPagesAfterTabs();
    void registerBuiltInPages();
    void wireButtons();
    void watchDrops(QWidget* part);
    void wireSpecialControls();
    void wireForm(const QString& form);
    // The cover of the style list takes clicks while the list is disabled.
    void coverStyleList();
    void browseForTeXFile();
    // Compare Routes for the file box's file.
    void compareRoutes();
    // The pandoc tab's citation style file.
    void chooseCitationStyle();
    void showCommandLineLock();
    // Puts the chosen code fragment into the command line at the caret.
    void insertCodeFragment(int index);
    bool handleDrop(QEvent* event);

    struct Private;
    std::unique_ptr<Private> d;
};

// The first local file of a drop, or the empty string when the dropped data
// offers no file.
QString firstDroppedFile(const QMimeData* data);

} // namespace morvane
