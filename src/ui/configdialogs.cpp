#include "ui/configdialogs.h"

#include "app/inicommands.h"
#include "pipeline/appcontext.h"
#include "platform/prompter.h"
#include "settings/iniencoding.h"

#include "settings/controlnames.h"
#include "ui_loadconfigdialog.h"
#include "ui_saveconfigdialog.h"

#include <QKeyEvent>
#include <QTimer>

namespace morvane {

namespace {

QString S(const char* text) {
    return QString::fromLatin1(text);
}

int selectedOutput(const AppContext& ctx) {
    return ctx.model->index(ctl::optOutput);
}

const QString kMark = QStringLiteral(" *");

} // namespace

SaveConfigDialog::SaveConfigDialog(AppContext& ctx, const QString& suggestion, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::SaveConfigDialog>()),
      m_deleteMode(suggestion.isEmpty()) {
    m_ui->setupUi(this);
    const int output = selectedOutput(ctx);
    const QString type = outputTypeCaption(output);
    m_ui->chkDefault->setChecked(false);
    if (m_deleteMode) {
        setWindowTitle(S("Delete ") + type + S(" Configuration"));
        m_ui->txtName->hide();
        m_ui->cmbDelete->show();
        m_ui->chkDefault->hide();
        m_ui->lblStartup->show();
        m_ui->lblPrompt->setText(
            S("Configuration is empty so choose the configuration you wish to delete"));
        for (const ConfigEntry& entry :
             configEntries(iniPath(ctx), outputTypeWord(output), ctx.settings.vars.defaultConfig))
            m_ui->cmbDelete->addItem(shownName(entry));
    } else {
        setWindowTitle(S("Save ") + type + S(" Configuration"));
        m_ui->txtName->setText(suggestion);
    }
    connect(m_ui->cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

SaveConfigDialog::~SaveConfigDialog() = default;

void SaveConfigDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_deleteMode) {
        QTimer::singleShot(0, m_ui->cmbDelete, &QComboBox::showPopup);
    } else {
        m_ui->txtName->setFocus();
        m_ui->txtName->selectAll();
    }
}

void SaveConfigDialog::cmdOK_Click() {
    if (m_deleteMode) {
        const QString text = m_ui->cmbDelete->currentText();
        m_choice.makeStartup = text.endsWith(kMark);
        m_choice.name = m_choice.makeStartup ? text.chopped(kMark.size()) : text;
    } else {
        m_choice.name = m_ui->txtName->text();
        m_choice.makeStartup = m_ui->chkDefault->isChecked();
    }
    accept();
}

ConfigNameChoice inputConfigNameDialog(AppContext& ctx, const QString& suggestion,
                                       QWidget* parent) {
    SaveConfigDialog dialog(ctx, suggestion, parent);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.choice();
}

LoadConfigDialog::LoadConfigDialog(AppContext& ctx, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_ui(std::make_unique<Ui::LoadConfigDialog>()) {
    m_ui->setupUi(this);
    const int output = selectedOutput(ctx);
    setWindowTitle(outputTypeCaption(output) + S(" Configurations"));
    m_entries =
        configEntries(iniPath(ctx), outputTypeWord(output), ctx.settings.vars.defaultConfig);
    for (const ConfigEntry& entry : std::as_const(m_entries))
        m_ui->lstConfigs->addItem(shownName(entry));

    connect(m_ui->lstConfigs, &QListWidget::currentRowChanged, this,
            [this](int row) { showEntry(row); });
    if (m_entries.isEmpty())
        m_ui->lblDelete->hide();
    else
        m_ui->lstConfigs->setCurrentRow(0);
    m_ui->lstConfigs->installEventFilter(this);
    connect(m_ui->cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

LoadConfigDialog::~LoadConfigDialog() = default;

void LoadConfigDialog::showEntry(int row) {
    m_ui->lstStyles->clear();
    m_ui->txtExclude->clear();
    if (row < 0 || row >= m_entries.size())
        return;
    if (const auto config = parseConfigValue(m_entries[row].value)) {
        m_ui->lstStyles->addItems(config->styles);
        m_ui->txtExclude->setText(config->excluded);
    }
}

bool LoadConfigDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_ui->lstConfigs && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool keypad = key->modifiers().testFlag(Qt::KeypadModifier);
        if (key->key() == Qt::Key_Delete || (keypad && key->key() == Qt::Key_Period)) {
            deleteSelected();
            return true;
        }
        if (key->key() == Qt::Key_Asterisk) {
            markSelected();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void LoadConfigDialog::deleteSelected() {
    const int row = m_ui->lstConfigs->currentRow();
    if (row < 0 || row >= m_entries.size())
        return;
    const ConfigEntry entry = m_entries[row];
    QString question = S("Are you sure you want to delete ") + entry.name + S("?");
    if (entry.startup)
        question += QLatin1Char('\n') + S("This is a Start-up configuration");
    if (m_ctx.seams.prompter->ask(question, S("Confirm Delete Configuration"), Buttons::YesNo,
                                  Icon::Question) != Answer::Yes)
        return;
    deleteConfiguration(m_ctx, entry.name, entry.startup);
    m_entries.removeAt(row);
    delete m_ui->lstConfigs->takeItem(row);
    m_ui->txtExclude->clear();
    if (m_entries.isEmpty()) {
        // Nothing selected: OK then applies no deleted configuration's styles.
        m_ui->lstConfigs->setCurrentRow(-1);
        m_ui->lstStyles->clear();
    } else {
        m_ui->lstConfigs->setCurrentRow(0);
        showEntry(0);
    }
}

void LoadConfigDialog::markSelected() {
    const int row = m_ui->lstConfigs->currentRow();
    if (row < 0 || row >= m_entries.size() || m_entries[row].startup)
        return;
    for (int i = 0; i < m_entries.size(); ++i) {
        m_entries[i].startup = i == row;
        m_ui->lstConfigs->item(i)->setText(shownName(m_entries[i]));
    }
    makeStartupConfiguration(m_ctx, m_entries[row].name);
}

void LoadConfigDialog::cmdOK_Click() {
    QStringList styles;
    for (int i = 0; i < m_ui->lstStyles->count(); ++i)
        styles.append(m_ui->lstStyles->item(i)->text());
    applyConfiguration(m_ctx, styles, m_ui->txtExclude->text());
    accept();
}

void saveConfigurationWithDialog(AppContext& ctx, QWidget* parent) {
    cmdSaveConfig_Click(ctx, [&ctx, parent](const QString& suggestion) {
        return inputConfigNameDialog(ctx, suggestion, parent);
    });
}

void loadConfigurationWithDialog(AppContext& ctx, QWidget* parent) {
    if (!canLoadConfig(ctx))
        return;
    LoadConfigDialog dialog(ctx, parent);
    dialog.exec();
}

} // namespace morvane
