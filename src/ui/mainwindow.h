#pragma once

#include <QMainWindow>
#include <memory>

namespace morvane {

struct AppContext;

// The main window: a view of the options model. Its forms carry the design's
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

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace morvane
