#pragma once

#include "app/configcommands.h"
#include "settings/heveaconfigs.h"

#include <QDialog>
#include <memory>

namespace Ui {
class SaveConfigDialog;
class LoadConfigDialog;
} // namespace Ui

namespace morvane {

struct AppContext;

// The save/delete dialog of the named configurations: a name to save the
// HeVeA tab's combination under, or (for an empty combination) the list of
// configurations of the output type to delete one from.
class SaveConfigDialog : public QDialog {
    Q_OBJECT
public:
    // An empty suggestion opens the dialog in delete mode.
    SaveConfigDialog(AppContext& ctx, const QString& suggestion, QWidget* parent = nullptr);
    ~SaveConfigDialog() override;

    ConfigNameChoice choice() const { return m_choice; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void cmdOK_Click();

    std::unique_ptr<Ui::SaveConfigDialog> m_ui;
    bool m_deleteMode;
    ConfigNameChoice m_choice;
};

// InputConfigName with the dialog, modal over `parent`.
ConfigNameChoice inputConfigNameDialog(AppContext& ctx, const QString& suggestion, QWidget* parent);

// The load dialog: the configurations of the current output type, the
// styles and excluded file of the selected one; Del deletes, "*" makes the
// start-up configuration, OK applies.
class LoadConfigDialog : public QDialog {
    Q_OBJECT
public:
    explicit LoadConfigDialog(AppContext& ctx, QWidget* parent = nullptr);
    ~LoadConfigDialog() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showEntry(int row);
    void deleteSelected();
    void markSelected();
    void cmdOK_Click();

    AppContext& m_ctx;
    std::unique_ptr<Ui::LoadConfigDialog> m_ui;
    QList<ConfigEntry> m_entries; // parallel to lstConfigs' rows
};

// "Save Co&nfiguration" and "Load Confi&guration" with their dialogs.
void saveConfigurationWithDialog(AppContext& ctx, QWidget* parent);
void loadConfigurationWithDialog(AppContext& ctx, QWidget* parent);

} // namespace morvane
