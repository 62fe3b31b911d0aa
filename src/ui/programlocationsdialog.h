#pragma once

#include "settings/programlocations.h"

#include <QDialog>
#include <memory>

namespace Ui {
class ProgramLocationsDialog;
}

class QComboBox;
class QLabel;
class QLineEdit;

namespace morvane {

struct AppContext;
class ProgramSearch;

// Program Locations: the CD-ROM volume, the TeX documents folder and the
// folders of the converters and their helpers, typed, chosen or found by
// the program search. OK writes them to Morvane.ini at once.
class ProgramLocationsDialog : public QDialog {
    Q_OBJECT
public:
    explicit ProgramLocationsDialog(AppContext& ctx, QWidget* parent = nullptr);
    ~ProgramLocationsDialog() override;

    // The note "Using Morvane for the first time".
    void showFirstRunNote(bool shown);
    bool isSearching() const { return m_search != nullptr; }

    // Auto Search, or Stop while a search runs.
    void cmdSearch_Click();
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fillRows();
    void chooseFolder(int row);
    void runSearch();
    void showFind(int row, const QString& folder);
    void cmdOK_Click();

    int lastRow() const;
    void addProgramRows();
    QLineEdit* box(int row) const;
    QComboBox* candidates(int row) const;
    QLabel* note(int row) const;

    AppContext& m_ctx;
    std::unique_ptr<Ui::ProgramLocationsDialog> m_ui;
    QList<LocationRow> m_rows;         // rows 1 to N
    ProgramSearch* m_search = nullptr; // set while a search runs
};

// "Progra&m Locations", and the first-run opening at start-up: shows the
// dialog, then reloads the settings, keeping the scroll fraction and the
// low-resolution flag of this run.
void openProgramLocations(AppContext& ctx, QWidget* parent, bool firstRun = false);

} // namespace morvane
