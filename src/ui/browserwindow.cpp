#include "ui/browserwindow.h"

#include "app/startup.h"
#include "pipeline/appcontext.h"
#include "platform/pathutils.h"
#include "platform/shell.h"
#include "settings/browserplacement.h"
#include "ui/mainwindow.h"
#include "ui/webengineloader.h"
#include "ui/windowmover.h"

#include "settings/controlnames.h"
#include "ui_browserwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QScreen>
#include <QSettings>
#include <QStyle>
#include <QTimer>

namespace morvane {

namespace {

QString S(const char* text) {
    return QString::fromLatin1(text);
}

// Addresses the program hands over are files, or web addresses.
QUrl urlOfShownFile(const QString& file) {
    if (file.contains(S("://")))
        return QUrl(file);
    return QUrl::fromLocalFile(file);
}

// How often the caption follows the engine's busy state.
constexpr int kTitleTimerMs = 200;

} // namespace

BrowserWindow::BrowserWindow(AppContext& ctx, QWidget* parent, Role role)
    : QMainWindow(parent), m_ctx(ctx), m_role(role), m_ui(std::make_unique<Ui::BrowserForm>()) {
    m_ui->setupUi(this);
    m_address = m_ui->cboAddress;

    m_view = createWebEngineView(m_ui->browserArea);
    if (!m_view)
        m_view = new QLabel(S("Qt WebEngine could not be loaded."), m_ui->browserArea);
    m_view->setObjectName(S("brwWebBrowser"));
    m_ui->browserLayout->addWidget(m_view, 1);

    m_status = new QLabel(this);
    m_status->setObjectName(S("StatusBar1_Panel1"));
    m_ui->StatusBar1->addWidget(m_status, 1);

    m_timer = new QTimer(this);
    m_timer->setObjectName(S("timTimer"));
    m_timer->setInterval(kTitleTimerMs);
    connect(m_timer, &QTimer::timeout, this, &BrowserWindow::showTitleWhenIdle);

    chooseFile = [this] {
        return QFileDialog::getOpenFileName(
            this, S("Choose a HTML file"), QString(),
            S("HTML Files (*.htm *.html *.xml *.xht);;All Files (*)"));
    };

    wireToolbar();
    connect(m_address, &QComboBox::textActivated, this, &BrowserWindow::addressChosen);
    // The combo takes no typed entries into its list, so Enter is caught here.
    connect(m_address->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { addressChosen(m_address->currentText()); });

    // The view is known only by its meta-object (see createWebEngineView).
    connect(m_view, SIGNAL(titleChanged(QString)), this, SLOT(setWindowTitle(QString)));
    connect(m_view, SIGNAL(loadFinished(bool)), this, SLOT(rememberAddress()));
    connect(m_view, SIGNAL(statusTextChanged(QString)), this, SLOT(showStatusText(QString)));

    // Dropped files are shown; anything else dropped on the address box is
    // refused rather than typed into it.
    setAcceptDrops(true);
    installEventFilter(this);
    m_address->installEventFilter(this);
    m_address->lineEdit()->installEventFilter(this);
    m_address->lineEdit()->setAcceptDrops(true);
    restorePlacement();
}

BrowserWindow::~BrowserWindow() = default;

void BrowserWindow::wireToolbar() {
    const struct {
        QAction* action;
        QStyle::StandardPixmap icon;
    } buttons[] = {
        {m_ui->Back, QStyle::SP_ArrowBack},          {m_ui->Forward, QStyle::SP_ArrowForward},
        {m_ui->Refresh, QStyle::SP_BrowserReload},   {m_ui->Home, QStyle::SP_DirHomeIcon},
        {m_ui->Search, QStyle::SP_DialogOpenButton}, {m_ui->Stop, QStyle::SP_BrowserStop}};
    for (const auto& button : buttons) {
        button.action->setIcon(style()->standardIcon(button.icon));
        const QString key = button.action->objectName();
        connect(button.action, &QAction::triggered, this, [this, key] { toolbarButton(key); });
    }
}

QString BrowserWindow::normalisedAddress(const QUrl& url) {
    return url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded);
}

QUrl BrowserWindow::urlOfUserAddress(const QString& address) {
    // A path from the list or typed by hand, a file URL or a web address
    // ("example.org" is taken for http).
    return QUrl::fromUserInput(address.trimmed());
}

void BrowserWindow::show(const QString& file) {
    if (m_home.isEmpty())
        m_home = file;
    m_address->setEditText(file);
    m_timer->start();
    navigate(urlOfShownFile(file));
    if (isMinimized())
        showNormal();
    else
        QMainWindow::show();
    raise();
    activateWindow();
}

bool BrowserWindow::isShowing(const QString& file) const {
    return isVisible() && normalisedAddress(m_view->property("url").toUrl()) == file;
}

void BrowserWindow::reloadKeepingScroll(const QString& file) {
    if (isShowing(file))
        QMetaObject::invokeMethod(m_view, "reloadKeepingScroll");
    else
        show(file);
}

void BrowserWindow::reloadIfShowing(const QString& file) {
    if (isShowing(file))
        QMetaObject::invokeMethod(m_view, "reloadKeepingScroll");
}

void BrowserWindow::navigate(const QUrl& url) {
    if (url.isValid() && !url.isEmpty())
        m_view->setProperty("url", url);
}

void BrowserWindow::addressChosen(const QString& address) {
    if (m_updatingHistory || address.trimmed().isEmpty())
        return;
    if (m_home.isEmpty())
        m_home = address;
    m_timer->start();
    navigate(urlOfUserAddress(address));
    m_focusDocument = true;
}

void BrowserWindow::toolbarButton(const QString& key) {
    m_timer->start();
    if (key == S("Back"))
        QMetaObject::invokeMethod(m_view, "back");
    else if (key == S("Forward"))
        QMetaObject::invokeMethod(m_view, "forward");
    else if (key == S("Refresh"))
        QMetaObject::invokeMethod(m_view, "reload");
    else if (key == S("Home"))
        navigate(urlOfShownFile(m_home));
    else if (key == S("Search"))
        Browse();
    else if (key == S("Stop")) {
        QMetaObject::invokeMethod(m_view, "stop");
        setWindowTitle(documentTitle());
    }
}

void BrowserWindow::Browse() {
    const QString file = chooseFile();
    // Cancel leaves the current page.
    if (file.isEmpty())
        return;
    m_address->setEditText(file);
    addressChosen(file);
}

QString BrowserWindow::documentTitle() const {
    return m_view->property("title").toString();
}

void BrowserWindow::showStatusText(const QString& text) {
    m_status->setText(text + QLatin1Char(' '));
}

void BrowserWindow::showTitleWhenIdle() {
    if (m_view->property("busy").toBool()) {
        setWindowTitle(QString());
        return;
    }
    m_timer->stop();
    setWindowTitle(documentTitle());
}

void BrowserWindow::rememberAddress() {
    setWindowTitle(documentTitle());
    const QString address = normalisedAddress(m_view->property("url").toUrl());
    m_updatingHistory = true;
    const int old = m_address->findText(address, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (old >= 0)
        m_address->removeItem(old);
    if (!address.isEmpty())
        m_address->insertItem(0, address);
    m_address->setCurrentIndex(0);
    m_updatingHistory = false;
    if (m_focusDocument) {
        m_view->setFocus();
        m_focusDocument = false;
    }
}

void BrowserWindow::closeEvent(QCloseEvent* event) {
    if (m_role == Role::StandAlone) {
        event->accept();
        return;
    }
    // Hidden, not destroyed: the list and the placement last until the
    // program ends.
    event->ignore();
    hide();
}

bool BrowserWindow::handleDrop(QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (firstDroppedFile(drag->mimeData()).isEmpty()) {
            drag->setDropAction(Qt::IgnoreAction);
            drag->ignore();
        } else {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        }
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString file = firstDroppedFile(drop->mimeData());
        if (file.isEmpty()) {
            drop->setDropAction(Qt::IgnoreAction);
            drop->ignore();
            return true;
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        m_address->setEditText(file);
        addressChosen(file);
        return true;
    }
    default:
        return false;
    }
}

bool BrowserWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == this || watched == m_address || watched == m_address->lineEdit()) {
        if (handleDrop(event))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void BrowserWindow::restorePlacement() {
    const QRect screen = QGuiApplication::primaryScreen()
                             ? QGuiApplication::primaryScreen()->availableGeometry()
                             : QRect(0, 0, 1024, 768);
    const QPoint centred(screen.x() + (screen.width() - width()) / 2,
                         screen.y() + (screen.height() - height()) / 2);
    const bool placeable = windowsCanBePlaced();
    if (placeable)
        move(centred);
    if (!m_ctx.model->isChecked(ctl::chkSettings))
        return;
    QSettings store(S("Morvane"), S("Morvane"));
    const std::optional<BrowserPlacement> placement = readBrowserPlacement(store);
    if (!placement)
        return;
    const QRect& normal = placement->normalGeometry;
    if (normal.isValid()) {
        // Where the display server places windows itself, the size is all
        // that can be restored.
        if (placeable)
            setGeometry(normal);
        else
            resize(normal.size());
    }
    if (placement->state == 2)
        setWindowState(Qt::WindowMaximized);
    else if (placement->state == 1)
        setWindowState(Qt::WindowMinimized);
}

void BrowserWindow::savePlacement() {
    QSettings store(S("Morvane"), S("Morvane"));
    const int state = isMaximized() ? 2 : isMinimized() ? 1 : 0;
    // A maximized or minimized window still knows its normal placement.
    writeBrowserPlacement(store, {state, state == 0 ? geometry() : normalGeometry()});
}

LazyBrowser::LazyBrowser(AppContext& ctx) : m_ctx(ctx) {}

LazyBrowser::~LazyBrowser() = default;

void LazyBrowser::show(const QString& file) {
    if (!m_window && !webEngineAvailable()) {
        if (m_ctx.seams.shell)
            m_ctx.seams.shell->open(file);
        return;
    }
    if (!m_window)
        m_window = std::make_unique<BrowserWindow>(m_ctx);
    m_window->show(file);
}

void LazyBrowser::reloadKeepingScroll(const QString& file) {
    if (m_window)
        m_window->reloadKeepingScroll(file);
    else
        show(file);
}

void LazyBrowser::reloadIfShowing(const QString& file) {
    if (m_window)
        m_window->reloadIfShowing(file);
}

void LazyBrowser::savePlacement() {
    if (m_window)
        m_window->savePlacement();
}

bool isStandAloneViewer(const QString& executableName) {
    return QFileInfo(executableName).fileName() != S("morvane");
}

int runStandAloneViewer(AppContext& ctx, const QString& commandLineFile) {
    const QString start = commandLineFile.isEmpty()
                              ? QString()
                              : longPathOf(fullPathOf(commandLineFile, QDir::currentPath()));
    if (!webEngineAvailable()) {
        if (start.size() >= 2 && ctx.seams.shell)
            ctx.seams.shell->open(start);
        return 1;
    }
    BrowserWindow window(ctx, nullptr, BrowserWindow::Role::StandAlone);
    installWindowMover(ctx);
    if (start.size() >= 2)
        window.show(start);
    else
        window.QMainWindow::show();
    const int status = QApplication::exec();
    window.savePlacement();
    return status;
}

} // namespace morvane
