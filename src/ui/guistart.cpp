#include "ui/guistart.h"

#include "app/inicommands.h"
#include "app/optionhandlers.h"
#include "app/startup.h"
#include "pipeline/appcontext.h"
#include "pipeline/resultdisplay.h"
#include "platform/bytenames.h"
#include "platform/launcher.h"
#include "platform/lazyservices.h"
#include "platform/pathutils.h"
#include "platform/pointershape.h"
#include "platform/processgroup.h"
#include "platform/programdir.h"
#include "platform/prompter.h"
#include "platform/runjournal.h"
#include "platform/shell.h"
#include "platform/volumes.h"
#include "settings/optionsmodel.h"
#include "ui/browserwindow.h"
#include "ui/changelinkdialog.h"
#include "ui/consolewindow.h"
#include "ui/deferredicon.h"
#include "ui/mainwindow.h"
#include "ui/programlocationsdialog.h"
#include "ui/qtfolderchooser.h"
#include "ui/qtprompter.h"
#include "ui/singleinstance.h"
#include "ui/windowmover.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

namespace morvane {

namespace {

// The main window previews every key: F1 opens the Help tab, and
// Ctrl+Shift+Alt+F12 puts the focus into the file box (the hand-over's
// old keystroke, kept for users who scripted it).
class MainKeys : public QObject {
public:
    MainKeys(AppContext& ctx, MainWindow& window)
        : QObject(&window), m_ctx(ctx), m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != &m_window)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods =
            key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        if (key->key() == Qt::Key_F1 && mods == Qt::NoModifier) {
            m_ctx.model->setIndex(ctl::tbstrip, helpTab(m_ctx.routes));
            return true;
        }
        if (key->key() == Qt::Key_F12 &&
            mods == (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) {
            m_window.focusFileBox();
            return true;
        }
        return false;
    }

private:
    AppContext& m_ctx;
    MainWindow& m_window;
};

void reportHandOver(const AppContext& ctx) {
    const QString report = qEnvironmentVariable("MORVANE_TEST_REPORT");
    if (report.isEmpty())
        return;
    QFile out(report);
    if (out.open(QIODevice::Append))
        out.write(ctx.model->text(ctl::cmbTeX).toUtf8() + '\n');
}

// The stand-alone viewer reads the settings only for the browser's placement.
int runViewer(const QString& programDir, const QString& commandLineFile) {
    OptionsModel model;
    QtPrompter prompter;
    DesktopShell shell;
    AppContext ctx;
    ctx.programDir = programDir;
    ctx.model = &model;
    ctx.seams.prompter = &prompter;
    ctx.seams.shell = &shell;
    if (QFile::exists(iniPath(ctx)))
        readini(ctx);
    return runStandAloneViewer(ctx, commandLineFile);
}

} // namespace

void installPointerHandlers() {
    PointerOverride::setHandlers(
        [](PointerShape shape) {
            QGuiApplication::setOverrideCursor(
                QCursor(shape == PointerShape::Busy ? Qt::WaitCursor : Qt::ArrowCursor));
        },
        [] { QGuiApplication::restoreOverrideCursor(); });
}

QString handOverText(const QString& commandLineFile, const QString& currentDir) {
    if (commandLineFile.isEmpty())
        return {};
    return longPathOf(fullPathOf(commandLineFile, currentDir));
}

void installMainKeys(AppContext& ctx, MainWindow& window) {
    qApp->installEventFilter(new MainKeys(ctx, window));
}

void receiveHandOver(AppContext& ctx, MainWindow& window, const QString& file) {
    if (!file.isEmpty())
        ctx.model->setText(ctl::cmbTeX, file);
    if (window.isMinimized())
        window.showNormal();
    else
        window.show();
    window.raise();
    window.activateWindow();
    window.focusFileBox();
    reportHandOver(ctx);
}

int runGui(int& argc, char** argv) {
    // The built-in browser's web engine needs this before the application.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    installPointerHandlers();
    // The icon theme's when installed, else the one built in; looked up when
    // the desktop first asks for it.
    QApplication::setWindowIcon(deferredIcon([] {
        return QIcon::fromTheme(QStringLiteral("org.morvane.Morvane"),
                                QIcon(QStringLiteral(":/icons/morvane.svg")));
    }));
    QCoreApplication::setOrganizationName(QStringLiteral("Morvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Morvane"));

    // The application took its own options out of argc and argv: one argument
    // left whose bytes are not valid text is a file in such a folder.
    const ReachableName reached =
        argc == 2 && !decodesWhole(argv[1]) ? reachableName(argv[1]) : ReachableName();
    // Quotes around the file (as a shortcut passes it) go either way.
    const QString commandLineFile = commandLineFileOf(
        reached.name.isEmpty() ? app.arguments().mid(1) : QStringList{reached.name});
    const QString programDir = resolveProgramDirectory(currentProgramDirectoryInputs());
    keepPerUserStoreIn(qEnvironmentVariable("MORVANE_HOME"));
    // Started under another name (a link to the executable), the program is
    // a page viewer and nothing else. The name is the one it was started
    // by: the executable's own path would see through the link.
    if (argc > 0 && isStandAloneViewer(QString::fromLocal8Bit(argv[0])))
        return runViewer(programDir, commandLineFile);

    SingleInstance instance(SingleInstance::serverNameFor(programDir));
    if (!instance.claim(handOverText(commandLineFile, QDir::currentPath())))
        return 0;
    registerProgram(QCoreApplication::applicationFilePath());
    // Before the file box checks its file: a killed run may have left the
    // document's folder under another name.
    const QStringList restored = journal::recoverDeadRuns();
    // A closed terminal, Ctrl+C or a TERM ends the converters and leaves
    // every event loop, so that running conversions put names back.
    stopProcessGroupsOnSignals();
    QSocketNotifier stopSignals(stopSignalDescriptor(), QSocketNotifier::Read);
    QObject::connect(&stopSignals, &QSocketNotifier::activated, &app, [] {
        drainStopSignals();
        QCoreApplication::exit(1);
    });

    OptionsModel model;
    QtPrompter prompter;
    DesktopShell shell;
    QProcessLauncher launcher;
    QtConsoleFactory consoles;
    QtFolderChooser folders;
    SystemVolumeTable volumes;
    DialogLinkQuestion linkQuestion;
    // Qt Network and libcups load when the update check or the PDF set-up
    // first needs them.
    LazyDownloader downloader;
    LazyPrinterList printers;

    AppContext ctx;
    ctx.programDir = programDir;
    ctx.model = &model;
    ctx.seams.prompter = &prompter;
    ctx.seams.shell = &shell;
    ctx.seams.launcher = &launcher;
    ctx.seams.consoles = &consoles;
    ctx.seams.folders = &folders;
    ctx.seams.downloader = &downloader;
    ctx.seams.printers = &printers;
    ctx.seams.volumes = &volumes;
    ctx.seams.linkQuestion = &linkQuestion;
    LazyBrowser browser(ctx);
    ctx.seams.viewer = &browser;
    // "Close after running": leave every event loop at once, saving nothing.
    ctx.seams.quitProgram = [] { QCoreApplication::exit(0); };

    // Connected before the settings are read, so that a value from
    // Morvane.ini brings its dependent controls into line as a click does.
    connectOptionHandlers(ctx);
    if (!loadStep(ctx, commandLineFile))
        return 1;

    QPointer<MainWindow> window = new MainWindow(ctx);
    window->setAttribute(Qt::WA_DeleteOnClose);
    prompter.setOwner(window);
    consoles.setOwner(window);
    shell.setOpenFailureReport([&prompter](const OpenFailure& failure) {
        prompter.tell(viewerFailureText(failure), QStringLiteral("Open File"), Icon::Exclamation);
    });
    installMainKeys(ctx, *window);
    QObject::connect(&instance, &SingleInstance::received, window,
                     [&ctx, window](const QString& file) { receiveHandOver(ctx, *window, file); });
    // The program ends with its main window, even while the browser is open.
    app.setQuitOnLastWindowClosed(false);
    QObject::connect(window, &QObject::destroyed, &app, &QCoreApplication::quit);

    ctx.loading = true;
    window->show();
    installWindowMover(ctx);
    const bool quitWhenShown = qEnvironmentVariableIsSet("MORVANE_QUIT_WHEN_SHOWN");
    // A run that only checks that the window comes up asks nothing.
    if (ctx.settings.vars.firstTime && !quitWhenShown)
        openProgramLocations(ctx, window, true);
    window->focusFileBox();
    if (!restored.isEmpty())
        prompter.tell(restoredAfterCrashText(restored), QStringLiteral("Morvane"),
                      Icon::Information);
    upgradeNoticeStep(ctx);
    ctx.loading = false;

    if (quitWhenShown)
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    const int status = app.exec();
    delete window;
    return status;
}

} // namespace morvane

// The entry the executable resolves when it loads this library for the window.
extern "C" Q_DECL_EXPORT int morvane_run_gui(int* argc, char** argv) {
    return morvane::runGui(*argc, argv);
}
