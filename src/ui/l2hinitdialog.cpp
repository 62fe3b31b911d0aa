#include "ui/l2hinitdialog.h"

#include "drivers/l2hinit.h"
#include "drivers/l2husersettings.h"
#include "drivers/latex2html.h"
#include "pipeline/appcontext.h"
#include "platform/pathutils.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "settings/optionsmodel.h"
#include "ui_l2hinitdialog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace morvane {

namespace {

QString S(const char* text) {
    return QString::fromLatin1(text);
}

QString tagOf(bool on) {
    return on ? S("1") : S("0");
}

// The path as it exists on disk, or as it will be once written.
QString shownPath(const QString& path) {
    const QString onDisk = longPathOf(path);
    return QDir::toNativeSeparators(onDisk.isEmpty() ? path : onDisk);
}

} // namespace

L2hInitDialog::L2hInitDialog(AppContext& ctx, const QByteArray& userPart, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_ui(std::make_unique<Ui::L2hInitDialog>()),
      m_initPath(l2hInitPath(ctx)), m_settingsLog(ctx.programDir + S("/Settings.txt")),
      m_userOnDisk(userPart), m_userShown(QString::fromUtf8(userPart)) {
    Ui::L2hInitDialog& ui = *m_ui;
    ui.setupUi(this);
    const OptionsModel& model = *ctx.model;
    ui.txtAuto->setPlainText(automaticL2hSettings(L2hInitOptions::from(model),
                                                  l2hOutputDirectory(ctx, ctx.convertFile())));
    ui.txtUser->setPlainText(m_userShown);
    // The box shows line ends as it keeps them; compare against what it shows.
    m_userShown = ui.txtUser->toPlainText();
    ui.chkSyntax->setChecked(model.tag(ctl::cmdInit) == S("1"));
    ui.chkPause->setChecked(model.tag(ctl::Label25) == S("1"));
    ui.cmdOpen->setEnabled(QFileInfo::exists(m_settingsLog));
    ui.Label4->setText(S("Press OK to save these settings in \n") + shownPath(m_initPath));

    connect(ui.cmdOK, &QPushButton::clicked, this, &L2hInitDialog::accept);
    connect(ui.cmdCancel, &QPushButton::clicked, this, &L2hInitDialog::reject);
    connect(ui.cmdSave, &QPushButton::clicked, this, &L2hInitDialog::saveExperiment);
    connect(ui.cmdOpen, &QPushButton::clicked, this, &L2hInitDialog::openSavedSettings);
    ui.txtUser->setFocus();
}

L2hInitDialog::~L2hInitDialog() = default;

// An untouched user part goes back byte for byte, whatever its line ends or
// encoding; an edited one as the box's text.
QByteArray L2hInitDialog::userPartToWrite() const {
    const QString text = m_ui->txtUser->toPlainText();
    return text == m_userShown ? m_userOnDisk : text.toUtf8();
}

void L2hInitDialog::accept() {
    Ui::L2hInitDialog& ui = *m_ui;
    if (ui.chkSyntax->isChecked() &&
        !checkUserSettingsSyntax(*m_ctx.seams.prompter, ui.txtUser->toPlainText()))
        return;
    QString error;
    if (!writeInitFile(m_initPath, ui.txtAuto->toPlainText(), userPartToWrite(), &error)) {
        // The dialog stays open, so the edited settings are not lost.
        m_ctx.seams.prompter->tell(S("Unable to write the LaTeX2HTML init file\n\n") +
                                       QDir::toNativeSeparators(m_initPath) + S("\n\n") + error,
                                   S("LaTeX2HTML Init File"), Icon::Exclamation);
        return;
    }
    m_ctx.model->setTag(ctl::Label25, tagOf(ui.chkPause->isChecked()));
    QDialog::accept();
}

void L2hInitDialog::done(int result) {
    m_ctx.model->setTag(ctl::cmdInit, tagOf(m_ui->chkSyntax->isChecked()));
    QDialog::done(result);
}

void L2hInitDialog::saveExperiment() {
    QString error;
    if (!appendSavedSettings(m_settingsLog, m_ui->txtUser->toPlainText(),
                             QDateTime::currentDateTime(), &error)) {
        m_ctx.seams.prompter->tell(S("Unable to save the settings in\n\n") +
                                       QDir::toNativeSeparators(m_settingsLog) + S("\n\n") + error,
                                   S("Save Settings"), Icon::Exclamation);
        return;
    }
    m_ui->cmdOpen->setEnabled(true);
}

void L2hInitDialog::openSavedSettings() {
    Shell& shell = *m_ctx.seams.shell;
    const QString notepad = shell.notepad();
    if (!notepad.isEmpty() && shell.startDetached(notepad, {m_settingsLog}))
        return;
    m_ctx.seams.prompter->tell(S("No text editor was found to open ") +
                                   QDir::toNativeSeparators(m_settingsLog) + QLatin1Char('.'),
                               S("Settings.txt"), Icon::Exclamation);
}

void showL2hInitDialog(AppContext& ctx, QWidget* parent) {
    const QString path = l2hInitPath(ctx);
    const std::optional<QByteArray> user = readUserSettings(path);
    if (!user) {
        // Opening with an empty user part would let OK overwrite it.
        ctx.seams.prompter->tell(S("Can't read the LaTeX2HTML init file\n\n") +
                                     QDir::toNativeSeparators(path),
                                 S("LaTeX2HTML Init File"), Icon::Exclamation);
        return;
    }
    L2hInitDialog dialog(ctx, *user, parent);
    dialog.exec();
}

} // namespace morvane
