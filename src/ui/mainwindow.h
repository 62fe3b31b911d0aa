#pragma once

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

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildForms();
    void putPagesAfterTabs();
    void registerBuiltInPages();
    void wireButtons();
    void wireSpecialControls();
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
