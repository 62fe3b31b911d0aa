#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class ConverterCheckDialog;
}

namespace morvane {

// The table of "Check Converters" on the Help tab: one row per route,
// filled as each route's check ends.
class ConverterCheckDialog : public QDialog {
    Q_OBJECT
public:
    explicit ConverterCheckDialog(QWidget* parent = nullptr);
    ~ConverterCheckDialog() override;

    // Runs the check, showing each route as soon as it is done.
    void runCheck();

private:
    std::unique_ptr<Ui::ConverterCheckDialog> m_ui;
};

} // namespace morvane
