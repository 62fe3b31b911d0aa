#include "ui/mainwindow.h"

#include "app/inicommands.h"
#include "app/optionhandlers.h"
#include "app/shutdown.h"
#include "app/textfilecommands.h"
#include "pipeline/appcontext.h"
#include "pipeline/convertcommand.h"
#include "pipeline/resultdisplay.h"
#include "pipeline/savedpath.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "settings/helplinks.h"
#include "settings/inisync.h"
#include "tex4ht/codefragments.h"
#include "ui/batchinstallerdialog.h"
#include "ui/comparedialog.h"
#include "ui/configdialogs.h"
#include "ui/convertercheckdialog.h"
#include "ui/convertonsave.h"
#include "ui/errorlist.h"
#include "ui/l2hinitdialog.h"
#include "ui/linklabels.h"
#include "ui/modelbinder.h"
#include "ui/morepreferencesdialog.h"
#include "ui/pageforms.h"
#include "ui/programlocationsdialog.h"
#include "ui/routepages.h"
#include "ui/stylelist.h"
#include "ui/tex4htadvanceddialog.h"
#include "update/updatecheck.h"

#include "settings/controlnames.h"
#include "ui_mainwindow.h"
#include "ui_tab_dvi.h"
#include "ui_tab_help.h"
#include "ui_tab_hevea.h"
#include "ui_tab_l2h.h"
#include "ui_tab_latexml.h"
#include "ui_tab_pandoc.h"
#include "ui_tab_pdf.h"
#include "ui_tab_tex4ht.h"
#include "ui_tab_tth.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <algorithm>

namespace morvane {

namespace {

QString S(const char* text) {
    return QString::fromLatin1(text);
}

// Labels that open the address in their tag; the tutorial links and the PDF
// tab's link can be changed with the right button.
const QList<ctl::Control> kLinkLabels{ctl::Label10, ctl::Label11, ctl::Label19, ctl::Label20,
                                      ctl::Label21, ctl::Label22, ctl::Label31, ctl::Label34};

} // namespace

QString firstDroppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return {};
    // Links to web pages dropped along with the files are passed over.
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            return url.toLocalFile();
    }
    return {};
}

// A page of the tab strip: empty until its form is built into it, which
// happens when it is first shown or one of its controls is first looked up
// (the page shown at start, and a page whose form was registered without
// the list of its controls, are built with the window).
struct MainWindow::Page {
    QWidget* widget = nullptr;
    ctl::Control control; // fraContainer_N, or fraHelp
    QString form;
    RoutePageBuilder build; // empty for no form: the page stays empty
    std::optional<FormControls> controls;
    bool built = false;
};

struct MainWindow::Private {
    AppContext* ctx = nullptr;
    // A form's pointers are null until its page is built.
    Ui::MainArea main{};
    Ui::HeveaTab hevea{};
    Ui::TthTab tth{};
    Ui::Tex4htTab tex4ht{};
    Ui::L2hTab l2h{};
    Ui::DviTab dvi{};
    Ui::PdfTab pdf{};
    Ui::LatexmlTab latexml{};
    Ui::PandocTab pandoc{};
    Ui::HelpTab help{};
    std::vector<Page> pages;
    ModelBinder* binder = nullptr;
    LinkLabels* links = nullptr;
    bool wired = false;   // the constructor has bound and wired the window
    int txt3Caret = 0;    // caret position remembered at the last click
    QPalette txt3Palette; // the command-line box's locked look
};

MainWindow::MainWindow(AppContext& ctx, QWidget* parent) : QMainWindow(parent), d(new Private) {
    d->ctx = &ctx;
    setObjectName(S("Form1"));
    setWindowTitle(S("Morvane"));
    buildForms();

    OptionsModel& model = *ctx.model;
    // What the form shows hidden before any logic ran.
    for (const ctl::Control name : {ctl::cmbFrags, ctl::Label35, ctl::lblDummy, ctl::fraHelp}) {
        if (!model.has(name, OptionsModel::Aspect::Visible))
            model.setVisible(name, false);
    }
    for (int i = 2; i < helpTab(ctx.routes); ++i) {
        const ctl::Control page = ctl::fraContainer(i);
        if (!model.has(page, OptionsModel::Aspect::Visible))
            model.setVisible(page, false);
    }

    connectOptionHandlers(ctx);
    d->binder = new ModelBinder(&model, this, this);
    // The page shown at start is built now; the others stand in the binder
    // for their forms' controls until they are needed.
    for (Page& page : d->pages) {
        if (model.isVisible(page.control) || !page.controls)
            buildPage(page);
        else
            d->binder->defer(page.widget, *page.controls);
    }
    // Made before the binder shows the page: connected before the binder.
    connect(&model, &OptionsModel::changed, this,
            [this](ctl::Control name, OptionsModel::Aspect aspect) {
                if (aspect == OptionsModel::Aspect::Visible && d->ctx->model->isVisible(name))
                    buildPageOf(name);
            });
    d->binder->bind();

    wireButtons();
    wireSpecialControls();
    for (Page& page : d->pages) {
        if (page.built)
            wireForm(page.form);
    }
    putPagesAfterTabs();
    d->wired = true;

    ctx.seams.requestFocus = [this](ctl::Control control) {
        if (QWidget* w = controlWidget(control))
            w->setFocus();
    };
    ctx.seams.showTex4htAdvanced = [this] { showTex4htAdvancedDialog(*d->ctx, this); };
    ctx.seams.showL2hInitEditor = [this] { showL2hInitDialog(*d->ctx, this); };
    auto* errors = new ErrorList(ctx, d->main.lstErrors, this);
    ctx.seams.showLogEntries = [errors](const LogEntries& entries) { errors->show(entries); };
    new ConvertOnSave(ctx, this);
    setAcceptDrops(true);
}

MainWindow::~MainWindow() {
    d->ctx->seams.requestFocus = nullptr;
    d->ctx->seams.showTex4htAdvanced = nullptr;
    d->ctx->seams.showL2hInitEditor = nullptr;
    d->ctx->seams.showLogEntries = nullptr;
}

void MainWindow::buildForms() {
    auto* central = new QWidget(this);
    d->main.setupUi(central);
    setCentralWidget(central);

    // The route pages in tab order, each named after its tab, then Help.
    registerBuiltInPages();
    QTabBar* tabs = d->main.tbstrip;
    auto* pages = new QVBoxLayout(d->main.pageArea);
    pages->setContentsMargins(0, 0, 0, 0);
    const RouteTable routes = d->ctx->routes;
    auto addPage = [this, pages](ctl::Control control, const QString& form, RoutePage made) {
        auto* page = new QWidget(d->main.pageArea);
        page->setObjectName(control.name());
        pages->addWidget(page);
        d->pages.push_back(
            Page{page, control, form, std::move(made.build), std::move(made.controls), false});
    };
    for (const Route& route : routes) {
        tabs->addTab(S(route.tabCaption));
        addPage(ctl::fraContainer(tabOf(routes, route)), S(route.form), routePage(S(route.form)));
    }
    tabs->addTab(S("&Help"));
    const QString help = S("tab_help");
    addPage(ctl::fraHelp, help,
            RoutePage{[this](QWidget* page) { d->help.setupUi(page); }, pageFormControls(help)});

    // The running conversions are few; the list need not push the frame open.
    d->main.lstProcesses->setMaximumHeight(fontMetrics().height() * 5);
}

void MainWindow::buildPage(Page& page) {
    page.built = true;
    if (!page.build)
        return;
    page.build(page.widget);
    page.widget->setObjectName(page.control.name());
    // The constructor binds and wires what it built itself.
    if (!d->wired)
        return;
    d->binder->bindPart(page.widget);
    watchDrops(page.widget);
    wireForm(page.form);
    d->links->takeLabelsOf(page.widget);
    putPagesAfterTabs();
}

void MainWindow::buildPageOf(ctl::Control control) {
    for (Page& page : d->pages) {
        if (page.control == control && !page.built)
            buildPage(page);
    }
}

QWidget* MainWindow::widgetNamed(const QString& name) {
    if (auto* w = findChild<QWidget*>(name))
        return w;
    // The page whose form holds a control, or every page for another name.
    const std::optional<ctl::Control> control = ctl::find(name);
    bool built = false;
    for (Page& page : d->pages) {
        if (page.built)
            continue;
        const bool holds =
            !control || std::any_of(page.controls->cbegin(), page.controls->cend(),
                                    [&](const FormControl& c) { return c.control == *control; });
        if (holds) {
            buildPage(page);
            built = true;
        }
    }
    return built ? findChild<QWidget*>(name) : nullptr;
}

QWidget* MainWindow::controlWidget(ctl::Control control) {
    if (QWidget* w = d->binder->widget(control))
        return w;
    widgetNamed(control.name());
    return d->binder->widget(control);
}

// The pages are made after the lower frame, so Tab would reach a tab's own
// options only after Exit; the lower frame's controls move behind them. A
// page built later is made after everything, so the move is made again.
// (Only controls that take the focus can be ordered.)
void MainWindow::putPagesAfterTabs() {
    QWidget* lastOnPages = nullptr;
    QList<QWidget*> lowerFrame;
    for (QWidget* w = d->main.tbstrip->nextInFocusChain(); w != d->main.tbstrip;
         w = w->nextInFocusChain()) {
        if (w->focusPolicy() == Qt::NoFocus || w->window() != this)
            continue;
        if (d->main.pageArea->isAncestorOf(w))
            lastOnPages = w;
        else
            lowerFrame.append(w);
    }
    if (!lastOnPages)
        return;
    QWidget* previous = lastOnPages;
    for (QWidget* w : lowerFrame) {
        setTabOrder(previous, w);
        previous = w;
    }
}

void MainWindow::registerBuiltInPages() {
    auto form = [](const char* name, auto& ui) {
        registerRoutePage(
            S(name), [&ui](QWidget* page) { ui.setupUi(page); }, pageFormControls(S(name)));
    };
    form("tab_hevea", d->hevea);
    form("tab_tth", d->tth);
    form("tab_tex4ht", d->tex4ht);
    form("tab_l2h", d->l2h);
    form("tab_dvi", d->dvi);
    form("tab_pdf", d->pdf);
    form("tab_latexml", d->latexml);
    form("tab_pandoc", d->pandoc);
}

void MainWindow::wireButtons() {
    AppContext& ctx = *d->ctx;
    auto onClick = [this](QAbstractButton* button, auto&& action) {
        connect(button, &QAbstractButton::clicked, this, [action] { action(); });
    };
    onClick(d->main.cmdConvert, [&ctx] { cmdConvert_Click(ctx); });
    onClick(d->main.cmdLog, [&ctx] { cmdLog_Click(ctx); });
    onClick(d->main.cmdShow, [&ctx] { cmdShow_Click(ctx); });
    onClick(d->main.cmdBrowse, [this] { browseForTeXFile(); });
    onClick(d->main.cmdExit, [this] { close(); });
    onClick(d->main.cmdEditTex, [&ctx] { cmdEditTex_Click(ctx); });
    onClick(d->main.cmdCompare, [this] { compareRoutes(); });
}

void MainWindow::watchDrops(QWidget* part) {
    // Files dropped anywhere on the window, also on controls that would take
    // dropped text themselves.
    for (QWidget* w : part->findChildren<QWidget*>()) {
        if (w->acceptDrops())
            w->installEventFilter(this);
    }
}

void MainWindow::wireSpecialControls() {
    AppContext& ctx = *d->ctx;

    // Enter in the file box confirms the typed name.
    connect(d->main.cmbTeX->lineEdit(), &QLineEdit::returnPressed, this,
            [&ctx] { SavedPath(ctx); });

    watchDrops(this);
    d->main.cmbTeX->lineEdit()->setAcceptDrops(true);
    d->main.cmbTeX->lineEdit()->installEventFilter(this);

    d->links = new LinkLabels(ctx, kMainWindowLinks, this, kLinkLabels);

    connect(ctx.model, &OptionsModel::changed, this,
            [this](ctl::Control name, OptionsModel::Aspect aspect) {
                if (name == ctl::txt3Locked && aspect == OptionsModel::Aspect::Tag)
                    showCommandLineLock();
                else if (name == ctl::List1 && aspect == OptionsModel::Aspect::Enabled)
                    coverStyleList();
            });
}

// The window's own handling of a form's controls, once its page is built.
void MainWindow::wireForm(const QString& form) {
    AppContext& ctx = *d->ctx;
    auto onClick = [this](QAbstractButton* button, auto&& action) {
        connect(button, &QAbstractButton::clicked, this, [action] { action(); });
    };
    if (form == S("tab_hevea") && d->hevea.List1) {
        onClick(d->hevea.cmdUp, [&ctx] { cmdUp_Click(ctx); });
        onClick(d->hevea.cmdDown, [&ctx] { cmdDown_Click(ctx); });
        onClick(d->hevea.cmdSaveConfig, [this, &ctx] { saveConfigurationWithDialog(ctx, this); });
        onClick(d->hevea.cmdLoadConfig, [this, &ctx] { loadConfigurationWithDialog(ctx, this); });
        // Styles dragged within their list move by the list's own rules; the
        // drop is reported as a copy so that the view removes nothing itself.
        QListWidget* styles = d->hevea.List1;
        styles->setDragDropMode(QAbstractItemView::DragDrop);
        styles->setDefaultDropAction(Qt::CopyAction);
        styles->viewport()->installEventFilter(this);
        // A click on the cover of the style list ticks "Include Style Files".
        d->hevea.lblListCover->installEventFilter(this);
        d->hevea.txtExclude->installEventFilter(this);
        coverStyleList();
    } else if (form == S("tab_tex4ht") && d->tex4ht.txt3) {
        onClick(d->tex4ht.cmdTex4htBrowse, [&ctx] { cmdTex4htBrowse_Click(ctx); });
        onClick(d->tex4ht.cmdAdvanced, [&ctx] { cmdAdvanced_Click(ctx); });
        // The command-line box: Escape and double-click switch manual mode.
        d->txt3Palette = d->tex4ht.txt3->palette();
        d->tex4ht.txt3->installEventFilter(this);
        d->tex4ht.txt3->viewport()->installEventFilter(this);
        connect(d->tex4ht.cmbFrags, &QComboBox::activated, this,
                [this](int index) { insertCodeFragment(index); });
        showCommandLineLock();
    } else if (form == S("tab_l2h") && d->l2h.cmdInit) {
        onClick(d->l2h.cmdlatex2htmlBrowse, [&ctx] { cmdlatex2htmlBrowse_Click(ctx); });
        onClick(d->l2h.cmdInit, [&ctx] { cmdInit_Click(ctx); });
    } else if (form == S("tab_pdf") && d->pdf.cmdBat) {
        onClick(d->pdf.cmdBat, [this, &ctx] { cmdBat_Click(ctx, this); });
    } else if (form == S("tab_latexml") && d->latexml.cmdLatexmlBrowse) {
        onClick(d->latexml.cmdLatexmlBrowse, [&ctx] { cmdLatexmlBrowse_Click(ctx); });
    } else if (form == S("tab_pandoc") && d->pandoc.cmdPandocBrowse) {
        onClick(d->pandoc.cmdPandocBrowse, [&ctx] { changeOutputRoot(ctx); });
        onClick(d->pandoc.cmdPandocCsl, [this] { chooseCitationStyle(); });
    } else if (form == S("tab_help") && d->help.cmdHelpExit) {
        onClick(d->help.cmdHelpExit, [this] { close(); });
        onClick(d->help.cmdReadIni, [&ctx] { reloadIni(ctx); });
        onClick(d->help.cmdEditIni, [&ctx] { editIni(ctx); });
        onClick(d->help.cmdDeleteFileList, [&ctx] { cmdDeleteFileList_Click(ctx); });
        onClick(d->help.cmdReadMe, [&ctx] { cmdReadMe_Click(ctx); });
        onClick(d->help.cmdBatch, [&ctx] { cmdBatch_Click(ctx); });
        onClick(d->help.cmdProgLoc, [this, &ctx] { openProgramLocations(ctx, this); });
        onClick(d->help.cmdMore, [this, &ctx] { MorePreferencesDialog(ctx, this).exec(); });
        onClick(d->help.cmdUpdate, [&ctx] { cmdUpdate_Click(ctx); });
        onClick(d->help.cmdCheck, [this] {
            ConverterCheckDialog dialog(this);
            dialog.show();
            dialog.runCheck();
            dialog.exec();
        });
        // "Anti-Virus Problem" looks like a link but shows a message.
        d->help.Label32->setCursor(Qt::PointingHandCursor);
        d->help.Label32->setStyleSheet(S("color: blue; text-decoration: underline;"));
        d->help.Label32->installEventFilter(this);
    }
}

void MainWindow::coverStyleList() {
    if (d->hevea.lblListCover)
        d->hevea.lblListCover->setAttribute(Qt::WA_TransparentForMouseEvents,
                                            d->ctx->model->isEnabled(ctl::List1));
}

void MainWindow::insertCodeFragment(int index) {
    // The first entry only invites a choice.
    if (index <= 0)
        return;
    QPlainTextEdit* box = d->tex4ht.txt3;
    const int caret = box->textCursor().position();
    d->ctx->model->setText(ctl::txt3, withFragmentInserted(box->toPlainText(), caret,
                                                           d->tex4ht.cmbFrags->itemText(index)));
    QTextCursor cursor = box->textCursor();
    cursor.setPosition(qMin(caret, int(box->toPlainText().size())));
    box->setTextCursor(cursor);
    box->setFocus();
}

void MainWindow::showCommandLineLock() {
    QPlainTextEdit* box = d->tex4ht.txt3;
    if (!box)
        return;
    const bool locked = isCommandLineLocked(*d->ctx->model);
    box->setReadOnly(locked);
    // The two states have visibly different backgrounds.
    QPalette palette = d->txt3Palette;
    if (!locked) {
        const QColor base = palette.color(QPalette::Base);
        palette.setColor(QPalette::Base, QColor::fromRgb(base.rgb() ^ 0x303030));
    }
    box->setPalette(palette);
    QPalette label = d->tex4ht.lblManual->palette();
    label.setColor(QPalette::WindowText,
                   locked ? palette.color(QPalette::ButtonText) : QColor(Qt::red));
    d->tex4ht.lblManual->setPalette(label);
}

void MainWindow::browseForTeXFile() {
    const QString file = QFileDialog::getOpenFileName(this, S("Choose a TeX file"),
                                                      d->ctx->settings.vars.openDialogDir,
                                                      S("TeX Files (*.tex *.TEX);;All Files (*)"));
    if (file.isEmpty())
        return;
    // The dialog opens where the last file was found, until a reload points
    // it at the TeX documents folder again.
    d->ctx->settings.vars.openDialogDir = PathOnly(file);
    d->ctx->model->setText(ctl::cmbTeX, file);
}

void MainWindow::compareRoutes() {
    AppContext& ctx = *d->ctx;
    const QString file = ctx.convertFile();
    if (!QFileInfo(file).isFile()) {
        ctx.seams.prompter->tell(S("Choose a TeX file first: Compare Routes converts the file in "
                                   "the file box with every route."),
                                 S("Compare Routes"), Icon::Exclamation);
        return;
    }
    CompareDialog dialog(ctx, file, this);
    if (dialog.start())
        dialog.exec();
}

void MainWindow::chooseCitationStyle() {
    const QString current = d->ctx->model->text(ctl::txtPandocCsl);
    const QString file = QFileDialog::getOpenFileName(
        this, S("Choose a citation style"),
        current.isEmpty() ? d->ctx->settings.vars.openDialogDir : PathOnly(current),
        S("Citation Styles (*.csl);;All Files (*)"));
    if (!file.isEmpty())
        d->ctx->model->setText(ctl::txtPandocCsl, file);
}

void MainWindow::focusFileBox() {
    d->main.cmbTeX->setFocus();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (unloadStep(*d->ctx))
        event->accept();
    else
        event->ignore();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!firstDroppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    handleDrop(event);
}

bool MainWindow::handleDrop(QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (firstDroppedFile(drag->mimeData()).isEmpty())
            return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString file = firstDroppedFile(drop->mimeData());
        if (file.isEmpty())
            return false;
        d->ctx->model->setText(ctl::cmbTeX, file);
        drop->acceptProposedAction();
        return true;
    }
    default:
        return false;
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (handleDrop(event))
        return true;

    AppContext& ctx = *d->ctx;
    QListWidget* styles = d->hevea.List1;
    if (styles && watched == styles->viewport() && event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        if (drop->source() != styles)
            return true;
        const int row = styles->indexAt(drop->position().toPoint()).row();
        dropStyle(ctx, styles->currentRow(), row < 0 ? styles->count() : row);
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        return true;
    }
    QPlainTextEdit* txt3 = d->tex4ht.txt3;
    if (watched == txt3 && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        toggleManualCommandLine(ctx);
        return true;
    }
    if (txt3 && watched == txt3->viewport()) {
        if (event->type() == QEvent::MouseButtonRelease) {
            d->txt3Caret = txt3->textCursor().position();
        } else if (event->type() == QEvent::MouseButtonDblClick) {
            QTextCursor cursor = txt3->textCursor();
            cursor.clearSelection();
            cursor.setPosition(qMin(d->txt3Caret, txt3->toPlainText().size()));
            txt3->setTextCursor(cursor);
            toggleManualCommandLine(ctx);
            return true;
        }
    }
    if (watched == d->hevea.lblListCover && event->type() == QEvent::MouseButtonPress) {
        if (!ctx.model->isChecked(ctl::chkStyle))
            ctx.model->setChecked(ctl::chkStyle, true);
        return true;
    }
    if (watched == d->hevea.txtExclude && event->type() == QEvent::MouseButtonRelease) {
        QTimer::singleShot(0, d->hevea.txtExclude, &QLineEdit::selectAll);
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        const QString name = watched->objectName();
        if (name == S("Label32")) {
            Label32_Click(ctx);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace morvane
