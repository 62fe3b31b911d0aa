#include "ui/changelinkdialog.h"

#include "pipeline/appcontext.h"
#include "ui_changelinkdialog.h"

namespace morvane {

ChangeLinkDialog::ChangeLinkDialog(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::ChangeLinkDialog>()) {
    m_ui->setupUi(this);
    connect(m_ui->cmdYes, &QPushButton::clicked, this, [this] { choose(true); });
    connect(m_ui->cmdNo, &QPushButton::clicked, this, [this] { choose(false); });
}

ChangeLinkDialog::~ChangeLinkDialog() = default;

void ChangeLinkDialog::setMessage(const QString& text) {
    m_ui->lblMessage->setText(text);
}

void ChangeLinkDialog::choose(bool yes) {
    const bool all = m_ui->chkAll->isChecked();
    m_answer = yes ? (all ? 3 : 1) : (all ? 4 : 2);
    accept();
}

int DialogLinkQuestion::ask(const QString& text) {
    ChangeLinkDialog dialog(m_parent);
    dialog.setMessage(text);
    dialog.exec();
    return dialog.answer();
}

} // namespace morvane
