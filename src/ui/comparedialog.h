#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class CompareDialog;
}

namespace morvane {

struct AppContext;
class Comparison;

// Compare Routes: the file box's document converted by every installed web
// route side by side, each route a row that shows its progress and then
// what its page holds, with a thumbnail. A double-click opens a route's
// page; Use Recommended Route makes the best one the selected tab.
class CompareDialog : public QDialog {
    Q_OBJECT
public:
    CompareDialog(AppContext& ctx, const QString& document, QWidget* parent = nullptr);
    ~CompareDialog() override;

    // Prepares the comparison and starts its runs; false (after telling the
    // user why) when it cannot.
    bool start();

private:
    void setCell(int row, int column, const QString& text);
    void showProgress(int child, const QString& text);
    void showResults();
    void fitTable();
    void openRow(int row);
    void useRecommended();
    void reject() override;

    AppContext& m_ctx;
    std::unique_ptr<Ui::CompareDialog> m_ui;
    std::unique_ptr<Comparison> m_comparison;
};

} // namespace morvane
