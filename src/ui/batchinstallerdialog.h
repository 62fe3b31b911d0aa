#pragma once

#include "pdfsetup/batchinstaller.h"

#include <QDialog>
#include <functional>
#include <memory>

namespace Ui {
class BatchInstallerDialog;
}

class QRadioButton;

namespace morvane {

struct AppContext;

// The "Batch File Installer": collects the details of the TrueTeX +
// Ghostscript chain, checks them and sets up its two batch files.
class BatchInstallerDialog : public QDialog {
    Q_OBJECT
public:
    explicit BatchInstallerDialog(AppContext& ctx, QWidget* parent = nullptr);
    ~BatchInstallerDialog() override;

    // The open-file dialog of the Browse buttons (title); returns the chosen
    // file or the empty string. Tests replace it.
    std::function<QString(const QString& title)> chooseFile;

    // What the controls hold now.
    InstallerForm form() const;
    // Fills the printer list afresh from the print system.
    void refreshPrinters();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loadSettings();
    void showPort(int row);
    void browse(int index);
    void addPrinter();
    void edit(int index);
    void cmdOK_Click();

    AppContext& m_ctx;
    std::unique_ptr<Ui::BatchInstallerDialog> m_ui;
};

// "&Setup batch files": the dialog with the main window's Ghostscript
// location, shown modally.
void cmdBat_Click(AppContext& ctx, QWidget* parent);

} // namespace morvane
