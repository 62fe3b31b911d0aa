#include "ui/programlocationsdialog.h"

#include "app/inicommands.h"
#include "pipeline/appcontext.h"
#include "platform/folderchooser.h"
#include "platform/prompter.h"
#include "platform/volumes.h"
#include "settings/programlocations.h"
#include "settings/programsearch.h"

#include "ui_programlocationsdialog.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace morvane {

namespace {

constexpr int kFirstSearchedRow = 2;

QString S(const char* text) {
    return QString::fromLatin1(text);
}

QList<Volume> volumesOf(const AppContext& ctx) {
    return ctx.seams.volumes ? ctx.seams.volumes->volumes() : QList<Volume>{};
}

} // namespace

ProgramLocationsDialog::ProgramLocationsDialog(AppContext& ctx, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_ui(std::make_unique<Ui::ProgramLocationsDialog>()),
      m_rows(allLocationRows(ctx.routes)) {
    m_ui->setupUi(this);
    m_ui->lblInstructions->setText(
        S("Enter the directory where these programs can be found.  You can also use Auto "
          "Search") +
        QLatin1Char('\n') +
        S("to help find them for you.  If a program isn't on your system leave the entry "
          "blank."));

    const QList<Volume> volumes = volumesOf(ctx);
    for (const VolumeEntry& entry : volumeEntries(volumes))
        m_ui->cmbDrives->addItem(entry.text, entry.mountPoint);
    m_ui->cmbDrives->setCurrentIndex(lastCdRomEntry(volumes));

    addProgramRows();
    fillRows();
    for (int row = 1; row <= lastRow(); ++row) {
        auto* button = findChild<QPushButton*>(S("cmdBrowse_") + QString::number(row));
        connect(button, &QPushButton::clicked, this, [this, row] { chooseFolder(row); });
        if (row >= kFirstSearchedRow)
            connect(box(row), &QLineEdit::textEdited, note(row), &QLabel::clear);
    }
    connect(m_ui->cmdSearch, &QPushButton::clicked, this, [this] { cmdSearch_Click(); });
    connect(m_ui->cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, [this] { reject(); });
}

ProgramLocationsDialog::~ProgramLocationsDialog() = default;

int ProgramLocationsDialog::lastRow() const {
    return int(m_rows.size());
}

// Rows 2 on come from the routes: label, folder box (or the search's
// candidates), Browse and the search's note.
void ProgramLocationsDialog::addProgramRows() {
    auto* grid = qobject_cast<QGridLayout*>(m_ui->fraPrograms->layout());
    for (int row = kFirstSearchedRow; row <= lastRow(); ++row) {
        const QString number = QString::number(row);
        auto* folder = new QLineEdit(m_ui->fraPrograms);
        folder->setObjectName(S("txtProg_") + number);
        folder->setMinimumWidth(320);
        auto* found = new QComboBox(m_ui->fraPrograms);
        found->setObjectName(S("cmbProg_") + number);
        found->setVisible(false);
        auto* cell = new QHBoxLayout;
        cell->addWidget(folder);
        cell->addWidget(found);
        auto* label = new QLabel(S(m_rows[row - 1].label), m_ui->fraPrograms);
        label->setObjectName(S("lblProg_") + number);
        label->setBuddy(folder);
        auto* browse = new QPushButton(S("..."), m_ui->fraPrograms);
        browse->setObjectName(S("cmdBrowse_") + number);
        browse->setMaximumWidth(32);
        auto* note = new QLabel(m_ui->fraPrograms);
        note->setObjectName(S("lblFound_") + number);
        // Room for the longest note the search writes, so that it is read
        // whole without widening the dialog.
        note->setMinimumWidth(note->fontMetrics().horizontalAdvance(searchNoteText(99)) +
                              note->margin() * 2 + 4);
        const int line = row - kFirstSearchedRow;
        grid->addWidget(label, line, 0);
        grid->addLayout(cell, line, 1);
        grid->addWidget(browse, line, 2);
        grid->addWidget(note, line, 3);
    }
}

QLineEdit* ProgramLocationsDialog::box(int row) const {
    return findChild<QLineEdit*>(S("txtProg_") + QString::number(row));
}

QComboBox* ProgramLocationsDialog::candidates(int row) const {
    return findChild<QComboBox*>(S("cmbProg_") + QString::number(row));
}

QLabel* ProgramLocationsDialog::note(int row) const {
    return findChild<QLabel*>(S("lblFound_") + QString::number(row));
}

void ProgramLocationsDialog::showFirstRunNote(bool shown) {
    m_ui->lblFirstTime->setVisible(shown);
}

void ProgramLocationsDialog::fillRows() {
    for (int row = 1; row <= lastRow(); ++row)
        box(row)->setText(m_ctx.settings.vars.*m_rows[row - 1].setting);
}

void ProgramLocationsDialog::chooseFolder(int row) {
    if (!m_ctx.seams.folders)
        return;
    const QString folder = m_ctx.seams.folders->chooseDirectory(S(m_rows[row - 1].prompt));
    if (folder.isEmpty())
        return;
    box(row)->setText(chosenFolderText(folder));
    // The chosen folder replaces the search's candidates, which OK would
    // otherwise take instead.
    if (row >= kFirstSearchedRow) {
        candidates(row)->hide();
        box(row)->show();
        note(row)->clear();
    }
}

void ProgramLocationsDialog::cmdSearch_Click() {
    if (m_search) {
        m_search->stop();
        m_ui->cmdSearch->setText(S("Auto &Search"));
        return;
    }
    m_ui->cmdSearch->setText(S("Stop &Search"));
    runSearch();
}

void ProgramLocationsDialog::showFind(int row, const QString& folder) {
    QComboBox* list = candidates(row);
    list->addItem(folder);
    list->setCurrentIndex(list->count() - 1);
    box(row)->setText(folder);
    // Drawn at once, so the user watches the finds come in.
    list->repaint();
    box(row)->repaint();
}

void ProgramLocationsDialog::runSearch() {
    const QString caption = windowTitle();
    setWindowTitle(S("Searching for Programs ..."));
    // OK would write the rows the search has just emptied.
    m_ui->cmdOK->setEnabled(false);
    m_ui->StatusBar1_1->setText(S("Searching:"));

    QStringList saved;
    for (int row = kFirstSearchedRow; row <= lastRow(); ++row) {
        saved.append(box(row)->text());
        candidates(row)->clear();
        candidates(row)->hide();
        box(row)->show();
        note(row)->clear();
        box(row)->clear();
    }

    ProgramSearch search(searchTargets(m_rows));
    m_search = &search;
    search.serve = [this](const QString& folder) {
        m_ui->StatusBar1_2->setText(folder);
        QCoreApplication::processEvents();
    };
    search.found = [this](int target, const QString& folder) {
        showFind(target + kFirstSearchedRow, folder);
    };

    const QList<Volume> volumes = volumesOf(m_ctx);
    const QStringList mountPoints =
        m_ctx.seams.volumes ? m_ctx.seams.volumes->allMountPoints() : QStringList{};
    for (const Volume& volume : volumes) {
        if (volume.type != DriveType::Fixed || search.isStopped())
            continue;
        QStringList others;
        for (const QString& other : mountPoints) {
            if (other != volume.mountPoint)
                others.append(other);
        }
        search.setOtherMountPoints(others);
        search.searchTree(volume.mountPoint);
    }

    for (int row = kFirstSearchedRow; row <= lastRow(); ++row) {
        const RowOutcome outcome = searchOutcome(search.candidates().at(row - kFirstSearchedRow),
                                                 saved.at(row - kFirstSearchedRow));
        box(row)->setText(outcome.text);
        note(row)->setText(outcome.note);
        QComboBox* list = candidates(row);
        list->clear();
        if (!outcome.candidates.isEmpty()) {
            list->addItems(outcome.candidates);
            list->setCurrentIndex(0);
            box(row)->hide();
            list->show();
        }
    }

    m_search = nullptr;
    m_ui->cmdSearch->setText(S("Auto &Search"));
    m_ui->StatusBar1_1->clear();
    m_ui->StatusBar1_2->clear();
    setWindowTitle(caption);
    m_ui->cmdOK->setEnabled(true);
}

void ProgramLocationsDialog::cmdOK_Click() {
    if (m_search)
        return;
    QStringList texts;
    for (int row = 1; row <= lastRow(); ++row) {
        QComboBox* list = row >= kFirstSearchedRow ? candidates(row) : nullptr;
        texts.append(list && !list->isHidden() ? list->currentText() : box(row)->text());
    }
    const QString cdRom = m_ui->cmbDrives->currentData().toString();
    if (!writeProgramLocations(iniPath(m_ctx), cdRom, m_rows, texts))
        m_ctx.seams.prompter->tell(S("Unable to save all the paths"), S("Save Preferences"),
                                   Icon::Critical);
    accept();
}

void ProgramLocationsDialog::keyPressEvent(QKeyEvent* event) {
    // Esc is the Auto Search button's key: it starts a search, or stops one.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdSearch_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ProgramLocationsDialog::reject() {
    // Cancel and the window's close stop a running search instead.
    if (m_search) {
        cmdSearch_Click();
        return;
    }
    writeFirstTimeDone(iniPath(m_ctx));
    QDialog::reject();
}

void ProgramLocationsDialog::closeEvent(QCloseEvent* event) {
    if (m_search) {
        cmdSearch_Click();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void openProgramLocations(AppContext& ctx, QWidget* parent, bool firstRun) {
    {
        ProgramLocationsDialog dialog(ctx, parent);
        dialog.showFirstRunNote(firstRun && !ctx.settings.vars.lowRes);
        dialog.exec();
    }
    const double scrollFraction = ctx.settings.vars.scrollFraction;
    const bool lowRes = ctx.settings.vars.lowRes;
    reloadIni(ctx);
    ctx.settings.vars.scrollFraction = scrollFraction;
    ctx.settings.vars.lowRes = lowRes;
}

} // namespace morvane
