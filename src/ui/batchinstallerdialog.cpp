#include "ui/batchinstallerdialog.h"

#include "pipeline/appcontext.h"
#include "pipeline/convertcommand.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "platform/windowsversion.h"

#include "settings/controlnames.h"
#include "ui_batchinstallerdialog.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QMouseEvent>
#include <QStandardPaths>

namespace morvane {

namespace {

QString S(const char* text) {
    return QString::fromLatin1(text);
}

int checkedIndex(std::initializer_list<const QRadioButton*> buttons) {
    int index = 0;
    for (const QRadioButton* button : buttons) {
        if (button->isChecked())
            return index;
        ++index;
    }
    return -1;
}

void check(std::initializer_list<QRadioButton*> buttons, int index) {
    if (index >= 0 && index < int(buttons.size()))
        (*(buttons.begin() + index))->setChecked(true);
}

} // namespace

BatchInstallerDialog::BatchInstallerDialog(AppContext& ctx, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_ui(std::make_unique<Ui::BatchInstallerDialog>()) {
    m_ui->setupUi(this);
    chooseFile = [this](const QString& title) {
        return QFileDialog::getOpenFileName(this, title, QString(), S("All Files (*)"));
    };

    m_ui->lblInstructions->setText(
        S("Ensure pdfmakegstc.bat has been copied to the Morvane directory.\n"
          "Check all the details below and, if necessary, change them. Press OK to install "
          "pdfmakegstc.bat.\n"
          "A backup copy of ps2pdfxx.bat will be put in Morvane's directory.\n"
          "More details can be found in the link below"));
    m_ui->lblPrinter->setText(S("Selected Postscript Printer\n(must print to FILE:)"));
    m_ui->lblSWP->setText(
        S("&SWP TrueTeX directory with initex32.exe\nChange this default if necessary"));
    m_ui->txtSWP->setText(S("c:\\swp35\\tcitex\\truetex"));
    m_ui->txtGS->setText(ctx.settings.vars.gsLib);

    const std::optional<WindowsVersion> windows = queryWindowsVersion();
    if (isWindowsNT(windows) || isWindows2000(windows) || isWindowsXP(windows))
        m_ui->optVersion_1->setChecked(true);
    else if (isWindows95(windows) || isWindows98(windows) || isWindowsMe(windows))
        m_ui->optVersion_0->setChecked(true);

    auto* refresh = new QAction(S("Refresh"), m_ui->lstPrinters);
    m_ui->lstPrinters->addAction(refresh);
    connect(refresh, &QAction::triggered, this, [this] { refreshPrinters(); });
    connect(m_ui->lstPrinters, &QListWidget::currentRowChanged, this,
            [this](int row) { showPort(row); });
    refreshPrinters();
    loadSettings();

    connect(m_ui->cmdBrowse_0, &QPushButton::clicked, this, [this] { browse(0); });
    connect(m_ui->cmdBrowse_1, &QPushButton::clicked, this, [this] { browse(1); });
    connect(m_ui->cmdAddPrinter, &QPushButton::clicked, this, [this] { addPrinter(); });
    connect(m_ui->cmdEdit_0, &QPushButton::clicked, this, [this] { edit(0); });
    connect(m_ui->cmdEdit_1, &QPushButton::clicked, this, [this] { edit(1); });
    connect(m_ui->cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    // The link opens the address the main window keeps for it.
    m_ui->Label34->setCursor(Qt::PointingHandCursor);
    m_ui->Label34->setStyleSheet(S("color: blue; text-decoration: underline;"));
    m_ui->Label34->installEventFilter(this);
}

BatchInstallerDialog::~BatchInstallerDialog() = default;

void BatchInstallerDialog::refreshPrinters() {
    m_ui->lstPrinters->clear();
    m_ui->lstPort->clear();
    if (!m_ctx.seams.printers)
        return;
    for (const Printer& printer : m_ctx.seams.printers->printers()) {
        m_ui->lstPrinters->addItem(printer.name);
        m_ui->lstPort->addItem(printer.port);
    }
    m_ui->lblPort->clear();
}

void BatchInstallerDialog::loadSettings() {
    const PdfSettings settings = readPdfSettings(m_ctx.programDir + S("/Morvane.ini"));
    check({m_ui->optFormat_0, m_ui->optFormat_1}, settings.format);
    check({m_ui->optAcrobat_0, m_ui->optAcrobat_1, m_ui->optAcrobat_2}, settings.acrobat);
    if (settings.hasSwp && !settings.swp.isEmpty())
        m_ui->txtSWP->setText(settings.swp);
    const auto found = m_ui->lstPrinters->findItems(settings.printer, Qt::MatchExactly);
    if (!settings.printer.isEmpty() && !found.isEmpty())
        m_ui->lstPrinters->setCurrentItem(found.first());
}

void BatchInstallerDialog::showPort(int row) {
    const QListWidgetItem* port = m_ui->lstPort->item(row);
    m_ui->lblPort->setText(port ? S("Print to ") + port->text() : QString());
}

InstallerForm BatchInstallerDialog::form() const {
    InstallerForm form;
    form.gsLib = m_ui->txtGS->text();
    form.swpDir = m_ui->txtSWP->text();
    form.version = checkedIndex({m_ui->optVersion_0, m_ui->optVersion_1});
    form.format = checkedIndex({m_ui->optFormat_0, m_ui->optFormat_1});
    form.acrobat = checkedIndex({m_ui->optAcrobat_0, m_ui->optAcrobat_1, m_ui->optAcrobat_2});
    const int row = m_ui->lstPrinters->currentRow();
    const QListWidgetItem* selected = m_ui->lstPrinters->currentItem();
    if (selected && selected->isSelected() && m_ui->lstPort->item(row))
        form.printer = Printer{selected->text(), m_ui->lstPort->item(row)->text()};
    return form;
}

void BatchInstallerDialog::browse(int index) {
    const QString file =
        chooseFile(index == 0 ? S("Look for Ghostcript's lib directory")
                              : S("Look for SWP's TrueTeX directory containing initex32.exe"));
    if (file.isEmpty())
        return;
    (index == 0 ? m_ui->txtGS : m_ui->txtSWP)->setText(PathOnly(file));
}

void BatchInstallerDialog::addPrinter() {
    Shell* shell = m_ctx.seams.shell;
    if (!shell)
        return;
    const QString wizard = QStandardPaths::findExecutable(S("system-config-printer"));
    if (!wizard.isEmpty() && shell->startDetached(wizard, {}))
        return;
    shell->open(S("http://localhost:631/admin"));
}

void BatchInstallerDialog::edit(int index) {
    const QString path = index == 0 ? m_ctx.programDir + S("/pdfmakegstc.bat")
                                    : fileInAnyCase(m_ui->txtGS->text(), S("ps2pdfxx.bat"));
    const QString shown = path.isEmpty() ? m_ui->txtGS->text() + S("/ps2pdfxx.bat") : path;
    Prompter& prompter = *m_ctx.seams.prompter;
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        prompter.tell(S("Unable to find ") + shown, S("File Not Found"), Icon::Exclamation);
        return;
    }
    // Opened as text, never run.
    const QString notepad = m_ctx.seams.shell ? m_ctx.seams.shell->notepad() : QString();
    if (notepad.isEmpty() || !m_ctx.seams.shell->startDetached(notepad, {path}))
        prompter.tell(S("No text editor was found to open ") + path + QLatin1Char('.'),
                      S("Batch File Installer"), Icon::Exclamation);
}

void BatchInstallerDialog::cmdOK_Click() {
    const InstallerForm current = form();
    if (const std::optional<Complaint> complaint = installerComplaint(current, m_ctx.programDir)) {
        m_ctx.seams.prompter->tell(complaint->text, complaint->title, Icon::Exclamation);
        return;
    }
    if (installBatchFiles(m_ctx, current))
        accept();
}

bool BatchInstallerDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_ui->Label34 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        const QString address = m_ctx.model->tag(ctl::Label34);
        if (!address.isEmpty() && m_ctx.seams.shell)
            m_ctx.seams.shell->open(address);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void cmdBat_Click(AppContext& ctx, QWidget* parent) {
    BatchInstallerDialog dialog(ctx, parent);
    dialog.exec();
}

} // namespace morvane
