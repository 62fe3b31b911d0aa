#pragma once

#include "tex4ht/tex4htoptions.h"

#include <QDialog>
#include <functional>
#include <memory>

namespace Ui {
class Tex4htAdvancedDialog;
}

namespace morvane {

struct AppContext;

// "Advanced Options For TeX4ht": every TeX4ht option as a control, composed
// live into the status bar; OK stores the result for the main window's
// command line, Cancel leaves it as it was.
class Tex4htAdvancedDialog : public QDialog {
    Q_OBJECT
public:
    explicit Tex4htAdvancedDialog(AppContext& ctx, QWidget* parent = nullptr);
    ~Tex4htAdvancedDialog() override;

    Tex4htOptions options() const;

    // Asks for a batch file to run; the file dialog unless a test replaces it.
    std::function<QString()> chooseBatchFile;

    void accept() override;
    void reject() override;

private:
    void setOptions(const Tex4htOptions& options);
    void connectControls();
    void formatChosen(int index);
    void overlibToggled(bool on);
    void recompose();
    bool batchNameGiven();
    bool htrunAvailable() const;

    AppContext& m_ctx;
    std::unique_ptr<Ui::Tex4htAdvancedDialog> m_ui;
    bool m_loading = true;
    int m_htrunAtOpen = 0;
};

// Shows the dialog modally over `parent`.
void showTex4htAdvancedDialog(AppContext& ctx, QWidget* parent);

} // namespace morvane
