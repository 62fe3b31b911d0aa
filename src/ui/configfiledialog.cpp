#include "ui/configfiledialog.h"

#include "pipeline/appcontext.h"
#include "platform/atomicfile.h"
#include "platform/eventpump.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "tex4ht/codelibrary.h"
#include "tex4ht/manualbuilder.h"
#include "ui_configfiledialog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMenu>

namespace morvane {

namespace {

QString S(const char* text) {
    return QString::fromLatin1(text);
}

const QString kManualCaption = S("&Manual");
const QString kUpdateCaption = S("U&pdate Manual");

// The editor shows "\n" line ends only, whatever the file was written with.
std::optional<QString> readConfigFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QString text = QString::fromUtf8(file.readAll());
    text.replace(S("\r\n"), S("\n"));
    return text;
}

} // namespace

ConfigFileDialog::ConfigFileDialog(AppContext& ctx, const QString& fileName, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_ui(std::make_unique<Ui::ConfigFileDialog>()),
      m_fileName(fileName), m_suffix(configSuffix(fileName)) {
    m_ui->setupUi(this);
    m_ui->txtConfig->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_ui->txtConfig->setPlainText(readConfigFile(configPath()).value_or(configSkeleton(m_suffix)));
    m_undoText = m_ui->txtConfig->toPlainText();
    m_ui->lblExplain->setText(configExplanation(m_fileName));
    m_ui->lblKeys->setText(
        S("Enter or Double-click = Insert Code\nF2 = Rename Code,   Del = Delete Code"));
    refreshSnippetList();

    askText = [this](const QString& prompt, const QString& title,
                     const QString& proposed) -> std::optional<QString> {
        bool ok = false;
        const QString answer =
            QInputDialog::getText(this, title, prompt, QLineEdit::Normal, proposed, &ok);
        return ok ? std::optional<QString>(answer) : std::nullopt;
    };

    m_ui->lstCode->installEventFilter(this);
    connect(m_ui->lstCode, &QListWidget::itemDoubleClicked, this, [this] { insertCode(); });
    connect(m_ui->lstCode, &QWidget::customContextMenuRequested, this,
            &ConfigFileDialog::showSnippetMenu);
    connect(m_ui->cmdUndo, &QPushButton::clicked, this, &ConfigFileDialog::undoInsert);
    connect(m_ui->cmdReset, &QPushButton::clicked, this, &ConfigFileDialog::resetCode);
    connect(m_ui->cmdSave, &QPushButton::clicked, this, &ConfigFileDialog::saveSelectedCode);
    connect(m_ui->cmdManual, &QPushButton::clicked, this, &ConfigFileDialog::showManual);
    connect(m_ui->cmdUpdate, &QPushButton::clicked, this, &ConfigFileDialog::updateManual);
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &ConfigFileDialog::accept);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &ConfigFileDialog::reject);
    connect(m_ui->lblOnline, &QLabel::linkActivated, this, [this](const QString& link) {
        if (m_ctx.seams.shell)
            m_ctx.seams.shell->open(link);
    });
}

ConfigFileDialog::~ConfigFileDialog() = default;

QString ConfigFileDialog::configPath() const {
    return m_ctx.programDir + QLatin1Char('/') + m_fileName;
}

QString ConfigFileDialog::libraryPath() const {
    return codeLibraryPath(m_ctx.programDir);
}

void ConfigFileDialog::refreshSnippetList() {
    m_ui->lstCode->clear();
    m_ui->lstCode->addItems(snippetNames(readCodeLibrary(libraryPath())));
}

SnippetPlace ConfigFileDialog::place() const {
    if (m_ui->optPlace_1->isChecked())
        return SnippetPlace::InPreamble;
    if (m_ui->optPlace_2->isChecked())
        return SnippetPlace::InDocument;
    return SnippetPlace::AfterCursorLine;
}

bool ConfigFileDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_ui->lstCode && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            insertCode();
            return true;
        case Qt::Key_F2:
            renameCode();
            return true;
        case Qt::Key_Delete:
            deleteCode();
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ConfigFileDialog::showSnippetMenu(const QPoint& at) {
    QMenu menu(this);
    menu.addAction(S("&Insert Code"), this, &ConfigFileDialog::insertCode);
    menu.addAction(S("Undo Insert Code"), this, &ConfigFileDialog::undoInsert);
    menu.addAction(S("&Reset Code"), this, &ConfigFileDialog::resetCode);
    menu.exec(m_ui->lstCode->viewport()->mapToGlobal(at));
}

void ConfigFileDialog::insertCode() {
    const QListWidgetItem* item = m_ui->lstCode->currentItem();
    if (!item)
        return;
    const QString code = snippetCode(readCodeLibrary(libraryPath()), item->text());
    if (code.isEmpty())
        return;
    QPlainTextEdit* editor = m_ui->txtConfig;
    const QString text = editor->toPlainText();
    m_undoText = text;
    editor->setPlainText(withSnippetInserted(text, code, place(), editor->textCursor().position()));
    editor->setFocus();
}

void ConfigFileDialog::undoInsert() {
    m_ui->txtConfig->setPlainText(m_undoText);
}

void ConfigFileDialog::resetCode() {
    Prompter& prompter = *m_ctx.seams.prompter;
    const QString title = S("Reset Code");
    const std::optional<QString> saved = readConfigFile(configPath());
    if (!saved) {
        const QString text = S("No previous version of ") + m_fileName + S(" has been found.") +
                             S("\n\n") + S("Do you wish to show the skeleton code?") + S("\n\n");
        if (prompter.ask(text, title, Buttons::YesNo, Icon::Question) == Answer::Yes)
            m_ui->txtConfig->setPlainText(configSkeleton(m_suffix));
        return;
    }
    const QString text = S("Press") + S("\n\n") + S("Yes\tRevert to previously saved code\n") +
                         S("No\tShow only skeleton code\n") + S("Cancel\tDo nothing");
    switch (prompter.ask(text, title, Buttons::YesNoCancel, Icon::Question)) {
    case Answer::Yes:
        m_ui->txtConfig->setPlainText(*saved);
        break;
    case Answer::No:
        m_ui->txtConfig->setPlainText(configSkeleton(m_suffix));
        break;
    default:
        break;
    }
}

void ConfigFileDialog::saveSelectedCode() {
    Prompter& prompter = *m_ctx.seams.prompter;
    const QString title = S("Save Selected Code");
    QString code = m_ui->txtConfig->textCursor().selectedText();
    if (code.isEmpty()) {
        prompter.tell(S("No code selected.") + S("\n\n") +
                          S("Highlight the code you want to save."),
                      title, Icon::Exclamation);
        return;
    }
    // The editor hands a selection over with paragraph separators.
    code.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));

    const QStringList names = snippetNames(readCodeLibrary(libraryPath()));
    const QString prompt = S("Give the code you wish to save a name.") + S("\n\n") +
                           S("This name can have any characters in it, but should be short ") +
                           S("\n") + S("enough to appear in the list box.") + S("\n\n") +
                           S("The code will be saved to CustomCode.txt in Morvane's directory.");
    const std::optional<QString> name = askText(prompt, title, proposedSnippetName(names));
    if (!name || name->isEmpty())
        return;
    if (containsName(names, *name) &&
        prompter.ask(S("The code ") + *name + S(" already exists. ") + S("\n") +
                         S(" Replace existing file?"),
                     S("Save"), Buttons::YesNo, Icon::Exclamation, Answer::No) != Answer::Yes)
        return;

    if (!writeCodeLibrary(libraryPath(),
                          withSnippetSaved(readCodeLibrary(libraryPath()), *name, code)))
        prompter.tell(S("Can't write ") + QDir::toNativeSeparators(libraryPath()), title,
                      Icon::Exclamation);
    refreshSnippetList();
}

void ConfigFileDialog::renameCode() {
    const QListWidgetItem* item = m_ui->lstCode->currentItem();
    if (!item)
        return;
    const QString name = item->text();
    QStringList others = snippetNames(readCodeLibrary(libraryPath()));
    others.removeAll(name);
    QString prompt = S("Type a new name to replace ") + name;
    for (;;) {
        const std::optional<QString> newName = askText(prompt, S("Rename"), name);
        if (!newName || newName->isEmpty() || *newName == name)
            return;
        if (!containsName(others, *newName)) {
            if (!writeCodeLibrary(libraryPath(), withSnippetRenamed(readCodeLibrary(libraryPath()),
                                                                    name, *newName)))
                m_ctx.seams.prompter->tell(S("Can't write ") +
                                               QDir::toNativeSeparators(libraryPath()),
                                           S("Rename"), Icon::Exclamation);
            refreshSnippetList();
            return;
        }
        prompt = *newName + S(" has already been used.") + S("\n") +
                 S("Choose a different name to replace ") + name;
    }
}

void ConfigFileDialog::deleteCode() {
    const QListWidgetItem* item = m_ui->lstCode->currentItem();
    if (!item)
        return;
    const QString name = item->text();
    if (m_ctx.seams.prompter->ask(S("Are you sure you want to delete ") + name + S("?"),
                                  S("Confirm Delete Code"), Buttons::YesNo, Icon::Question,
                                  Answer::No) != Answer::Yes)
        return;
    if (!writeCodeLibrary(libraryPath(), withSnippetDeleted(readCodeLibrary(libraryPath()), name)))
        m_ctx.seams.prompter->tell(S("Can't write ") + QDir::toNativeSeparators(libraryPath()),
                                   S("Confirm Delete Code"), Icon::Exclamation);
    refreshSnippetList();
}

void ConfigFileDialog::showManual() {
    if (!QFileInfo::exists(manualPath(m_ctx.programDir))) {
        updateManual();
        return;
    }
    openTex4htManual(m_ctx);
}

void ConfigFileDialog::updateManual() {
    const bool exists = QFileInfo::exists(manualPath(m_ctx.programDir));
    const QString title = exists ? S("Update Manual") : S("Create Manual");
    const QString text =
        (exists ? S("Morvane will create a new manual by using TeX4ht to convert a tex file.")
                : S("No manual found so Morvane will create one by using TeX4ht to convert a "
                    "tex file.")) +
        S("\n\n") +
        S("This is done by opening a DOS window. If you find it is left open but has finished "
          "processing then it is quite safe to close the window.") +
        S("\n\n") + S("Continue?");
    if (m_ctx.seams.prompter->ask(text, title, Buttons::OkCancel, Icon::Question) != Answer::Ok)
        return;

    for (QPushButton* button : {m_ui->cmdManual, m_ui->cmdUpdate}) {
        button->setEnabled(false);
        button->setText(S("Creating Manual"));
    }
    serveRepaints();
    const ManualBuild build = buildTex4htManual(m_ctx);
    // The first captions come back: "&Update" would share its key with "&Undo".
    m_ui->cmdManual->setText(kManualCaption);
    m_ui->cmdUpdate->setText(kUpdateCaption);
    m_ui->cmdManual->setEnabled(true);
    m_ui->cmdUpdate->setEnabled(true);
    if (build.built)
        openTex4htManual(m_ctx);
    else
        m_ctx.seams.prompter->tell(build.failure, title, Icon::Exclamation);
}

void ConfigFileDialog::accept() {
    QString error;
    if (!replaceFileAtomically(configPath(),
                               configFileContent(m_ui->txtConfig->toPlainText()).toUtf8(),
                               Durability::WaitForDisk, &error)) {
        // The edits stay in the window rather than being lost.
        m_ctx.seams.prompter->tell(S("Can't write ") + QDir::toNativeSeparators(configPath()) +
                                       S("\n\n") + error,
                                   S("Configuration File"), Icon::Exclamation);
        return;
    }
    QDialog::accept();
}

std::optional<QString> showConfigFileDialog(AppContext& ctx, const QString& caption,
                                            QWidget* parent) {
    ConfigFileDialog dialog(ctx, configFileFromCaption(caption), parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.suffix();
}

} // namespace morvane
