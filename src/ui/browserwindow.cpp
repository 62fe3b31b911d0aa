#include "ui/browserwindow.h"

#include "pipeline/appcontext.h"
#include "platform/shell.h"
#include "settings/browserplacement.h"
#include "ui/webengineloader.h"
#include "ui/windowmover.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSettings>
#include <QVBoxLayout>

namespace morvane {

namespace {

QUrl urlOf(const QString& address) {
    if (address.contains(QStringLiteral("://")))
        return QUrl(address);
    return QUrl::fromLocalFile(address);
}

} // namespace

BrowserWindow::BrowserWindow(AppContext& ctx, QWidget* parent) : QWidget(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("frmBrowser"));
    resize(800, 600);

    auto* label = new QLabel(QStringLiteral("&Address:"), this);
    label->setObjectName(QStringLiteral("lblAddress"));
    m_address = new QComboBox(this);
    m_address->setObjectName(QStringLiteral("cboAddress"));
    m_address->setEditable(true);
    m_address->setInsertPolicy(QComboBox::NoInsert);
    m_address->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    label->setBuddy(m_address);
    m_view = createWebEngineView(this);
    m_view->setObjectName(QStringLiteral("brwWebBrowser"));

    auto* bar = new QHBoxLayout;
    bar->addWidget(label);
    bar->addWidget(m_address);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_view, 1);

    connect(m_address, &QComboBox::textActivated, this, [this](const QString& address) {
        if (!m_updatingHistory)
            navigate(address);
    });
    // The view is known only by its meta-object (see createWebEngineView).
    connect(m_view, SIGNAL(titleChanged(QString)), this, SLOT(setWindowTitle(QString)));
    connect(m_view, SIGNAL(loadFinished(bool)), this, SLOT(rememberAddress()));
    restorePlacement();
}

QString BrowserWindow::normalisedAddress(const QUrl& url) {
    return url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded);
}

void BrowserWindow::show(const QString& file) {
    m_address->setEditText(file);
    navigate(file);
    QWidget::show();
    raise();
    activateWindow();
}

bool BrowserWindow::isShowing(const QString& file) const {
    return isVisible() && m_view && normalisedAddress(m_view->property("url").toUrl()) == file;
}

void BrowserWindow::reloadKeepingScroll(const QString& file) {
    if (isShowing(file))
        reloadWebViewKeepingScroll(m_view);
    else
        show(file);
}

void BrowserWindow::reloadIfShowing(const QString& file) {
    if (isShowing(file))
        reloadWebViewKeepingScroll(m_view);
}

void BrowserWindow::navigate(const QString& address) {
    m_view->setProperty("url", urlOf(address));
}

void BrowserWindow::rememberAddress() {
    const QString address = normalisedAddress(m_view->property("url").toUrl());
    m_updatingHistory = true;
    const int old = m_address->findText(address, Qt::MatchExactly);
    if (old >= 0)
        m_address->removeItem(old);
    if (!address.isEmpty())
        m_address->insertItem(0, address);
    m_address->setCurrentIndex(0);
    m_updatingHistory = false;
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
    if (!m_ctx.model->isChecked(QStringLiteral("chkSettings")))
        return;
    QSettings store(QStringLiteral("Morvane"), QStringLiteral("Morvane"));
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
    QSettings store(QStringLiteral("Morvane"), QStringLiteral("Morvane"));
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

} // namespace morvane
