#include "ui/morepreferencesdialog.h"

#include "pipeline/appcontext.h"
#include "pipeline/convertcommand.h"
#include "platform/prompter.h"
#include "settings/editorcheck.h"
#include "settings/iniencoding.h"
#include "settings/limitsettings.h"

#include "ui_morepreferencesdialog.h"

#include <QEvent>
#include <QFileDialog>
#include <QScreen>
#include <QTimer>

namespace morvane {

namespace {

QString S(const char* text) {
    return QString::fromLatin1(text);
}

// Where the Browse buttons open; it follows the last chosen editor.
QString& browseFolder() {
    static QString folder;
    return folder;
}

} // namespace

MorePreferencesDialog::MorePreferencesDialog(AppContext& ctx, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_ui(std::make_unique<Ui::MorePreferencesDialog>()),
      m_openingFraction(ctx.settings.vars.scrollFraction) {
    m_ui->setupUi(this);
    // Left to itself the dialog would be made at most two thirds of the
    // screen high, which cuts the editors' note on a 1024-line screen.
    resize(sizeHint().boundedTo(screen()->availableGeometry().size()));
    chooseFile = [this](const QString& title, const QString& folder) {
        return QFileDialog::getOpenFileName(this, title, folder, S("All files (*)"));
    };

    const SettingsVariables& vars = ctx.settings.vars;
    m_ui->txtEditor->setText(vars.editor);
    m_ui->txtEditor->selectAll();
    m_ui->txtTexEditor->setText(vars.texEditor);
    const int percent = scrollPercentValue(vars.scrollFraction);
    m_ui->txtAmount->setText(QString::number(percent));
    m_ui->VScroll->setValue(percent);
    m_ui->chkRes->setChecked(vars.lowRes);
    m_ui->chkLongName->setChecked(vars.longFileName);
    m_ui->chkNontex->setChecked(vars.allowNonTeXFiles);
    m_ui->chkusepackage->setChecked(vars.checkForUsePackage);
    m_openingMinutes = (timeLimitSeconds(vars) + 59) / 60;
    m_ui->spnTimeLimit->setValue(m_openingMinutes);
    m_ui->spnMemoryLimit->setValue(memoryLimitMB(vars));
    m_openingMemoryMB = m_ui->spnMemoryLimit->value();

    connect(m_ui->txtAmount, &QLineEdit::textChanged, this,
            [this](const QString& text) { txtAmount_Change(text); });
    connect(m_ui->VScroll, &QScrollBar::valueChanged, this,
            [this](int value) { VScroll_Change(value); });
    connect(m_ui->cmdBrowse, &QPushButton::clicked, this, [this] { browse(false); });
    connect(m_ui->cmdBrowseTex, &QPushButton::clicked, this, [this] { browse(true); });
    connect(m_ui->cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, [this] { reject(); });
    m_ui->txtAmount->installEventFilter(this);
    m_loaded = true;
}

MorePreferencesDialog::~MorePreferencesDialog() = default;

void MorePreferencesDialog::txtAmount_Change(const QString& text) {
    const double fraction = scrollFractionValue(text);
    m_settingSpinner = true;
    m_ui->VScroll->setValue(scrollPercentValue(fraction));
    m_settingSpinner = false;
    // The Alt+arrow step follows at once (it is computed from the fraction).
    m_ctx.settings.vars.scrollFraction = fraction;
}

void MorePreferencesDialog::VScroll_Change(int value) {
    if (m_settingSpinner)
        return;
    m_ui->txtAmount->setText(QString::number(value));
    if (m_loaded)
        m_ui->txtAmount->setFocus();
    m_ui->txtAmount->selectAll();
}

bool MorePreferencesDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_ui->txtAmount && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, m_ui->txtAmount, &QLineEdit::selectAll);
    return QDialog::eventFilter(watched, event);
}

void MorePreferencesDialog::browse(bool texEditor) {
    const QString file = chooseFile(
        texEditor ? S("Choose a TeX editor") : S("Choose a text editor"), browseFolder());
    if (file.isEmpty())
        return;
    browseFolder() = PathOnly(file);
    (texEditor ? m_ui->txtTexEditor : m_ui->txtEditor)->setText(file);
}

void MorePreferencesDialog::cmdOK_Click() {
    SettingsVariables& vars = m_ctx.settings.vars;
    struct Editor {
        QLineEdit* box;
        QString& setting;
        const char* title;
    };
    for (const Editor& editor : {Editor{m_ui->txtEditor, vars.editor, "Text Editor"},
                                 Editor{m_ui->txtTexEditor, vars.texEditor, "TeX Editor"}}) {
        const QString entry = editor.box->text();
        if (entry == editor.setting)
            continue;
        const QString problem = editorProblem(entry);
        if (!problem.isEmpty()) {
            m_ctx.seams.prompter->tell(problem, S(editor.title), Icon::Critical);
            return;
        }
    }
    vars.editor = m_ui->txtEditor->text();
    vars.texEditor = m_ui->txtTexEditor->text();
    vars.lowRes = m_ui->chkRes->isChecked();
    vars.longFileName = m_ui->chkLongName->isChecked();
    vars.allowNonTeXFiles = m_ui->chkNontex->isChecked();
    vars.checkForUsePackage = m_ui->chkusepackage->isChecked();
    // A limit is stored only once the user changes it: until then the
    // default applies and Morvane.ini gets no key for it.
    if (m_ui->spnTimeLimit->value() != m_openingMinutes)
        vars.timeLimitSeconds = m_ui->spnTimeLimit->value() * 60;
    if (m_ui->spnMemoryLimit->value() != m_openingMemoryMB)
        vars.memoryLimitMB = m_ui->spnMemoryLimit->value();
    accept();
}

void MorePreferencesDialog::reject() {
    m_ctx.settings.vars.scrollFraction = m_openingFraction;
    QDialog::reject();
}

} // namespace morvane
