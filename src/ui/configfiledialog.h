#pragma once

#include "tex4ht/configfile.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

namespace Ui {
class ConfigFileDialog;
}

namespace morvane {

struct AppContext;

// "Configuration File": one of the program's TeX4ht configuration files in
// the program directory, with the snippet library of CustomCode.txt beside
// it. Nothing is written to the configuration file until OK; the library is
// rewritten at once by its own commands.
class ConfigFileDialog : public QDialog {
    Q_OBJECT
public:
    // `fileName`: qvconfig.cfg, qvconfig-xh.cfg, qvconfig-xhm.cfg or qvconfig-mz.cfg.
    ConfigFileDialog(AppContext& ctx, const QString& fileName, QWidget* parent = nullptr);
    ~ConfigFileDialog() override;

    // Asks for a line of text (prompt, title, proposed answer); nothing when
    // the user cancels. The input box unless a test replaces it.
    std::function<std::optional<QString>(const QString&, const QString&, const QString&)> askText;

    QString suffix() const { return m_suffix; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString configPath() const;
    QString libraryPath() const;
    void refreshSnippetList();
    void insertCode();
    void undoInsert();
    void resetCode();
    void saveSelectedCode();
    void renameCode();
    void deleteCode();
    void showManual();
    void updateManual();
    void showSnippetMenu(const QPoint& at);
    SnippetPlace place() const;

    AppContext& m_ctx;
    std::unique_ptr<Ui::ConfigFileDialog> m_ui;
    QString m_fileName;
    QString m_suffix;
    QString m_undoText;
};

// Opens the editor for the file named by the caption of the advanced
// dialog's `cmdConfig`; returns the file's suffix after OK, nothing after
// Cancel.
std::optional<QString> showConfigFileDialog(AppContext& ctx, const QString& caption,
                                            QWidget* parent);

} // namespace morvane
