#include "ui/tex4htadvanceddialog.h"

#include "pipeline/appcontext.h"
#include "platform/prompter.h"
#include "settings/controlnames.h"
#include "tex4ht/tex4htcommand.h"
#include "ui/configfiledialog.h"
#include "ui_tex4htadvanceddialog.h"

#include <QFileDialog>
#include <QFileInfo>

namespace morvane {

namespace {

QString S(const char* text) {
    return QString::fromLatin1(text);
}

// The option buttons of the two picture frames by format, None first.
constexpr int kGlyphButtons[] = {7, 3, 4, 5};
constexpr int kImageButtons[] = {6, 0, 1, 2};

} // namespace

Tex4htAdvancedDialog::Tex4htAdvancedDialog(AppContext& ctx, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_ui(std::make_unique<Ui::Tex4htAdvancedDialog>()) {
    m_ui->setupUi(this);
    m_ui->optFormat_0->setText(S("Version &4.0\nUses Style Sheets"));
    m_ui->optFormat_1->setText(S("Version &3.2\nNo Style Sheets"));
    m_ui->optFormat_2->setText(S("Te&xt-based output\nNo hypertext tags"));
    m_ui->cmbSections->addItems(
        {S("None"), S("1"), S("2"), S("3"), S("4"), S("5"), S("6"), S("7")});
    m_ui->Label3->setText(initialAdvancedHelpText());
    m_ui->lblSWPFile->setVisible(ctx.model->isChecked(ctl::chkSWP));
    m_ui->lblHtrun->setVisible(!htrunAvailable());
    m_ui->chkSave->setChecked(ctx.settings.vars.advancedSave);
    m_htrunAtOpen = ctx.model->checkValue(ctl::chkHtrun);

    chooseBatchFile = [this] {
        return QFileDialog::getOpenFileName(this, S("Choose a batch file to run"), QString(),
                                            S("Scripts (*.sh);;All files (*)"));
    };

    Tex4htOptions defaults;
    if (ctx.model->isChecked(ctl::chkImages))
        defaults.imagesFolder = ctx.model->text(ctl::txtImages);
    Tex4htOptions start = optionsFromStored(currentStoredOptions(*ctx.model), defaults);
    start.imagesFolder = defaults.imagesFolder;
    setOptions(start);
    connectControls();
    m_loading = false;
    recompose();
}

Tex4htAdvancedDialog::~Tex4htAdvancedDialog() = default;

bool Tex4htAdvancedDialog::htrunAvailable() const {
    const QString dir = m_ctx.model->isChecked(ctl::chkSWP) ? m_ctx.settings.vars.htrunS
                                                            : m_ctx.settings.vars.htrunM;
    return !dir.isEmpty() &&
           (QFileInfo::exists(dir + S("/htrun")) || QFileInfo::exists(dir + S("/htrun.exe")));
}

void Tex4htAdvancedDialog::setOptions(const Tex4htOptions& o) {
    Ui::Tex4htAdvancedDialog& ui = *m_ui;
    ui.chkConfig->setChecked(o.useConfig);
    ui.txtConfig->setText(o.configName);
    QRadioButton* formats[] = {ui.optFormat_0, ui.optFormat_1, ui.optFormat_2,
                               ui.optFormat_3, ui.optFormat_4, ui.optFormat_5};
    formats[int(o.format)]->setChecked(true);
    ui.cmdConfig->setText(configButtonCaption(o.format));
    ui.chkHtrun2->setChecked(o.htrun);
    ui.chkUsepackage->setChecked(o.usePackage);
    ui.ChkOther->setChecked(o.otherBatch);
    ui.txtBatch->setText(o.batchName);
    ui.chkSwitches->setChecked(o.altSwitch);
    ui.txtSwitches->setText(o.switchText);
    QRadioButton* fonts[] = {ui.optFont_0, ui.optFont_1, ui.optFont_2};
    fonts[int(o.font)]->setChecked(true);
    findChild<QRadioButton*>(S("optImageType_%1").arg(kGlyphButtons[int(o.glyphs)]))
        ->setChecked(true);
    findChild<QRadioButton*>(S("optImageType_%1").arg(kImageButtons[int(o.images)]))
        ->setChecked(true);
    ui.chkPics->setChecked(o.noPictures);
    ui.chkInfo->setChecked(o.info);
    ui.chkhtm->setChecked(o.htm);
    ui.cmbSections->setCurrentIndex(qBound(0, o.sectionDepth, ui.cmbSections->count() - 1));
    ui.chkSections->setChecked(o.tocLinks);
    ui.chkNext->setChecked(o.nextLinks);
    ui.chkUseFrames->setChecked(o.frames);
    ui.chkMathPlayer->setChecked(o.mathPlayer);
    ui.chkXht->setChecked(o.xht);
    ui.chkFootnote->setChecked(o.footnote);
    ui.chkOverlib->setChecked(o.mouseover);
    for (int i = 0; i < 6; ++i)
        findChild<QCheckBox*>(S("chkPic_%1").arg(i))->setChecked(o.picturesFor[i]);
}

Tex4htOptions Tex4htAdvancedDialog::options() const {
    const Ui::Tex4htAdvancedDialog& ui = *m_ui;
    Tex4htOptions o;
    o.useConfig = ui.chkConfig->isChecked();
    o.configName = ui.txtConfig->text();
    const QRadioButton* formats[] = {ui.optFormat_0, ui.optFormat_1, ui.optFormat_2,
                                     ui.optFormat_3, ui.optFormat_4, ui.optFormat_5};
    for (int i = 0; i < 6; ++i)
        if (formats[i]->isChecked())
            o.format = Tex4htFormat(i);
    o.htrun = ui.chkHtrun2->isChecked();
    o.usePackage = ui.chkUsepackage->isChecked();
    o.otherBatch = ui.ChkOther->isChecked();
    o.batchName = ui.txtBatch->text();
    o.altSwitch = ui.chkSwitches->isChecked() && ui.chkSwitches->isEnabled();
    o.switchText = ui.txtSwitches->text();
    if (ui.optFont_1->isChecked())
        o.font = Tex4htFont::Symbol;
    else if (ui.optFont_2->isChecked())
        o.font = Tex4htFont::Unicode;
    for (int f = 0; f < 4; ++f) {
        if (findChild<QRadioButton*>(S("optImageType_%1").arg(kGlyphButtons[f]))->isChecked())
            o.glyphs = PictureFormat(f);
        if (findChild<QRadioButton*>(S("optImageType_%1").arg(kImageButtons[f]))->isChecked())
            o.images = PictureFormat(f);
    }
    o.noPictures = ui.chkPics->isChecked();
    o.info = ui.chkInfo->isChecked();
    o.htm = ui.chkhtm->isChecked();
    o.sectionDepth = ui.cmbSections->currentIndex();
    o.tocLinks = ui.chkSections->isChecked();
    o.nextLinks = ui.chkNext->isChecked();
    o.frames = ui.chkUseFrames->isChecked();
    o.mathPlayer = ui.chkMathPlayer->isChecked();
    o.xht = ui.chkXht->isChecked();
    o.footnote = ui.chkFootnote->isChecked();
    o.mouseover = ui.chkOverlib->isChecked();
    for (int i = 0; i < 6; ++i)
        o.picturesFor[i] = findChild<QCheckBox*>(S("chkPic_%1").arg(i))->isChecked();
    if (m_ctx.model->isChecked(ctl::chkImages))
        o.imagesFolder = m_ctx.model->text(ctl::txtImages);
    return o;
}

void Tex4htAdvancedDialog::connectControls() {
    Ui::Tex4htAdvancedDialog& ui = *m_ui;
    for (QAbstractButton* button : findChildren<QAbstractButton*>())
        if (button != ui.cmdOK && button != ui.cmdCancel && button != ui.cmdBrowse &&
            button != ui.cmdConfig)
            connect(button, &QAbstractButton::toggled, this, [this] { recompose(); });
    for (QLineEdit* edit : {ui.txtBatch, ui.txtSwitches, ui.txtConfig})
        connect(edit, &QLineEdit::textChanged, this, [this] { recompose(); });
    connect(ui.cmbSections, &QComboBox::currentIndexChanged, this, [this] { recompose(); });

    QRadioButton* formats[] = {ui.optFormat_0, ui.optFormat_1, ui.optFormat_2,
                               ui.optFormat_3, ui.optFormat_4, ui.optFormat_5};
    for (int i = 0; i < 6; ++i)
        connect(formats[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                formatChosen(i);
        });
    connect(ui.ChkOther, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            m_ui->chkHtrun2->setChecked(false);
    });
    connect(ui.chkHtrun2, &QCheckBox::toggled, this,
            [this](bool on) { m_ctx.model->setChecked(ctl::chkHtrun, on); });
    connect(ui.chkOverlib, &QCheckBox::toggled, this, [this](bool on) { overlibToggled(on); });
    connect(ui.txtBatch, &QLineEdit::editingFinished, this, [this] { batchNameGiven(); });
    connect(ui.cmdBrowse, &QPushButton::clicked, this, [this] {
        const QString chosen = chooseBatchFile ? chooseBatchFile() : QString();
        if (!chosen.isEmpty())
            m_ui->txtBatch->setText(chosen);
    });
    connect(ui.cmdConfig, &QPushButton::clicked, this, [this] {
        if (const std::optional<QString> suffix =
                showConfigFileDialog(m_ctx, m_ui->cmdConfig->text(), this))
            m_ui->cmdConfig->setProperty("tag", *suffix);
    });
    connect(ui.cmdOK, &QPushButton::clicked, this, &Tex4htAdvancedDialog::accept);
    connect(ui.cmdCancel, &QPushButton::clicked, this, &Tex4htAdvancedDialog::reject);
}

void Tex4htAdvancedDialog::formatChosen(int index) {
    const Tex4htFormat format = Tex4htFormat(index);
    m_ui->cmdConfig->setText(configButtonCaption(format));
    m_ui->txtConfig->setText(configNameForFormat(m_ui->txtConfig->text(), format));
}

void Tex4htAdvancedDialog::overlibToggled(bool on) {
    if (!on || m_loading)
        return;
    m_ctx.seams.prompter->tell(
        S("This option requires that overlib.js is placed in the \noutput directory which will "
          "contain the HTML files.\n\nIf you put overlib.js in the same directory as your  tex "
          "\ndocument then Morvane will copy overlib.js to \nthe output directory for you."),
        S("OnMouseOver"), Icon::None);
}

void Tex4htAdvancedDialog::recompose() {
    if (m_loading)
        return;
    Ui::Tex4htAdvancedDialog& ui = *m_ui;
    const bool sections = ui.cmbSections->currentIndex() != 0;
    ui.chkSections->setEnabled(sections);
    ui.chkNext->setEnabled(sections);
    ui.txtBatch->setEnabled(ui.ChkOther->isChecked());
    ui.cmdBrowse->setEnabled(ui.ChkOther->isChecked());
    ui.chkHtrun2->setEnabled(htrunAvailable() || ui.chkHtrun2->isChecked());
    ui.chkSwitches->setEnabled(ui.chkHtrun2->isChecked());
    ui.txtSwitches->setEnabled(ui.chkSwitches->isChecked() && ui.chkSwitches->isEnabled());
    ui.txtConfig->setEnabled(ui.chkConfig->isChecked());
    ui.cmdConfig->setEnabled(ui.chkConfig->isChecked());
    ui.chkHtrun2->setText(ui.ChkOther->isChecked() ? S("&Use htrun's batch files")
                                                   : S("&Use htrun"));

    const Tex4htComposition composition = composeTex4htOptions(options());
    ui.StatusBar1_Panel1->setText(composition.commandLine());
    const bool usePackage = ui.chkUsepackage->isChecked();
    ui.StatusBar1_Panel2->setText(usePackage ? composition.packageLine()
                                             : S("command line options"));
    ui.StatusBar1_Panel3->setVisible(!usePackage);

    const std::optional<QString> help =
        advancedHelpText({.htrun = ui.chkHtrun2->isChecked(),
                          .swp = m_ctx.model->isChecked(ctl::chkSWP),
                          .otherBatch = ui.ChkOther->isChecked(),
                          .usePackage = usePackage});
    if (help)
        ui.Label3->setText(*help);
}

bool Tex4htAdvancedDialog::batchNameGiven() {
    if (!m_ui->ChkOther->isChecked() || !m_ui->txtBatch->text().isEmpty())
        return true;
    m_ctx.seams.prompter->tell(
        S("You must put in the name of a batch file\n\nor uncheck 'Other batch file'\n"),
        S("Batch File"), Icon::None);
    return false;
}

void Tex4htAdvancedDialog::accept() {
    if (!batchNameGiven())
        return;
    m_ctx.settings.vars.advancedSave = m_ui->chkSave->isChecked();
    storeTex4htOptions(*m_ctx.model, composeTex4htOptions(options()));
    QDialog::accept();
}

void Tex4htAdvancedDialog::reject() {
    m_ctx.model->setCheckValue(ctl::chkHtrun, m_htrunAtOpen);
    QDialog::reject();
}

void showTex4htAdvancedDialog(AppContext& ctx, QWidget* parent) {
    Tex4htAdvancedDialog dialog(ctx, parent);
    dialog.exec();
}

} // namespace morvane
