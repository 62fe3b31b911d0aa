// The main window driving real conversions: the file box, the tab strip and
// the Convert, View Log and Show buttons, with the real hevea and tth.

#include "app/optionhandlers.h"
#include "app/startup.h"
#include "drivers/conversionrig.h"
#include "pipeline/appcontext.h"
#include "platform/launcher.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "settings/optionsmodel.h"
#include "support/doubles.h"
#include "support/testhome.h"
#include "support/testmain.h"
#include "ui/consolewindow.h"
#include "ui/mainwindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace morvane;

namespace {

struct Session {
    test::TestHome home;
    OptionsModel model;
    ScriptedPrompter prompter;
    RecordingShell shell;
    QProcessLauncher launcher;
    AppContext ctx;
    std::unique_ptr<MainWindow> window;

    bool start(const QString& file) {
        ctx.programDir = home.path();
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        ctx.seams.shell = &shell;
        ctx.seams.launcher = &launcher;
        ctx.seams.quitProgram = [] {};
        connectOptionHandlers(ctx);
        if (!loadStep(ctx, file))
            return false;
        window = std::make_unique<MainWindow>(ctx);
        window->show();
        return QTest::qWaitForWindowExposed(window.get());
    }
    template <typename T> T* find(const char* name) const {
        return window->widgetNamed<T>(QString::fromLatin1(name));
    }
    void click(const char* name) const {
        QTest::mouseClick(find<QAbstractButton>(name), Qt::LeftButton);
    }
};

} // namespace

class TestMainWindowE2e : public QObject {
    Q_OBJECT
private slots:
    void convertsThroughTheWindow() {
        QTemporaryDir work;
        QVERIFY(test::copyTree(QStringLiteral(MORVANE_SOURCE_DIR "/examples/sample"), work.path()));
        const QString paper = work.filePath("paper.tex");
        const QByteArray original = test::readAll(paper);

        Session s;
        QVERIFY(s.start(paper));
        auto* fileBox = s.find<QComboBox>("cmbTeX");
        QVERIFY(fileBox);
        QCOMPARE(fileBox->currentText(), paper);

        // HeVeA, without showing the result.
        s.find<QTabBar>("tbstrip")->setCurrentIndex(0);
        s.find<QCheckBox>("chkIE")->setChecked(false);
        s.find<QCheckBox>("chkHacha")->setChecked(false);
        s.click("cmdConvert");
        QVERIFY2(QFileInfo(work.filePath("paper.html")).size() > 0, "no page");
        QVERIFY(test::readAll(work.filePath("paper.hlog")).startsWith("Hevea log file for "));
        QVERIFY(s.find<QAbstractButton>("cmdLog")->isEnabled());
        QVERIFY(s.find<QAbstractButton>("cmdShow")->isEnabled());
        QCOMPARE(s.find<QLabel>("lblPath")->text(),
                 QString("Saved as\n" + work.path() + "/paper.html"));

        s.click("cmdLog");
        QCOMPARE(s.shell.opened, QStringList{work.filePath("paper.hlog")});

        // TtH on the second tab: the label and the log follow the route.
        s.find<QTabBar>("tbstrip")->setCurrentIndex(1);
        QCOMPARE(s.find<QAbstractButton>("cmdShow")->text(), QString("Sh&ow HTML file"));
        s.click("cmdConvert");
        QVERIFY2(QFileInfo(work.filePath("paper.htm")).size() > 0, "no TtH page");
        QVERIFY(test::readAll(work.filePath("paper.tlog")).startsWith("Tth log file for "));
        s.click("cmdLog");
        QCOMPARE(s.shell.opened.last(), work.filePath("paper.tlog"));

        // Show hands the page to the desktop browser when the external one is chosen.
        s.find<QAbstractButton>("optIE_0")->click();
        s.click("cmdShow");
        QCOMPARE(s.shell.opened.last(), work.filePath("paper.htm"));

        QCOMPARE(test::readAll(paper), original);
        QCOMPARE(s.model.items(ctl::cmbTeX).value(0), paper);
    }

    // A document that never ends: the console's Stop ends pdflatex, the run
    // shows nothing, its log stays viewable, and the next Convert works.
    void neverEndingDocumentIsStopped() {
        QTemporaryDir work;
        const QString never = work.filePath("never.tex");
        {
            QFile file(never);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("\\documentclass{article}\n\\begin{document}\nx\\loop\\iftrue\\repeat\n"
                       "\\end{document}\n");
        }
        QVERIFY(QFile::copy(test::sample2e(), work.filePath("sample2e.tex")));
        Session s;
        QtConsoleFactory consoles;
        s.ctx.seams.consoles = &consoles;
        test::setIniKey(s.home.file("Morvane.ini"), "UsePDF", "No");
        QVERIFY(s.start(never));
        s.find<QTabBar>("tbstrip")->setCurrentIndex(TabPdf - TabHevea);
        s.find<QCheckBox>("chkIE")->setChecked(false);

        bool stopPressed = false;
        int ticksWithConsole = 0;
        QTimer stopper;
        stopper.setInterval(200);
        QObject::connect(&stopper, &QTimer::timeout, [&] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                auto* stop = top->findChild<QAbstractButton*>("cmdStop");
                // Once pdflatex has opened its log, it has a moment to get
                // into the loop.
                if (top->objectName() == "frmConsole" && top->isVisible() && stop &&
                    QFileInfo::exists(work.filePath("never.log")) && ++ticksWithConsole > 2) {
                    stop->click();
                    stopPressed = true;
                    stopper.stop();
                }
            }
        });
        stopper.start();
        QElapsedTimer timer;
        timer.start();
        s.click("cmdConvert");
        QVERIFY(stopPressed);
        QVERIFY(timer.elapsed() < 60000);
        QVERIFY(!QFileInfo::exists(work.filePath("never.pdf")));
        QProcess pgrep; // no pdflatex is left running
        pgrep.start("pgrep", {"-f", never});
        QVERIFY(pgrep.waitForFinished());
        QCOMPARE(pgrep.exitCode(), 1);
        QVERIFY(s.shell.opened.isEmpty());
        QVERIFY(s.find<QAbstractButton>("cmdLog")->isEnabled());
        s.click("cmdLog");
        QCOMPARE(s.shell.opened, QStringList{work.filePath("never.log")});

        s.find<QComboBox>("cmbTeX")->setCurrentText(work.filePath("sample2e.tex"));
        s.click("cmdConvert");
        QVERIFY(QFileInfo(work.filePath("sample2e.pdf")).size() > 0);
        QVERIFY(s.find<QAbstractButton>("cmdShow")->isEnabled());
    }
};

MORVANE_TEST_MAIN(TestMainWindowE2e)
#include "tst_mainwindow_e2e.moc"
