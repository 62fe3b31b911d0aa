#pragma once

#include <QDialog>
#include <functional>
#include <memory>

namespace Ui {
class MorePreferencesDialog;
}

namespace morvane {

struct AppContext;

// More Preferences: the editors, the Alt+arrow step (applied while typing,
// restored by Cancel), and four flags and the limits of a converter run
// applied by OK.
class MorePreferencesDialog : public QDialog {
    Q_OBJECT
public:
    explicit MorePreferencesDialog(AppContext& ctx, QWidget* parent = nullptr);
    ~MorePreferencesDialog() override;

    // The open-file dialog of the Browse buttons (title, starting folder);
    // returns the chosen file or the empty string. Tests replace it.
    std::function<QString(const QString& title, const QString& folder)> chooseFile;

    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void txtAmount_Change(const QString& text);
    void VScroll_Change(int value);
    void browse(bool texEditor);
    void cmdOK_Click();

    AppContext& m_ctx;
    std::unique_ptr<Ui::MorePreferencesDialog> m_ui;
    double m_openingFraction;
    int m_openingMinutes = 0;
    int m_openingMemoryMB = 0;
    bool m_loaded = false;
    bool m_settingSpinner = false;
};

} // namespace morvane
