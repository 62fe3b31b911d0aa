#include "app/optionhandlers.h"
#include "pipeline/appcontext.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "settings/optionsmodel.h"
#include "support/doubles.h"
#include "support/testhome.h"
#include "support/testmain.h"
#include "ui/mainwindow.h"
#include "windowfixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <QUrl>
#include <memory>

using namespace morvane;

namespace {

using Fixture = test::WindowFixture;

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void formHasEveryControl_data();
    void formHasEveryControl();
    void tabStripCaptions();

    void checkBoxRoundTrip();
    void optionGroupRoundTrip();
    void comboRoundTrip();
    void editableComboIsTheFileBox();
    void textBoxRoundTrip();
    void listRoundTrip();
    void viewAspectsFollowModel();
    void modelValuesWinOverFormAtConstruction();

    void tabChangeHidesSharedFrameOnHelp();
    void browserChoiceSurvivesDviTab();
    void backslashTypedInImagesBox();
    void escapeTogglesManualCommandLine();
    void chosenFragmentGoesInAtTheCaret();
    void doubleClickTogglesManualCommandLine();
    void convertWithEmptyFileBoxPrompts();
    void droppedFilesFillTheFileBox();
    void coverOfStyleListTicksIncludeStyles();
    void arrowButtonsMoveStyles();
};

// Every control named on the main window, with its class and caption (empty
// caption: the control shows none of its own, or logic sets it).
void TestMainWindow::formHasEveryControl_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("caption");
    auto row = [](const char* name, const char* type, const char* caption = "") {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(type)
                            << QString::fromLatin1(caption);
    };
    // Tab strip, frames and the shared lower frame.
    row("tbstrip", "QTabBar");
    for (const char* frame : {"fraContainer_1", "fraContainer_2", "fraContainer_3",
                              "fraContainer_4", "fraContainer_5", "fraContainer_6", "fraHelp"})
        row(frame, "QWidget");
    row("Frame2", "QFrame");
    row("cmbTeX", "QComboBox");
    row("cmdBrowse", "QPushButton", "&Browse");
    row("cmdConvert", "QPushButton", "&Convert");
    row("cmdLog", "QPushButton", "View &Log");
    row("cmdShow", "QPushButton", "Sh&ow HTML file");
    row("cmdEditTex", "QPushButton", "Edit Tex File");
    row("chkIE", "QCheckBox", "&Run HTML file");
    row("chkClose", "QCheckBox", "Close &after running HTML file");
    row("optIE_1", "QRadioButton", "Use own &Web Browser");
    row("optIE_0", "QRadioButton", "Use &External Browser");
    row("lblPath", "QLabel");
    row("lstProcesses", "QListWidget");
    row("cmdExit", "QPushButton", "E&xit");
    // HeVeA.
    row("optOutput_0", "QRadioButton", "HTML");
    row("optOutput_1", "QRadioButton", "Text");
    row("optOutput_2", "QRadioButton", "Info");
    row("chkFrench", "QCheckBox", "French &Mode");
    row("cmbHeveaVerbose", "QComboBox");
    row("chkStyle", "QCheckBox", "Include &Style Files");
    row("List1", "QListWidget");
    row("lblListCover", "QLabel");
    row("cmdUp", "QPushButton");
    row("cmdDown", "QPushButton");
    row("Label17", "QLabel", "Excluded &File:");
    row("Label18", "QLabel",
        "Drag or use arrows to put styles in order that Hevea will use. Only those above the "
        "line will be used.");
    row("txtExclude", "QLineEdit");
    row("cmdSaveConfig", "QPushButton", "Save Co&nfiguration");
    row("cmdLoadConfig", "QPushButton", "Load Confi&guration");
    row("chkFix", "QCheckBox", "&Iterate for xrefs");
    row("Frame6", "QGroupBox");
    row("Frame12", "QGroupBox");
    row("chkVersion", "QCheckBox", "1.0&5 or later");
    row("optCode_0", "QRadioButton", "Byte");
    row("optCode_1", "QRadioButton", "Native");
    row("chkEsponja", "QCheckBox", "Espon&ja");
    row("chkHacha", "QCheckBox", "   H&acha");
    // TtH.
    row("chkItalics", "QCheckBox", "E&quations in italics");
    row("chkNumber", "QCheckBox", "&Number only one line of multi-line equations");
    row("chkInline", "QCheckBox", "&Inline graphics");
    row("chkRevise", "QCheckBox", "Revise HTML file to re&move @hour etc");
    // TeX4ht.
    row("lblSaveTo", "QLabel");
    row("cmdTex4htBrowse", "QPushButton", "Change D&irectory");
    row("chkImages", "QCheckBox", "Put i&mages in subdirectory");
    row("txtImages", "QLineEdit");
    row("chkHtrun", "QCheckBox", "&Use htrun");
    row("lblHtrun", "QLabel");
    row("chkSWP", "QCheckBox", "Use &Scientific Workplace");
    row("cmbPasses", "QComboBox");
    row("chkTex4htPause", "QCheckBox", "Pause a&fter DOS");
    row("cmdAdvanced", "QPushButton", "&Advanced...");
    row("lblManual", "QLabel", "Command line:");
    row("txt3", "QPlainTextEdit");
    row("cmbFrags", "QComboBox");
    row("Label5", "QLabel", "May take a long time to convert");
    row("Label35", "QLabel");
    // LaTeX2HTML.
    row("lblSavelatex2", "QLabel");
    row("cmdlatex2htmlBrowse", "QPushButton", "Change D&irectory");
    row("optGifPng_0", "QRadioButton", "GIF");
    row("optGifPng_1", "QRadioButton", "PNG");
    row("chkImageDir", "QCheckBox", "Use Subdirectory");
    row("chkNavigation", "QCheckBox", "Navigation Lin&ks");
    row("cmbSplit", "QComboBox");
    row("cmbVerbosity", "QComboBox");
    row("cmbAbout", "QComboBox");
    row("cmbAddress", "QComboBox");
    row("cmbTitle", "QComboBox");
    row("chkAntiVirus", "QCheckBox", "Anti-Viru&s Reminder");
    row("cmdInit", "QPushButton", "Ad&just Init File");
    row("Label25", "QLabel", "May take a long time to convert");
    // DVI and PDF.
    row("chkTexify_0", "QCheckBox", "&Use TeX&ify");
    row("chkReport_0", "QCheckBox", "Report on wh&at is done");
    row("Label6", "QLabel");
    row("chkTexify_1", "QCheckBox", "Use TeX&ify");
    row("chkReport_1", "QCheckBox", "Report on wh&at is done");
    row("chkSWPGS", "QCheckBox", "Use SWP + &Ghostscript");
    row("Label15", "QLabel", "&Number of LaTeX passes:");
    row("cmbpdfPasses", "QComboBox");
    row("Label7", "QLabel");
    row("Label34", "QLabel", "Automating PDF production from SWP");
    row("cmdBat", "QPushButton", "&Setup batch files");
    // Help.
    row("cmdReadMe", "QPushButton", "&Readme File");
    row("cmdBatch", "QPushButton", "&Batch File");
    row("cmdEditIni", "QPushButton", "&INI File");
    row("cmdDeleteFileList", "QPushButton", "Delete &File List");
    row("cmdReadIni", "QPushButton", "Re&load INI");
    row("cmdProgLoc", "QPushButton", "Progra&m Locations");
    row("chkMulti", "QCheckBox", "Allow multiple &conversions");
    row("cmdMore", "QPushButton", "M&ore ...");
    row("chkSettings", "QCheckBox", "S&ave Browser Window Size && Position");
    row("chkSave", "QCheckBox", "&Save Preferences");
    row("chkWarning", "QCheckBox", "&Warn if command line is too long");
    row("cmbTabs", "QComboBox");
    row("cmdHelpExit", "QPushButton", "E&xit");
    row("Label10", "QLabel");
    row("Label11", "QLabel");
    row("Label19", "QLabel", "Hevea 1.05");
    row("Label20", "QLabel", "Hevea for SWP");
    row("Label21", "QLabel", "TeX4ht for MiKTeX");
    row("Label22", "QLabel", "TeX4ht for SWP");
    row("Label31", "QLabel", "Installation with MiKTeX");
    row("Label32", "QLabel", "Anti-Virus Problem");
    row("cmdUpdate", "QPushButton", "Update Chec&k");
    row("lblVersion", "QLabel");
    row("lblDateTime", "QLabel");
    row("lblDummy", "QLabel");
}

void TestMainWindow::formHasEveryControl() {
    QFETCH(QString, name);
    QFETCH(QString, type);
    QFETCH(QString, caption);
    Fixture f;
    const QList<QWidget*> found = f.window->findChildren<QWidget*>(name);
    QCOMPARE(found.size(), 1);
    QWidget* w = found.first();
    QVERIFY2(w->inherits(type.toLatin1()), w->metaObject()->className());
    if (caption.isEmpty())
        return;
    QString shown;
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        shown = b->text();
    else if (auto* l = qobject_cast<QLabel*>(w))
        shown = l->text();
    QCOMPARE(shown, caption);
    // The model knows the form's caption too.
    QCOMPARE(f.model.caption(name), caption);
}

void TestMainWindow::tabStripCaptions() {
    Fixture f;
    auto* bar = f.find<QTabBar>("tbstrip");
    QVERIFY(bar);
    const QStringList expected = {"He&VeA", "&TtH", "TeX&4ht", "LaTeX&2HTML",
                                  "&DVI",   "&PDF", "&Help"};
    QCOMPARE(bar->count(), expected.size());
    for (int i = 0; i < bar->count(); ++i)
        QCOMPARE(bar->tabText(i), expected.at(i));
    bar->setCurrentIndex(3);
    QCOMPARE(f.model.index("tbstrip"), 4);
    f.model.setIndex("tbstrip", 6);
    QCOMPARE(bar->currentIndex(), 5);
}

void TestMainWindow::checkBoxRoundTrip() {
    Fixture f;
    auto* hacha = f.find<QCheckBox>("chkHacha");
    f.model.setChecked("chkHacha", true);
    QVERIFY(hacha->isChecked());
    hacha->click();
    QCOMPARE(f.model.checkValue("chkHacha"), 0);
    hacha->click();
    QCOMPARE(f.model.checkValue("chkHacha"), 1);
    // An array element keeps its own name.
    f.find<QCheckBox>("chkTexify_1")->click();
    QVERIFY(f.model.isChecked("chkTexify_1"));
    QVERIFY(!f.model.isChecked("chkTexify_0"));
}

void TestMainWindow::optionGroupRoundTrip() {
    Fixture f;
    f.find<QRadioButton>("optOutput_1")->click();
    QCOMPARE(f.model.index("optOutput"), 1);
    // The click ran the output-kind reaction, which the window shows.
    QCOMPARE(f.find<QCheckBox>("chkIE")->text(), QStringLiteral("&Run text file"));
    QCOMPARE(f.ctx.settings.vars.heveaOutputExtension, QStringLiteral("txt"));

    f.model.setIndex("optGifPng", 1);
    QVERIFY(f.find<QRadioButton>("optGifPng_1")->isChecked());
    QVERIFY(!f.find<QRadioButton>("optGifPng_0")->isChecked());
    // Groups are independent of each other.
    QVERIFY(f.find<QRadioButton>("optOutput_1")->isChecked());
    QVERIFY(f.find<QRadioButton>("optIE_0")->isChecked());
}

void TestMainWindow::comboRoundTrip() {
    Fixture f;
    auto* split = f.find<QComboBox>("cmbSplit");
    QCOMPARE(f.model.items("cmbSplit").size(), 10);
    f.model.setIndex("cmbSplit", 3);
    QCOMPARE(split->currentIndex(), 3);
    split->setCurrentIndex(5);
    QCOMPARE(f.model.index("cmbSplit"), 5);

    f.model.setItems("cmbTabs", {"HeVeA", "TtH", "TeX4ht"});
    f.model.setIndex("cmbTabs", 2);
    auto* tabs = f.find<QComboBox>("cmbTabs");
    QCOMPARE(tabs->count(), 3);
    QCOMPARE(tabs->currentText(), QStringLiteral("TeX4ht"));

    // Editable combos hold text.
    auto* about = f.find<QComboBox>("cmbAbout");
    f.model.setText("cmbAbout", "None");
    QCOMPARE(about->currentIndex(), 1);
    about->setEditText("My text");
    QCOMPARE(f.model.text("cmbAbout"), QStringLiteral("My text"));
}

void TestMainWindow::editableComboIsTheFileBox() {
    Fixture f;
    auto* box = f.find<QComboBox>("cmbTeX");
    f.model.setItems("cmbTeX", {"/docs/a.tex", "/docs/b.tex"});
    QCOMPARE(box->count(), 2);
    QVERIFY(box->currentText().isEmpty());
    box->setFocus();
    QTest::keyClicks(box->lineEdit(), "/docs/new.tex");
    QCOMPARE(f.model.text("cmbTeX"), QStringLiteral("/docs/new.tex"));
    box->setCurrentIndex(1);
    QCOMPARE(f.model.text("cmbTeX"), QStringLiteral("/docs/b.tex"));
    f.model.setText("cmbTeX", "/elsewhere/c.tex");
    QCOMPARE(box->currentText(), QStringLiteral("/elsewhere/c.tex"));
    // A new history keeps the text in the box.
    f.model.setItems("cmbTeX", {"/elsewhere/c.tex"});
    QCOMPARE(box->currentText(), QStringLiteral("/elsewhere/c.tex"));
}

void TestMainWindow::textBoxRoundTrip() {
    Fixture f;
    auto* exclude = f.find<QLineEdit>("txtExclude");
    f.model.setText("txtExclude", "book.hva");
    QCOMPARE(exclude->text(), QStringLiteral("book.hva"));
    exclude->setText("article.hva");
    QCOMPARE(f.model.text("txtExclude"), QStringLiteral("article.hva"));

    auto* txt3 = f.find<QPlainTextEdit>("txt3");
    f.model.setText("txt3", "htlatex paper");
    QCOMPARE(txt3->toPlainText(), QStringLiteral("htlatex paper"));
    // The form's default image folder reaches the model.
    QCOMPARE(f.model.text("txtImages"), QStringLiteral("images"));
}

void TestMainWindow::listRoundTrip() {
    Fixture f;
    auto* list = f.find<QListWidget>("List1");
    const QString separator(26, QLatin1Char('-'));
    f.model.setItems("List1", {separator, "a.hva", "b.hva"});
    QCOMPARE(list->count(), 3);
    f.model.setIndex("List1", 2);
    QCOMPARE(list->currentRow(), 2);
    list->setCurrentRow(1);
    QCOMPARE(f.model.index("List1"), 1);
    // Reordering in the widget reaches the model.
    QListWidgetItem* moved = list->takeItem(2);
    list->insertItem(0, moved);
    QCOMPARE(f.model.items("List1"), QStringList({"b.hva", separator, "a.hva"}));

    f.model.setItems("lstProcesses", {"/docs/a.tex"});
    QCOMPARE(f.find<QListWidget>("lstProcesses")->count(), 1);
}

void TestMainWindow::viewAspectsFollowModel() {
    Fixture f;
    auto* log = f.find<QPushButton>("cmdLog");
    f.model.setCaption("cmdLog", "Errors in &Log");
    f.model.setBold("cmdLog", true);
    QCOMPARE(log->text(), QStringLiteral("Errors in &Log"));
    QVERIFY(log->font().bold());
    f.model.setBold("cmdLog", false);
    QVERIFY(!log->font().bold());

    f.model.setEnabled("cmdShow", false);
    QVERIFY(!f.find<QPushButton>("cmdShow")->isEnabled());
    f.model.setVisible("Label35", true);
    QVERIFY(!f.find<QLabel>("Label35")->isHidden());
    f.model.setCaption("lblPath", "Saved as\n/docs/a.html");
    QCOMPARE(f.find<QLabel>("lblPath")->text(), QStringLiteral("Saved as\n/docs/a.html"));
}

void TestMainWindow::modelValuesWinOverFormAtConstruction() {
    test::TestHome home(false);
    OptionsModel model;
    ScriptedPrompter prompter;
    AppContext ctx;
    ctx.programDir = home.path();
    ctx.model = &model;
    ctx.seams.prompter = &prompter;
    ctx.settings.vars.upgradeNoticeShown = true;
    model.setChecked("chkFrench", true);
    model.setIndex("optIE", 1);
    model.setText("txtImages", "pics");
    model.setIndex("tbstrip", 4);
    model.setVisible("cmbFrags", true);
    MainWindow window(ctx);
    QVERIFY(window.findChild<QCheckBox*>("chkFrench")->isChecked());
    QVERIFY(window.findChild<QRadioButton*>("optIE_1")->isChecked());
    QCOMPARE(window.findChild<QLineEdit*>("txtImages")->text(), QStringLiteral("pics"));
    QCOMPARE(window.findChild<QTabBar*>("tbstrip")->currentIndex(), 3);
    QVERIFY(!window.findChild<QComboBox*>("cmbFrags")->isHidden());
}

void TestMainWindow::tabChangeHidesSharedFrameOnHelp() {
    Fixture f;
    auto* bar = f.find<QTabBar>("tbstrip");
    auto* frame2 = f.find<QWidget>("Frame2");
    bar->setCurrentIndex(6);
    QVERIFY(frame2->isHidden());
    QVERIFY(!f.find<QWidget>("fraHelp")->isHidden());
    QVERIFY(f.find<QWidget>("fraContainer_1")->isHidden());
    bar->setCurrentIndex(1);
    QVERIFY(!frame2->isHidden());
    QVERIFY(f.find<QWidget>("fraHelp")->isHidden());
    QVERIFY(!f.find<QWidget>("fraContainer_2")->isHidden());
}

void TestMainWindow::browserChoiceSurvivesDviTab() {
    Fixture f;
    auto* bar = f.find<QTabBar>("tbstrip");
    auto* external = f.find<QRadioButton>("optIE_0");
    f.find<QRadioButton>("optIE_1")->click();
    external->click();
    bar->setCurrentIndex(4);
    QVERIFY(!external->isEnabled());
    QCOMPARE(f.find<QCheckBox>("chkIE")->text(), QStringLiteral("&Run DVI file"));
    bar->setCurrentIndex(0);
    QVERIFY(external->isEnabled());
    QVERIFY(external->isChecked());
    QCOMPARE(f.model.index("optIE"), 0);
}

void TestMainWindow::backslashTypedInImagesBox() {
    Fixture f;
    auto* images = f.find<QLineEdit>("txtImages");
    images->setEnabled(true);
    images->setFocus();
    images->setCursorPosition(3);
    QTest::keyClicks(images, "\\");
    QCOMPARE(images->text(), QStringLiteral("ima/ges"));
    QCOMPARE(images->cursorPosition(), images->text().size());
    QCOMPARE(f.model.text("txtImages"), QStringLiteral("ima/ges"));
}

void TestMainWindow::escapeTogglesManualCommandLine() {
    Fixture f;
    auto* txt3 = f.find<QPlainTextEdit>("txt3");
    auto* label = f.find<QLabel>("lblManual");
    f.model.setItems("cmbFrags", {"-- Select a code fragment --", "\\HCode{}"});
    QVERIFY(txt3->isReadOnly());
    const QColor lockedBase = txt3->palette().color(QPalette::Base);

    QTest::keyClick(txt3, Qt::Key_Escape);
    QVERIFY(!txt3->isReadOnly());
    QCOMPARE(label->text(), QStringLiteral("Manual command line:"));
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::red));
    QVERIFY(txt3->palette().color(QPalette::Base) != lockedBase);
    QVERIFY(!f.find<QComboBox>("cmbFrags")->isHidden());

    QTest::keyClick(txt3, Qt::Key_Escape);
    QVERIFY(txt3->isReadOnly());
    QCOMPARE(label->text(), QStringLiteral("Command line:"));
    QCOMPARE(txt3->palette().color(QPalette::Base), lockedBase);
    QVERIFY(f.find<QComboBox>("cmbFrags")->isHidden());
}

void TestMainWindow::chosenFragmentGoesInAtTheCaret() {
    Fixture f;
    auto* txt3 = f.find<QPlainTextEdit>("txt3");
    auto* frags = f.find<QComboBox>("cmbFrags");
    f.model.setItems("cmbFrags", {"-- Select a code fragment --", " \"html,2\""});
    f.model.setText("txt3", "htlatex paper");
    f.window->show();
    QTextCursor cursor = txt3->textCursor();
    cursor.setPosition(7);
    txt3->setTextCursor(cursor);

    emit frags->activated(0);
    QCOMPARE(f.model.text("txt3"), QStringLiteral("htlatex paper"));
    emit frags->activated(1);
    QCOMPARE(f.model.text("txt3"), QStringLiteral("htlatex \"html,2\" paper"));
    QCOMPARE(txt3->textCursor().position(), 7);
}

void TestMainWindow::doubleClickTogglesManualCommandLine() {
    Fixture f;
    auto* txt3 = f.find<QPlainTextEdit>("txt3");
    f.model.setText("txt3", "htlatex paper \"html\"");
    QTest::mouseClick(txt3->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    QTest::mouseDClick(txt3->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    QCOMPARE(f.model.tag("txt3Locked"), QStringLiteral("no"));
    QVERIFY(!txt3->isReadOnly());
    QVERIFY(!txt3->textCursor().hasSelection());
    QTest::mouseDClick(txt3->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    QCOMPARE(f.model.tag("txt3Locked"), QStringLiteral("yes"));
    QCOMPARE(f.find<QLabel>("lblManual")->text(), QStringLiteral("Command line:"));
}

void TestMainWindow::convertWithEmptyFileBoxPrompts() {
    Fixture f;
    f.model.setIndex("tbstrip", 2);
    f.find<QPushButton>("cmdConvert")->click();
    QCOMPARE(f.prompter.prompts().size(), 1);
    const Prompt p = f.prompter.prompts().first();
    QCOMPARE(p.text, QStringLiteral("No TeX file!"));
    QCOMPARE(p.title, QStringLiteral("No TeX File"));
    QCOMPARE(p.buttons, Buttons::Ok);
}

void TestMainWindow::droppedFilesFillTheFileBox() {
    Fixture f;
    QMimeData twoFiles;
    twoFiles.setUrls(
        {QUrl::fromLocalFile("/docs/first.tex"), QUrl::fromLocalFile("/docs/second.tex")});
    QCOMPARE(firstDroppedFile(&twoFiles), QStringLiteral("/docs/first.tex"));

    // Dropped on the file box, whose line edit would take text itself.
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QWidget* target = f.find<QComboBox>("cmbTeX")->lineEdit();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &twoFiles, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &twoFiles, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QCOMPARE(f.model.text("cmbTeX"), QStringLiteral("/docs/first.tex"));

    // A list as a file manager offers it: the web address is passed over.
    QMimeData uriList;
    uriList.setData("text/uri-list",
                    "https://example.org/a.tex\r\nfile:///docs/my%20paper.tex\r\n");
    QDragEnterEvent uriEnter(QPoint(5, 5), Qt::CopyAction, &uriList, Qt::LeftButton,
                             Qt::NoModifier);
    QApplication::sendEvent(target, &uriEnter);
    QVERIFY(uriEnter.isAccepted());
    QDropEvent uriDrop(QPointF(5, 5), Qt::CopyAction, &uriList, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &uriDrop);
    QCOMPARE(f.model.text("cmbTeX"), QStringLiteral("/docs/my paper.tex"));
    QMimeData webOnly;
    webOnly.setData("text/uri-list", "https://example.org/a.tex\r\n");
    QVERIFY(firstDroppedFile(&webOnly).isEmpty());

    // Text that is not a file changes nothing.
    QMimeData text;
    text.setText("hello");
    QVERIFY(firstDroppedFile(&text).isEmpty());
    QDropEvent textDrop(QPointF(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.window.get(), &textDrop);
    QCOMPARE(f.model.text("cmbTeX"), QStringLiteral("/docs/my paper.tex"));
}

void TestMainWindow::coverOfStyleListTicksIncludeStyles() {
    Fixture f;
    f.model.setChecked("chkStyle", true);
    f.model.setChecked("chkStyle", false);
    QVERIFY(!f.find<QListWidget>("List1")->isEnabled());
    QTest::mouseClick(f.find<QLabel>("lblListCover"), Qt::LeftButton);
    QVERIFY(f.model.isChecked("chkStyle"));
    QVERIFY(f.find<QListWidget>("List1")->isEnabled());
}

void TestMainWindow::arrowButtonsMoveStyles() {
    Fixture f;
    const QString separator(26, QLatin1Char('-'));
    f.model.setChecked("chkStyle", true);
    f.model.setItems("List1", {separator, "a.hva", "b.hva"});
    f.find<QListWidget>("List1")->setCurrentRow(2);
    f.find<QPushButton>("cmdUp")->click();
    QCOMPARE(f.model.items("List1"), QStringList({separator, "b.hva", "a.hva"}));
    QCOMPARE(f.find<QListWidget>("List1")->currentRow(), 1);
    f.find<QPushButton>("cmdDown")->click();
    f.find<QPushButton>("cmdDown")->click();
    QCOMPARE(f.model.items("List1"), QStringList({separator, "a.hva", "b.hva"}));
    QCOMPARE(f.model.index("List1"), 2);
}

MORVANE_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
