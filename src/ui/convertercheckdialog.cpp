#include "ui/convertercheckdialog.h"

#include "app/convertercheck.h"

#include "ui_convertercheckdialog.h"

#include <QApplication>
#include <QPushButton>

namespace morvane {

ConverterCheckDialog::ConverterCheckDialog(QWidget* parent)
    : QDialog(parent), m_ui(new Ui::ConverterCheckDialog) {
    m_ui->setupUi(this);
    m_ui->tblChecks->horizontalHeader()->setStretchLastSection(true);
}

ConverterCheckDialog::~ConverterCheckDialog() = default;

void ConverterCheckDialog::runCheck() {
    QTableWidget* table = m_ui->tblChecks;
    table->setRowCount(0);
    m_ui->lblCheckStatus->setText(QStringLiteral("Checking the converters ..."));
    m_ui->cmdCheckClose->setEnabled(false);
    QApplication::processEvents();
    int working = 0;
    const QList<RouteCheck> checks = checkConverters([&](const RouteCheck& check) {
        const int row = table->rowCount();
        table->insertRow(row);
        const QString time =
            check.milliseconds < 0
                ? QString()
                : QString::number(check.milliseconds / 1000.0, 'f', 1) + QStringLiteral(" s");
        const QStringList cells = {check.caption, statusText(check.status), time,
                                   check.programs.join(QStringLiteral(", ")), check.detail};
        for (int column = 0; column < cells.size(); ++column)
            table->setItem(row, column, new QTableWidgetItem(cells[column]));
        working += check.status == RouteCheck::Status::Works;
        table->resizeColumnsToContents();
        QApplication::processEvents();
    });
    m_ui->lblCheckStatus->setText(
        QStringLiteral("%1 of %2 routes work.").arg(working).arg(checks.size()));
    m_ui->cmdCheckClose->setEnabled(true);
}

} // namespace morvane
