// The window as a new user meets it, on a real X server with a window
// manager: a fresh program directory, every tab and dialog shown whole and on
// the screen with one Alt+letter per control, a conversion on every tab
// through keystrokes, and a never-ending document stopped from the keyboard.
// Screenshots of every step go to MORVANE_TEST_ARTEFACTS.

#include "app/optionhandlers.h"
#include "app/startup.h"
#include "drivers/conversionrig.h"
#include "pipeline/appcontext.h"
#include "platform/launcher.h"
#include "settings/optionsmodel.h"
#include "support/doubles.h"
#include "support/testhome.h"
#include "support/testmain.h"
#include "ui/consolewindow.h"
#include "ui/guistart.h"
#include "ui/mainwindow.h"
#include "ui/programlocationsdialog.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

using namespace morvane;

namespace {

// The letter Alt reaches a caption by, lower-cased; none for "&&" alone.
QChar mnemonicOf(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&')
            continue;
        if (caption[i + 1] != u'&')
            return caption[i + 1].toLower();
        ++i;
    }
    return {};
}

bool shownIn(const QWidget* widget, const QWidget* top) {
    return widget->isVisibleTo(top) && widget->window() == top;
}

// Every Alt+letter a window offers as it stands, with who offers it.
QMultiMap<QChar, QString> mnemonicsOf(const QWidget* top) {
    QMultiMap<QChar, QString> reach;
    const auto add = [&reach](const QString& caption, const QObject* who) {
        const QChar letter = mnemonicOf(caption);
        if (!letter.isNull())
            reach.insert(letter, who->objectName());
    };
    for (const QWidget* w : top->findChildren<QWidget*>()) {
        if (!shownIn(w, top))
            continue;
        if (const auto* button = qobject_cast<const QAbstractButton*>(w))
            add(button->text(), w);
        else if (const auto* label = qobject_cast<const QLabel*>(w); label && label->buddy())
            add(label->text(), w);
        else if (const auto* group = qobject_cast<const QGroupBox*>(w))
            add(group->title(), w);
        else if (const auto* bar = qobject_cast<const QTabBar*>(w))
            for (int i = 0; i < bar->count(); ++i)
                if (bar->isTabVisible(i))
                    add(bar->tabText(i), w);
    }
    return reach;
}

// Letters the design itself gives twice in one window; Alt+letter then
// moves the focus between the two, as the design's own window does.
const QStringList designsOwnClashes = {
    // the main window's tabs
    "Alt+a: chkClose, chkHacha", "Alt+a: chkClose, cmdAdvanced", "Alt+a: chkClose, chkReport_0",
    "Alt+a: chkClose, chkReport_1", "Alt+i: cmdlatex2htmlBrowse, lblTitle",
    // More Preferences
    "Alt+b: cmdBrowse, cmdBrowseTex",
    // Advanced Options For TeX4ht
    "Alt+f: chkFootnote, chkUseFrames, optFont_0", "Alt+g: optImageType_0, optImageType_3",
    "Alt+j: optImageType_2, optImageType_5", "Alt+m: chkOverlib, optFormat_4",
    "Alt+o: chkConfig, cmdConfig", "Alt+p: optImageType_1, optImageType_4",
    "Alt+v: chkNext, chkSave", "Alt+y: chkMathPlayer, chkPic_2"};

// Letters offered by more than one control, the design's own pairs apart.
QStringList clashesOf(const QWidget* top) {
    const QMultiMap<QChar, QString> reach = mnemonicsOf(top);
    QStringList clashes;
    for (const QChar letter : reach.uniqueKeys()) {
        QStringList who = reach.values(letter);
        who.sort();
        const QString clash = QStringLiteral("Alt+%1: %2").arg(letter, who.join(", "));
        if (who.size() > 1 && !designsOwnClashes.contains(clash))
            clashes << clash;
    }
    return clashes;
}

bool insideScrolledContent(const QWidget* w) {
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (qobject_cast<const QAbstractScrollArea*>(p))
            return true;
    return false;
}

// A caption that needs more room than its control has is cut on the screen.
bool captionCut(const QWidget* w) {
    const QSize room = w->size();
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        if (label->text().isEmpty() || !label->pixmap().isNull())
            return false;
        if (label->wordWrap())
            return label->heightForWidth(room.width()) > room.height();
        return label->sizeHint().width() > room.width();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
        if (button->text().isEmpty())
            return false;
        const QSize text = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
        const int width =
            qobject_cast<const QPushButton*>(w) ? text.width() : button->sizeHint().width();
        return width > room.width() || text.height() > room.height();
    }
    return false;
}

// Controls outside their parent, captions cut, and a window not wholly on its
// screen.
QStringList faultsOf(const QWidget* top) {
    QStringList faults;
    const QRect screen = top->screen()->availableGeometry();
    if (!screen.contains(top->frameGeometry()))
        faults << QStringLiteral("%1 at %2,%3 %4x%5 is not wholly on the screen")
                      .arg(top->objectName())
                      .arg(top->frameGeometry().x())
                      .arg(top->frameGeometry().y())
                      .arg(top->frameGeometry().width())
                      .arg(top->frameGeometry().height());
    for (const QWidget* w : top->findChildren<QWidget*>()) {
        if (!shownIn(w, top) || w->objectName().startsWith(QStringLiteral("qt_")) ||
            insideScrolledContent(w))
            continue;
        const QWidget* parent = w->parentWidget();
        if (parent && !parent->rect().contains(w->geometry()))
            faults << w->objectName() + QStringLiteral(" reaches outside ") + parent->objectName();
        if (captionCut(w))
            faults << w->objectName() + QStringLiteral(" shows its caption cut");
    }
    return faults;
}

// Tab from the tab strip reaches the shown tab's own controls before the
// lower frame's.
QStringList focusOrderFaults(QWidget* window) {
    auto* tabs = window->findChild<QTabBar*>(QStringLiteral("tbstrip"));
    auto* exit = window->findChild<QWidget*>(QStringLiteral("cmdExit"));
    auto* pages = window->findChild<QWidget*>(QStringLiteral("pageArea"));
    QStringList faults;
    bool pastExit = false;
    for (QWidget* w = tabs->nextInFocusChain(); w != tabs; w = w->nextInFocusChain()) {
        pastExit = pastExit || w == exit;
        if (pastExit && pages->isAncestorOf(w) && w->isVisible() &&
            (w->focusPolicy() & Qt::TabFocus))
            faults << w->objectName() + QStringLiteral(" comes after Exit");
    }
    return faults;
}

// The screen as the user sees it, kept with the build.
void screenshot(const QString& name) {
    const QString folder = qEnvironmentVariable("MORVANE_TEST_ARTEFACTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    QApplication::primaryScreen()->grabWindow(0).save(folder + u'/' + name + ".png");
}

// The dialog in front: the modal one, or a dialog shown before it became
// modal (Check Converters shows itself while it starts its checks).
QWidget* modalDialog() {
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible())
        return modal;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (qobject_cast<QDialog*>(top) && top->isVisible())
            return top;
    return nullptr;
}

// Runs `action` (which opens modal dialogs and returns when they are closed)
// and hands each dialog that comes up to `look` before closing it with Esc.
int lookAtDialogs(const std::function<void()>& action,
                  const std::function<void(QWidget* dialog)>& look) {
    int seen = 0;
    QTimer poll;
    poll.setInterval(150);
    QWidget* last = nullptr;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* dialog = modalDialog();
        if (!dialog)
            last = nullptr; // a dialog closed and shown again is looked at again
        if (!dialog || dialog == last || !dialog->windowHandle() ||
            !dialog->windowHandle()->isExposed())
            return;
        last = dialog;
        ++seen;
        look(dialog);
        QTest::keyClick(dialog, Qt::Key_Escape);
        if (auto* still = qobject_cast<QDialog*>(modalDialog()); still == dialog)
            still->reject();
    });
    poll.start();
    action();
    return seen;
}

// Alt+letter as the user types it: into the window, once it is the active
// one again (a dialog that just closed hands the activation back late).
void altKey(QWidget* window, char key) {
    if (QApplication::activeWindow() != window) {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }
    QTest::keyClick(window, Qt::Key(QChar(key).toUpper().unicode()), Qt::AltModifier);
    // A button reached by its letter clicks itself a moment later.
    QTest::qWait(250);
}

// Opens a tab as the user does: Alt+its letter, or a click on a tab whose
// caption has no letter.
void openTab(QWidget* window, char key, const QString& caption) {
    if (key) {
        altKey(window, key);
        return;
    }
    auto* tabs = window->findChild<QTabBar*>(QStringLiteral("tbstrip"));
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->tabText(i) == caption) {
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(i).center());
            QTest::qWait(250);
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no tab ") + caption));
}

} // namespace

// A list of faults that should be empty, shown in full when it is not.
#define QVERIFY_NONE(list)                                                                         \
    do {                                                                                           \
        const QStringList found = (list);                                                          \
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral("; "))));                   \
    } while (false)

class TestWindowWalkE2e : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (QGuiApplication::platformName() != QStringLiteral("xcb"))
            QSKIP("needs a real X server: its CTest entry starts one");
        if (QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty())
            QSKIP("openbox is not installed (scripts/install-deps.sh installs it)");
        const QString ready = m_work.filePath("wm-ready");
        m_windowManager.start(QStringLiteral("openbox"),
                              {QStringLiteral("--startup"), QStringLiteral("touch ") + ready});
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(ready), 10000);
        QVERIFY(
            test::copyTree(QStringLiteral(MORVANE_SOURCE_DIR "/examples/sample"), m_work.path()));
        m_paper = m_work.filePath("paper.tex");
        m_original = test::readAll(m_paper);

        // A fresh program directory puts the output folders in the home
        // folder: here, one of the test's own.
        qputenv("HOME", QFile::encodeName(m_outputRoot.path()));
        m_ctx.programDir = m_home.path();
        m_ctx.model = &m_model;
        m_ctx.seams.prompter = &m_prompter;
        m_ctx.seams.shell = &m_shell;
        m_ctx.seams.launcher = &m_launcher;
        m_ctx.seams.consoles = &m_consoles;
        m_ctx.seams.quitProgram = [] {};
        connectOptionHandlers(m_ctx);
        QVERIFY(loadStep(m_ctx, m_paper));
        m_window = std::make_unique<MainWindow>(m_ctx);
        m_consoles.setOwner(m_window.get());
        installMainKeys(m_ctx, *m_window);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    void cleanupTestCase() {
        m_window.reset();
        m_windowManager.terminate();
        m_windowManager.waitForFinished();
    }

    // A fresh program directory: the first start shows Program Locations.
    void firstStartShowsProgramLocations() {
        QVERIFY(m_ctx.settings.vars.firstTime);
        const int seen =
            lookAtDialogs([this] { openProgramLocations(m_ctx, m_window.get(), true); },
                          [](QWidget* dialog) {
                              screenshot(QStringLiteral("dialog-program-locations-first-start"));
                              QVERIFY_NONE(faultsOf(dialog));
                              QVERIFY_NONE(clashesOf(dialog));
                          });
        QCOMPARE(seen, 1);
    }

    void everyTabIsWhole_data() {
        QTest::addColumn<char>("key");
        QTest::addColumn<QString>("name");
        for (const auto& [key, name] : tabKeys())
            QTest::newRow(qPrintable(name)) << key << name;
    }
    void everyTabIsWhole() {
        QFETCH(char, key);
        QFETCH(QString, name);
        openTab(m_window.get(), key, name);
        QCOMPARE(m_window->findChild<QTabBar*>("tbstrip")->tabText(
                     m_window->findChild<QTabBar*>("tbstrip")->currentIndex()),
                 name);
        QTest::qWait(100);
        screenshot(QStringLiteral("tab-") + QString(name).remove(u'&'));
        QVERIFY_NONE(faultsOf(m_window.get()));
        QVERIFY_NONE(clashesOf(m_window.get()));
        QVERIFY_NONE(focusOrderFaults(m_window.get()));
        // The list of running conversions says what it is.
        auto* processes = m_window->findChild<QWidget*>("lstProcesses");
        const QList<QLabel*> labels = m_window->findChildren<QLabel*>();
        QVERIFY(!processes->isVisible() ||
                std::any_of(labels.cbegin(), labels.cend(), [processes](QLabel* label) {
                    return label->buddy() == processes && label->isVisible();
                }));
    }

    // Each dialog a button opens comes up whole, on the screen, with one Alt
    // letter per control.
    void everyDialogIsWhole_data() {
        QTest::addColumn<char>("tab");
        QTest::addColumn<char>("toggle"); // a box that shows the button, ticked and unticked
        QTest::addColumn<QString>("button");
        QTest::newRow("Save Configuration") << 'v' << 's' << "cmdSaveConfig";
        QTest::newRow("Advanced Options For TeX4ht") << '4' << '\0' << "cmdAdvanced";
        QTest::newRow("LaTeX2HTML init file") << '2' << '\0' << "cmdInit";
        QTest::newRow("PDF batch files") << 'p' << 'g' << "cmdBat";
        QTest::newRow("Program Locations") << 'h' << '\0' << "cmdProgLoc";
        QTest::newRow("More Preferences") << 'h' << '\0' << "cmdMore";
        QTest::newRow("Check Converters") << 'h' << '\0' << "cmdCheck";
    }
    void everyDialogIsWhole() {
        QFETCH(char, tab);
        QFETCH(char, toggle);
        QFETCH(QString, button);
        altKey(m_window.get(), tab);
        if (toggle)
            altKey(m_window.get(), toggle);
        auto* opener = m_window->findChild<QAbstractButton*>(button);
        QVERIFY(opener && opener->isVisible() && opener->isEnabled());
        const int seen = lookAtDialogs([opener] { QTest::mouseClick(opener, Qt::LeftButton); },
                                       [button](QWidget* dialog) {
                                           screenshot(QStringLiteral("dialog-") + button);
                                           QVERIFY_NONE(faultsOf(dialog));
                                           QVERIFY_NONE(clashesOf(dialog));
                                       });
        QVERIFY2(seen >= 1, "no dialog came up");
        QVERIFY(!modalDialog());
        if (toggle)
            altKey(m_window.get(), toggle);
    }

    // Alt+tab letter, Alt+C: every route converts the example through the
    // keyboard; the console stays on the screen and the source is untouched.
    void convertsOnEveryTab_data() {
        QTest::addColumn<char>("key");
        QTest::addColumn<QString>("name");
        for (const auto& [key, name] : tabKeys())
            if (key != 'h')
                QTest::newRow(qPrintable(QString(name).remove(u'&'))) << key << name;
    }
    void convertsOnEveryTab() {
        QFETCH(char, key);
        QFETCH(QString, name);
        openTab(m_window.get(), key, name);
        QStringList consoleFaults;
        QTimer look;
        look.setInterval(300);
        QObject::connect(&look, &QTimer::timeout, [&consoleFaults] {
            QWidget* console = visibleConsole();
            if (console && consoleFaults.isEmpty()) {
                screenshot(QStringLiteral("console-") + QTest::currentDataTag());
                consoleFaults = faultsOf(console);
                consoleFaults << QStringLiteral("(looked)");
            }
        });
        look.start();
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        altKey(m_window.get(), 'c');
        QTRY_VERIFY_WITH_TIMEOUT(m_window->findChild<QAbstractButton*>("cmdConvert")->isEnabled(),
                                 180000);
        look.stop();
        screenshot(QStringLiteral("converted-") + QTest::currentDataTag());
        consoleFaults.removeAll(QStringLiteral("(looked)"));
        QVERIFY_NONE(consoleFaults);
        // "Saved as" a file beside the document, or pages in a new folder.
        const QString saved = m_window->findChild<QLabel*>("lblPath")->text();
        QString result = saved.section(u'\n', 1);
        if (saved.startsWith(QStringLiteral("Files saved in new directory\n"))) {
            QVERIFY2(result.startsWith(m_outputRoot.path()), qPrintable(result));
            result = QDir(result).filePath(QStringLiteral("paper.html"));
        } else {
            QVERIFY2(saved.startsWith(QStringLiteral("Saved as\n")), qPrintable(saved));
        }
        QVERIFY2(QFileInfo(result).size() > 0, qPrintable(result + " is missing or empty"));
        QVERIFY2(QFileInfo(result).lastModified() >= before, "no conversion ran");
        QVERIFY(m_window->findChild<QAbstractButton*>("cmdShow")->isEnabled());
        QCOMPARE(test::readAll(m_paper), m_original);
    }

    // Single mode: a document that never ends is stopped with Esc on the
    // console; its whole group ends within two seconds.
    void stopsANeverEndingDocumentFromTheKeyboard() {
        const QString never = m_work.filePath("never.tex");
        QFile file(never);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\\documentclass{article}\n\\begin{document}\nx\\loop\\iftrue\\repeat\n"
                   "\\end{document}\n");
        file.close();
        altKey(m_window.get(), 'p');
        auto* fileBox = m_window->findChild<QComboBox*>("cmbTeX");
        fileBox->lineEdit()->selectAll();
        QTest::keyClicks(fileBox->lineEdit(), never);
        QTest::keyClick(fileBox->lineEdit(), Qt::Key_Return);

        QElapsedTimer sinceEsc;
        QTimer stopper;
        stopper.setInterval(200);
        int ticks = 0;
        QObject::connect(&stopper, &QTimer::timeout, [&] {
            QWidget* console = visibleConsole();
            // Once pdflatex has opened its log it has a moment to loop.
            if (!console || !QFileInfo::exists(m_work.filePath("never.log")) || ++ticks < 3)
                return;
            screenshot(QStringLiteral("console-never-ending"));
            stopper.stop();
            console->activateWindow();
            sinceEsc.start();
            QTest::keyClick(console, Qt::Key_Escape);
        });
        stopper.start();
        altKey(m_window.get(), 'c');
        QTRY_VERIFY_WITH_TIMEOUT(
            sinceEsc.isValid() && m_window->findChild<QAbstractButton*>("cmdConvert")->isEnabled(),
            120000);
        QVERIFY2(sinceEsc.elapsed() < 2000, qPrintable(QString::number(sinceEsc.elapsed())));
        QProcess pgrep; // no pdflatex is left running
        pgrep.start("pgrep", {"-f", never});
        QVERIFY(pgrep.waitForFinished());
        QCOMPARE(pgrep.exitCode(), 1);
        QVERIFY(!QFileInfo::exists(m_work.filePath("never.pdf")));
    }

private:
    static QWidget* visibleConsole() {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QStringLiteral("frmConsole") && top->isVisible())
                return top;
        return nullptr;
    }

    // Each tab with its Alt letter; LaTeXML has none (every letter of its
    // name is taken), so it is clicked.
    static QList<std::pair<char, QString>> tabKeys() {
        return {{'v', "He&VeA"}, {'t', "&TtH"}, {'4', "TeX&4ht"},  {'2', "LaTeX&2HTML"},
                {'d', "&DVI"},   {'p', "&PDF"}, {'\0', "LaTeXML"}, {'h', "&Help"}};
    }

    QTemporaryDir m_work;
    QTemporaryDir m_outputRoot;
    QProcess m_windowManager;
    QString m_paper;
    QByteArray m_original;
    test::TestHome m_home;
    OptionsModel m_model;
    ScriptedPrompter m_prompter;
    RecordingShell m_shell;
    QProcessLauncher m_launcher;
    QtConsoleFactory m_consoles;
    AppContext m_ctx;
    std::unique_ptr<MainWindow> m_window;
};

MORVANE_TEST_MAIN(TestWindowWalkE2e)
#include "tst_windowwalk_e2e.moc"
