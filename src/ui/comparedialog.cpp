#include "ui/comparedialog.h"

#include "app/comparison.h"
#include "pipeline/appcontext.h"
#include "pipeline/resultdisplay.h"
#include "platform/childprograms.h"
#include "platform/prompter.h"

#include "ui_comparedialog.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QIcon>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>

namespace morvane {

namespace {

QString S(const char* text) {
    return QString::fromLatin1(text);
}

enum Column {
    RouteColumn,
    PageColumn,
    ProgressColumn,
    ErrorsColumn,
    WarningsColumn,
    UndefinedColumn,
    BrokenColumn,
    MathmlColumn,
    PicturesColumn,
    TexColumn,
    TextColumn,
    PagesColumn,
    SecondsColumn,
    MemoryColumn,
    ColumnCount
};

constexpr int kThumbnailHeight = 90;

} // namespace

CompareDialog::CompareDialog(AppContext& ctx, const QString& document, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_ui(new Ui::CompareDialog),
      m_comparison(std::make_unique<Comparison>(ctx, document)) {
    m_ui->setupUi(this);
    QTableWidget* table = m_ui->tblCompare;
    table->setColumnCount(ColumnCount);
    table->setHorizontalHeaderLabels(QStringList{S("Route"), S("Page"), S("Progress")} +
                                     measureHeaders());
    table->setIconSize(QSize(kThumbnailHeight * 2 / 3, kThumbnailHeight));
    connect(table, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { openRow(row); });
    connect(m_ui->cmdCompareStop, &QPushButton::clicked, this, [this] {
        if (ChildPrograms* runs = m_comparison->currentRuns())
            runs->stop();
    });
    connect(m_ui->cmdCompareClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->cmdUseRecommended, &QPushButton::clicked, this, [this] { useRecommended(); });
    connect(m_ui->cmdOpenReport, &QPushButton::clicked, this, [this] {
        QString report = m_comparison->folder() + S("/compare.html");
        RunIE(m_ctx, report);
    });
}

CompareDialog::~CompareDialog() = default;

bool CompareDialog::start() {
    QString error;
    if (!m_comparison->prepare(&error)) {
        m_ctx.seams.prompter->tell(error, S("Compare Routes"), Icon::Exclamation);
        return false;
    }
    QTableWidget* table = m_ui->tblCompare;
    const QList<ComparedRoute>& routes = m_comparison->routes();
    table->setRowCount(int(routes.size()));
    for (int row = 0; row < routes.size(); ++row) {
        setCell(row, RouteColumn, routes[row].caption);
        setCell(row, ProgressColumn, S("waiting"));
    }
    table->resizeColumnsToContents();
    m_ui->lblCompareStatus->setText(S("Converting %1 with %2 routes into %3 ...")
                                        .arg(QFileInfo(m_comparison->document()).fileName())
                                        .arg(routes.size())
                                        .arg(QDir::toNativeSeparators(m_comparison->folder())));
    ChildPrograms& runs = m_comparison->runs(availableProcessors());
    runs.onStart([this](int child) { showProgress(child, S("running")); });
    runs.onEnd([this, &runs](int child, int status, double seconds) {
        showProgress(child, status < 0 ? S("stopped")
                                       : S("status %1, %2 s").arg(status).arg(seconds, 0, 'f', 1));
        if (runs.finished())
            showResults();
    });
    runs.start();
    return true;
}

void CompareDialog::setCell(int row, int column, const QString& text) {
    auto* item = new QTableWidgetItem(text);
    if (column != RouteColumn && column != PageColumn && column != ProgressColumn)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_ui->tblCompare->setItem(row, column, item);
}

void CompareDialog::showProgress(int child, const QString& text) {
    const int row = m_comparison->routeOfChild(child);
    if (row < 0) {
        m_ui->lblCompareStatus->setText(
            m_ui->lblCompareStatus->text().section(QLatin1Char('\n'), 0, 0) +
            S("\nThe PDF for the text to compare with: ") + text);
        return;
    }
    setCell(row, ProgressColumn, text);
    m_ui->tblCompare->resizeColumnToContents(ProgressColumn);
}

void CompareDialog::showResults() {
    m_ui->lblCompareStatus->setText(S("Measuring the pages and drawing their first screens ..."));
    m_comparison->finish();
    QTableWidget* table = m_ui->tblCompare;
    const QList<ComparedRoute>& routes = m_comparison->routes();
    const int best = m_comparison->recommended();
    for (int row = 0; row < routes.size(); ++row) {
        const ComparedRoute& r = routes[row];
        auto* page = new QTableWidgetItem(r.produced() ? S("open") : S("failed"));
        if (!r.thumbnail.isEmpty())
            page->setIcon(QIcon(QPixmap(r.thumbnail)));
        table->setItem(row, PageColumn, page);
        const QStringList cells = measureCells(r);
        for (int c = 0; c < cells.size(); ++c)
            setCell(row, ErrorsColumn + c, r.produced() ? cells[c] : QString());
        table->setRowHeight(row, r.thumbnail.isEmpty() ? table->rowHeight(row) : kThumbnailHeight);
        if (row == best)
            table->item(row, RouteColumn)->setText(r.caption + S(" (recommended)"));
    }
    table->resizeColumnsToContents();
    fitTable();
    if (best >= 0) {
        m_ui->lblCompareStatus->setText(
            S("Recommended: %1. Text held is measured against %2. Double-click a route to "
              "open its page.")
                .arg(routes[best].caption, m_comparison->referenceName()));
        table->selectRow(best);
    } else {
        m_ui->lblCompareStatus->setText(S("No route produced a page."));
    }
    m_ui->cmdUseRecommended->setEnabled(best >= 0);
    m_ui->cmdOpenReport->setEnabled(true);
    m_ui->cmdCompareStop->setEnabled(false);
    m_ui->cmdCompareClose->setEnabled(true);
}

// Wide enough for every column, as far as the screen allows.
void CompareDialog::fitTable() {
    QTableWidget* table = m_ui->tblCompare;
    const int wanted = table->verticalHeader()->width() + table->horizontalHeader()->length() +
                       table->verticalScrollBar()->sizeHint().width() + 2 * table->frameWidth() +
                       layout()->contentsMargins().left() + layout()->contentsMargins().right();
    const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect();
    const int width = screen.isValid() ? std::min(wanted, screen.width() - 40) : wanted;
    if (width > this->width())
        resize(width, height());
    if (screen.isValid() && !screen.contains(frameGeometry()))
        move(screen.center() - rect().center());
}

void CompareDialog::openRow(int row) {
    const QList<ComparedRoute>& routes = m_comparison->routes();
    if (row < 0 || row >= routes.size() || !routes[row].produced())
        return;
    QString page = routes[row].result;
    RunIE(m_ctx, page);
}

void CompareDialog::useRecommended() {
    const int best = m_comparison->recommended();
    if (best < 0)
        return;
    useComparedRoute(m_ctx, m_comparison->routes()[best]);
    accept();
}

void CompareDialog::reject() {
    // Closing while routes run stops them first.
    if (ChildPrograms* runs = m_comparison->currentRuns(); runs && !runs->finished())
        runs->stop();
    QDialog::reject();
}

} // namespace morvane
