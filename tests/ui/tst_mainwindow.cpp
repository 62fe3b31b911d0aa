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
    void formCaptions_data();
    void formCaptions();
    void everyControlIsOneWidget();
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

// The captions the forms give their controls; those the model knows it holds
// too. (tst_controlnames holds every control name against the forms.)
void TestMainWindow::formCaptions_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    auto row = [](const char* name, const char* caption) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(caption);
    };
    row("cmdBrowse", "&Browse");
    row("cmdConvert", "&Convert");
    row("cmdLog", "View &Log");
    row("cmdShow", "Sh&ow HTML file");
    row("cmdEditTex", "Edit Tex File");
    row("chkIE", "&Run HTML file");
    row("chkClose", "Close &after running HTML file");
    row("optIE_1", "Use own &Web Browser");
    row("optIE_0", "Use &External Browser");
    row("cmdExit", "E&xit");
    row("optOutput_0", "HTML");
    row("optOutput_1", "Text");
    row("optOutput_2", "Info");
    row("chkFrench", "French &Mode");
    row("chkStyle", "Include &Style Files");
    row("Label17", "Excluded &File:");
    row("Label18",
        "Drag or use arrows to put styles in order that Hevea will use. Only those above "
        "the line will be used.");
    row("cmdSaveConfig", "Save Co&nfiguration");
    row("cmdLoadConfig", "Load Confi&guration");
    row("chkFix", "&Iterate for xrefs");
    row("chkVersion", "1.0&5 or later");
    row("optCode_0", "Byte");
    row("optCode_1", "Native");
    row("chkEsponja", "Espon&ja");
    row("chkHacha", "   H&acha");
    row("chkItalics", "E&quations in italics");
    row("chkNumber", "&Number only one line of multi-line equations");
    row("chkInline", "&Inline graphics");
    row("chkRevise", "Revise HTML file to re&move @hour etc");
    row("cmdTex4htBrowse", "Change D&irectory");
    row("chkImages", "Put i&mages in subdirectory");
    row("chkHtrun", "&Use htrun");
    row("chkSWP", "Use &Scientific Workplace");
    row("chkTex4htPause", "Pause a&fter DOS");
    row("cmdAdvanced", "&Advanced...");
    row("lblManual", "Command line:");
    row("Label5", "May take a long time to convert");
    row("cmdlatex2htmlBrowse", "Change D&irectory");
    row("optGifPng_0", "GIF");
    row("optGifPng_1", "PNG");
    row("optGifPng_2", "SVG");
    row("chkImageDir", "Use Subdirectory");
    row("chkNavigation", "Navigation Lin&ks");
    row("chkAntiVirus", "Anti-Viru&s Reminder");
    row("cmdInit", "Ad&just Init File");
    row("Label25", "May take a long time to convert");
    row("chkTexify_0", "&Use TeX&ify");
    row("chkReport_0", "Report on wh&at is done");
    row("chkTexify_1", "Use TeX&ify");
    row("chkReport_1", "Report on wh&at is done");
    row("chkSWPGS", "Use SWP + &Ghostscript");
    row("Label15", "&Number of LaTeX passes:");
    row("Label34", "Automating PDF production from SWP");
    row("cmdBat", "&Setup batch files");
    row("cmdReadMe", "&Readme File");
    row("cmdBatch", "&Batch File");
    row("cmdEditIni", "&INI File");
    row("cmdDeleteFileList", "Delete &File List");
    row("cmdReadIni", "Re&load INI");
    row("cmdProgLoc", "Progra&m Locations");
    row("chkMulti", "Allow multiple &conversions");
    row("cmdMore", "M&ore ...");
    row("chkSettings", "S&ave Browser Window Size && Position");
    row("chkSave", "&Save Preferences");
    row("chkWarning", "&Warn if command line is too long");
    row("cmdHelpExit", "E&xit");
    row("Label19", "Hevea 1.05");
    row("Label20", "Hevea for SWP");
    row("Label21", "TeX4ht for MiKTeX");
    row("Label22", "TeX4ht for SWP");
    row("Label31", "Installation with MiKTeX");
    row("Label32", "Anti-Virus Problem");
    row("cmdUpdate", "Update Chec&k");
}

void TestMainWindow::formCaptions() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    Fixture f;
    QVERIFY(f.window->widgetNamed(name));
    const QList<QWidget*> found = f.window->findChildren<QWidget*>(name);
    QCOMPARE(found.size(), 1);
    QString shown;
    if (auto* b = qobject_cast<QAbstractButton*>(found.first()))
        shown = b->text();
    else if (auto* l = qobject_cast<QLabel*>(found.first()))
        shown = l->text();
    QCOMPARE(shown, caption);
    if (const auto control = ctl::find(name))
        QCOMPARE(f.model.caption(*control), caption);
}

// Each control the program names is exactly one widget of the built window.
void TestMainWindow::everyControlIsOneWidget() {
    Fixture f;
    for (const ctl::Entry& e : ctl::allControls()) {
        QStringList names;
        if (e.kind == ctl::Kind::State)
            continue;
        if (!e.isArray())
            names << QString::fromLatin1(e.name);
        for (int i = e.first; i < e.first + e.count; ++i)
            names << QString::fromLatin1(e.name) + u'_' + QString::number(i);
        for (const QString& name : names) {
            QVERIFY2(f.window->widgetNamed(name), qPrintable(name));
            QVERIFY2(f.window->findChildren<QWidget*>(name).size() == 1, qPrintable(name));
        }
    }
}

void TestMainWindow::tabStripCaptions() {
    Fixture f;
    auto* bar = f.find<QTabBar>("tbstrip");
    QVERIFY(bar);
    const QStringList expected = {"He&VeA", "&TtH",    "TeX&4ht", "LaTeX&2HTML", "&DVI",
                                  "&PDF",   "LaTeXML", "Pandoc",  "&Help"};
    QCOMPARE(bar->count(), expected.size());
    for (int i = 0; i < bar->count(); ++i)
        QCOMPARE(bar->tabText(i), expected.at(i));
    bar->setCurrentIndex(3);
    QCOMPARE(f.model.index(ctl::tbstrip), 4);
    f.model.setIndex(ctl::tbstrip, 6);
    QCOMPARE(bar->currentIndex(), 5);
}

void TestMainWindow::checkBoxRoundTrip() {
    Fixture f;
    auto* hacha = f.find<QCheckBox>("chkHacha");
    f.model.setChecked(ctl::chkHacha, true);
    QVERIFY(hacha->isChecked());
    hacha->click();
    QCOMPARE(f.model.checkValue(ctl::chkHacha), 0);
    hacha->click();
    QCOMPARE(f.model.checkValue(ctl::chkHacha), 1);
    // An array element keeps its own name.
    f.find<QCheckBox>("chkTexify_1")->click();
    QVERIFY(f.model.isChecked(ctl::chkTexify(1)));
    QVERIFY(!f.model.isChecked(ctl::chkTexify(0)));
}

void TestMainWindow::optionGroupRoundTrip() {
    Fixture f;
    f.find<QRadioButton>("optOutput_1")->click();
    QCOMPARE(f.model.index(ctl::optOutput), 1);
    // The click ran the output-kind reaction, which the window shows.
    QCOMPARE(f.find<QCheckBox>("chkIE")->text(), QStringLiteral("&Run text file"));
    QCOMPARE(f.ctx.settings.vars.heveaOutputExtension, QStringLiteral("txt"));

    f.model.setIndex(ctl::optGifPng, 1);
    QVERIFY(f.find<QRadioButton>("optGifPng_1")->isChecked());
    QVERIFY(!f.find<QRadioButton>("optGifPng_0")->isChecked());
    // Groups are independent of each other.
    QVERIFY(f.find<QRadioButton>("optOutput_1")->isChecked());
    QVERIFY(f.find<QRadioButton>("optIE_0")->isChecked());
}

void TestMainWindow::comboRoundTrip() {
    Fixture f;
    auto* split = f.find<QComboBox>("cmbSplit");
    QCOMPARE(f.model.items(ctl::cmbSplit).size(), 10);
    f.model.setIndex(ctl::cmbSplit, 3);
    QCOMPARE(split->currentIndex(), 3);
    split->setCurrentIndex(5);
    QCOMPARE(f.model.index(ctl::cmbSplit), 5);

    f.model.setItems(ctl::cmbTabs, {"HeVeA", "TtH", "TeX4ht"});
    f.model.setIndex(ctl::cmbTabs, 2);
    auto* tabs = f.find<QComboBox>("cmbTabs");
    QCOMPARE(tabs->count(), 3);
    QCOMPARE(tabs->currentText(), QStringLiteral("TeX4ht"));

    // Editable combos hold text.
    auto* about = f.find<QComboBox>("cmbAbout");
    f.model.setText(ctl::cmbAbout, "None");
    QCOMPARE(about->currentIndex(), 1);
    about->setEditText("My text");
    QCOMPARE(f.model.text(ctl::cmbAbout), QStringLiteral("My text"));
}

void TestMainWindow::editableComboIsTheFileBox() {
    Fixture f;
    auto* box = f.find<QComboBox>("cmbTeX");
    f.model.setItems(ctl::cmbTeX, {"/docs/a.tex", "/docs/b.tex"});
    QCOMPARE(box->count(), 2);
    QVERIFY(box->currentText().isEmpty());
    box->setFocus();
    QTest::keyClicks(box->lineEdit(), "/docs/new.tex");
    QCOMPARE(f.model.text(ctl::cmbTeX), QStringLiteral("/docs/new.tex"));
    box->setCurrentIndex(1);
    QCOMPARE(f.model.text(ctl::cmbTeX), QStringLiteral("/docs/b.tex"));
    f.model.setText(ctl::cmbTeX, "/elsewhere/c.tex");
    QCOMPARE(box->currentText(), QStringLiteral("/elsewhere/c.tex"));
    // A new history keeps the text in the box.
    f.model.setItems(ctl::cmbTeX, {"/elsewhere/c.tex"});
    QCOMPARE(box->currentText(), QStringLiteral("/elsewhere/c.tex"));
}

void TestMainWindow::textBoxRoundTrip() {
    Fixture f;
    auto* exclude = f.find<QLineEdit>("txtExclude");
    f.model.setText(ctl::txtExclude, "book.hva");
    QCOMPARE(exclude->text(), QStringLiteral("book.hva"));
    exclude->setText("article.hva");
    QCOMPARE(f.model.text(ctl::txtExclude), QStringLiteral("article.hva"));

    auto* txt3 = f.find<QPlainTextEdit>("txt3");
    f.model.setText(ctl::txt3, "htlatex paper");
    QCOMPARE(txt3->toPlainText(), QStringLiteral("htlatex paper"));
    // The form's default image folder reaches the model.
    QCOMPARE(f.model.text(ctl::txtImages), QStringLiteral("images"));
}

void TestMainWindow::listRoundTrip() {
    Fixture f;
    auto* list = f.find<QListWidget>("List1");
    const QString separator(26, QLatin1Char('-'));
    f.model.setItems(ctl::List1, {separator, "a.hva", "b.hva"});
    QCOMPARE(list->count(), 3);
    f.model.setIndex(ctl::List1, 2);
    QCOMPARE(list->currentRow(), 2);
    list->setCurrentRow(1);
    QCOMPARE(f.model.index(ctl::List1), 1);
    // Reordering in the widget reaches the model.
    QListWidgetItem* moved = list->takeItem(2);
    list->insertItem(0, moved);
    QCOMPARE(f.model.items(ctl::List1), QStringList({"b.hva", separator, "a.hva"}));

    f.model.setItems(ctl::lstProcesses, {"/docs/a.tex"});
    QCOMPARE(f.find<QListWidget>("lstProcesses")->count(), 1);
}

void TestMainWindow::viewAspectsFollowModel() {
    Fixture f;
    auto* log = f.find<QPushButton>("cmdLog");
    f.model.setCaption(ctl::cmdLog, "Errors in &Log");
    f.model.setBold(ctl::cmdLog, true);
    QCOMPARE(log->text(), QStringLiteral("Errors in &Log"));
    QVERIFY(log->font().bold());
    f.model.setBold(ctl::cmdLog, false);
    QVERIFY(!log->font().bold());

    f.model.setEnabled(ctl::cmdShow, false);
    QVERIFY(!f.find<QPushButton>("cmdShow")->isEnabled());
    f.model.setVisible(ctl::Label35, true);
    QVERIFY(!f.find<QLabel>("Label35")->isHidden());
    f.model.setCaption(ctl::lblPath, "Saved as\n/docs/a.html");
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
    model.setChecked(ctl::chkFrench, true);
    model.setIndex(ctl::optIE, 1);
    model.setText(ctl::txtImages, "pics");
    model.setIndex(ctl::tbstrip, 4);
    model.setVisible(ctl::cmbFrags, true);
    MainWindow window(ctx);
    QVERIFY(window.widgetNamed<QCheckBox>("chkFrench")->isChecked());
    QVERIFY(window.widgetNamed<QRadioButton>("optIE_1")->isChecked());
    QCOMPARE(window.widgetNamed<QLineEdit>("txtImages")->text(), QStringLiteral("pics"));
    QCOMPARE(window.widgetNamed<QTabBar>("tbstrip")->currentIndex(), 3);
    QVERIFY(!window.widgetNamed<QComboBox>("cmbFrags")->isHidden());
}

void TestMainWindow::tabChangeHidesSharedFrameOnHelp() {
    Fixture f;
    auto* bar = f.find<QTabBar>("tbstrip");
    auto* frame2 = f.find<QWidget>("Frame2");
    bar->setCurrentIndex(bar->count() - 1);
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
    QCOMPARE(f.model.index(ctl::optIE), 0);
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
    QCOMPARE(f.model.text(ctl::txtImages), QStringLiteral("ima/ges"));
}

void TestMainWindow::escapeTogglesManualCommandLine() {
    Fixture f;
    auto* txt3 = f.find<QPlainTextEdit>("txt3");
    auto* label = f.find<QLabel>("lblManual");
    f.model.setItems(ctl::cmbFrags, {"-- Select a code fragment --", "\\HCode{}"});
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
    f.model.setItems(ctl::cmbFrags, {"-- Select a code fragment --", " \"html,2\""});
    f.model.setText(ctl::txt3, "htlatex paper");
    f.window->show();
    QTextCursor cursor = txt3->textCursor();
    cursor.setPosition(7);
    txt3->setTextCursor(cursor);

    emit frags->activated(0);
    QCOMPARE(f.model.text(ctl::txt3), QStringLiteral("htlatex paper"));
    emit frags->activated(1);
    QCOMPARE(f.model.text(ctl::txt3), QStringLiteral("htlatex \"html,2\" paper"));
    QCOMPARE(txt3->textCursor().position(), 7);
}

void TestMainWindow::doubleClickTogglesManualCommandLine() {
    Fixture f;
    auto* txt3 = f.find<QPlainTextEdit>("txt3");
    f.model.setText(ctl::txt3, "htlatex paper \"html\"");
    QTest::mouseClick(txt3->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    QTest::mouseDClick(txt3->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    QCOMPARE(f.model.tag(ctl::txt3Locked), QStringLiteral("no"));
    QVERIFY(!txt3->isReadOnly());
    QVERIFY(!txt3->textCursor().hasSelection());
    QTest::mouseDClick(txt3->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    QCOMPARE(f.model.tag(ctl::txt3Locked), QStringLiteral("yes"));
    QCOMPARE(f.find<QLabel>("lblManual")->text(), QStringLiteral("Command line:"));
}

void TestMainWindow::convertWithEmptyFileBoxPrompts() {
    Fixture f;
    f.model.setIndex(ctl::tbstrip, 2);
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
    QCOMPARE(f.model.text(ctl::cmbTeX), QStringLiteral("/docs/first.tex"));

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
    QCOMPARE(f.model.text(ctl::cmbTeX), QStringLiteral("/docs/my paper.tex"));
    QMimeData webOnly;
    webOnly.setData("text/uri-list", "https://example.org/a.tex\r\n");
    QVERIFY(firstDroppedFile(&webOnly).isEmpty());

    // Text that is not a file changes nothing.
    QMimeData text;
    text.setText("hello");
    QVERIFY(firstDroppedFile(&text).isEmpty());
    QDropEvent textDrop(QPointF(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.window.get(), &textDrop);
    QCOMPARE(f.model.text(ctl::cmbTeX), QStringLiteral("/docs/my paper.tex"));
}

void TestMainWindow::coverOfStyleListTicksIncludeStyles() {
    Fixture f;
    f.model.setChecked(ctl::chkStyle, true);
    f.model.setChecked(ctl::chkStyle, false);
    QVERIFY(!f.find<QListWidget>("List1")->isEnabled());
    QTest::mouseClick(f.find<QLabel>("lblListCover"), Qt::LeftButton);
    QVERIFY(f.model.isChecked(ctl::chkStyle));
    QVERIFY(f.find<QListWidget>("List1")->isEnabled());
}

void TestMainWindow::arrowButtonsMoveStyles() {
    Fixture f;
    const QString separator(26, QLatin1Char('-'));
    f.model.setChecked(ctl::chkStyle, true);
    f.model.setItems(ctl::List1, {separator, "a.hva", "b.hva"});
    f.find<QListWidget>("List1")->setCurrentRow(2);
    f.find<QPushButton>("cmdUp")->click();
    QCOMPARE(f.model.items(ctl::List1), QStringList({separator, "b.hva", "a.hva"}));
    QCOMPARE(f.find<QListWidget>("List1")->currentRow(), 1);
    f.find<QPushButton>("cmdDown")->click();
    f.find<QPushButton>("cmdDown")->click();
    QCOMPARE(f.model.items(ctl::List1), QStringList({separator, "a.hva", "b.hva"}));
    QCOMPARE(f.model.index(ctl::List1), 2);
}

MORVANE_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
