#include "pipeline/appcontext.h"
#include "platform/folderchooser.h"
#include "settings/optionsmodel.h"
#include "settings/profilefile.h"
#include "support/doubles.h"
#include "support/testhome.h"
#include "support/testmain.h"
#include "ui/programlocationsdialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace morvane;

namespace {

class ScriptedFolders : public FolderChooser {
public:
    QString chooseDirectory(const QString& prompt) override {
        prompts.append(prompt);
        return answer;
    }
    QStringList prompts;
    QString answer;
};

void program(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
}

struct Fixture {
    test::TestHome home{false};
    QString root = home.path() + "/disk";
    OptionsModel model;
    ScriptedPrompter prompter;
    ScriptedFolders folders;
    FixedVolumeTable volumes{{{home.path() + "/disk", "ext4", DriveType::Fixed},
                              {home.path() + "/disk/net", "nfs", DriveType::Remote},
                              {"/media/cd", "iso9660", DriveType::CdRom}}};
    AppContext ctx;

    Fixture() {
        home.write("Morvane.ini", "[Preferences]\nFirstTime=Yes\n[Paths]\nHevea=/opt/kept\n");
        ctx.programDir = home.path();
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        ctx.seams.folders = &folders;
        ctx.seams.volumes = &volumes;
        ctx.settings.vars.hevea = root + "/b";
        ctx.settings.vars.tth = "/old/tth";
        program(root + "/a/hevea");
        program(root + "/b/hevea");
        program(root + "/c/perl");
        program(root + "/net/tth"); // on a network volume: never searched
    }
    QString ini(const QString& section, const QString& key) const {
        return readProfileString(home.file("Morvane.ini"), section, key, "<none>");
    }
};

template <typename T> T* child(QWidget& w, const QString& name) {
    T* found = w.findChild<T*>(name);
    if (!found)
        qWarning() << "no control" << name;
    return found;
}

} // namespace

class TestProgramLocationsDialog : public QObject {
    Q_OBJECT
private slots:
    void rowsFromTheSettingsAndTheVolumeList() {
        Fixture f;
        ProgramLocationsDialog dialog(f.ctx);
        QCOMPARE(child<QLineEdit>(dialog, "txtProg_2")->text(), f.root + "/b");
        QCOMPARE(child<QLineEdit>(dialog, "txtProg_3")->text(), QStringLiteral("/old/tth"));
        auto* drives = child<QComboBox>(dialog, "cmbDrives");
        QCOMPARE(drives->count(), 4);
        QCOMPARE(drives->currentText(), QStringLiteral("/media/cd - CD-ROM drive"));
        QCOMPARE(drives->itemText(1), f.root + " - Fixed drive");
        QVERIFY(child<QLabel>(dialog, "lblFirstTime")->isHidden());
    }

    void searchPlacesTheFinds() {
        Fixture f;
        ProgramLocationsDialog dialog(f.ctx);
        dialog.show();
        child<QPushButton>(dialog, "cmdSearch")->click();
        QVERIFY(!dialog.isSearching());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Program Locations"));
        // Two candidates: the one the row held comes first.
        auto* heveaList = child<QComboBox>(dialog, "cmbProg_2");
        QVERIFY(heveaList->isVisible());
        QCOMPARE(heveaList->itemText(0), f.root + "/b");
        QCOMPARE(heveaList->count(), 2);
        auto* note = child<QLabel>(dialog, "lblFound_2");
        QCOMPARE(note->text(), QStringLiteral("Choose correct path (2 found)"));
        QTRY_VERIFY2(note->width() >= note->sizeHint().width(), "the note is cut");
        QCOMPARE(child<QLineEdit>(dialog, "txtProg_10")->text(), f.root + "/c"); // perl
        // Found nowhere (the network volume is not entered): emptied.
        QCOMPARE(child<QLineEdit>(dialog, "txtProg_3")->text(), QString());
        QCOMPARE(child<QLabel>(dialog, "lblFound_3")->text(), QStringLiteral("Not found"));

        heveaList->setCurrentIndex(1);
        child<QPushButton>(dialog, "cmdOK")->click();
        QCOMPARE(f.ini("Paths", "Hevea"), f.root + "/a");
        QCOMPARE(f.ini("Paths", "perl"), f.root + "/c");
        QCOMPARE(f.ini("Paths", "Tth"), QString());
        QCOMPARE(f.ini("Paths", "CD-ROM"), QStringLiteral("/media/cd"));
        QCOMPARE(f.ini("Preferences", "FirstTime"), QStringLiteral("No"));
        QVERIFY(f.prompter.prompts().isEmpty());
    }

    void stopDuringTheSearch_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancel") << "cmdCancel";
        QTest::newRow("the Stop Search button") << "cmdSearch";
        QTest::newRow("Esc") << "Esc";
    }
    void stopDuringTheSearch() {
        QFETCH(QString, how);
        Fixture f;
        for (int i = 0; i < 2000; ++i)
            QDir().mkpath(f.root + QStringLiteral("/many/d%1").arg(i));
        ProgramLocationsDialog dialog(f.ctx);
        dialog.show();
        auto* search = child<QPushButton>(dialog, "cmdSearch");
        auto* ok = child<QPushButton>(dialog, "cmdOK");
        bool okDisabledWhileSearching = false;
        QString captionWhileSearching;
        // Stopping while searching keeps the dialog open.
        QTimer::singleShot(0, &dialog, [&] {
            okDisabledWhileSearching = !ok->isEnabled();
            captionWhileSearching = dialog.windowTitle();
            QCOMPARE(search->text(), QStringLiteral("Stop &Search"));
            if (how == "Esc")
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else
                child<QPushButton>(dialog, how.toLatin1().constData())->click();
        });
        search->click();
        QVERIFY(okDisabledWhileSearching);
        QCOMPARE(captionWhileSearching, QStringLiteral("Searching for Programs ..."));
        QVERIFY(dialog.isVisible());
        QVERIFY(!dialog.isSearching());
        QVERIFY(ok->isEnabled());
        QCOMPARE(search->text(), QStringLiteral("Auto &Search"));
        QCOMPARE(f.ini("Preferences", "FirstTime"), QStringLiteral("Yes"));
        // Cancel when idle writes FirstTime only.
        child<QPushButton>(dialog, "cmdCancel")->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(f.ini("Preferences", "FirstTime"), QStringLiteral("No"));
        QCOMPARE(f.ini("Paths", "Hevea"), QStringLiteral("/opt/kept"));
    }

    void folderButtonTakesTheChosenFolder() {
        Fixture f;
        ProgramLocationsDialog dialog(f.ctx);
        f.folders.answer = "/usr/bin/";
        child<QPushButton>(dialog, "cmdBrowse_3")->click();
        QCOMPARE(f.folders.prompts, QStringList{"Select the Tth directory containing tth:"});
        QCOMPARE(child<QLineEdit>(dialog, "txtProg_3")->text(), QStringLiteral("/usr/bin"));
        f.folders.answer.clear();
        child<QPushButton>(dialog, "cmdBrowse_3")->click();
        QCOMPARE(child<QLineEdit>(dialog, "txtProg_3")->text(), QStringLiteral("/usr/bin"));
    }

    void firstRunOpensWithItsNoteAndReloads() {
        Fixture f;
        f.ctx.settings.vars.firstTime = true;
        f.ctx.settings.vars.scrollFraction = 0.2; // changed in this run, not yet saved
        bool noteShown = false;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            noteShown = child<QLabel>(*dialog, "lblFirstTime")->isVisible();
            child<QPushButton>(*dialog, "cmdCancel")->click();
        });
        openProgramLocations(f.ctx, nullptr, true);
        QVERIFY(noteShown);
        // The reload read the file the dialog wrote, and kept this run's step.
        QVERIFY(!f.ctx.settings.vars.firstTime);
        QCOMPARE(f.ctx.settings.vars.hevea, QStringLiteral("/opt/kept"));
        QCOMPARE(f.ctx.settings.vars.scrollFraction, 0.2);
    }

    void failedWriteIsReported() {
        Fixture f;
        f.ctx.programDir = f.home.path() + "/missing";
        ProgramLocationsDialog dialog(f.ctx);
        child<QPushButton>(dialog, "cmdOK")->click();
        QCOMPARE(f.prompter.prompts().size(), 1);
        QCOMPARE(f.prompter.prompts().first(),
                 (Prompt{"Unable to save all the paths", "Save Preferences", Buttons::Ok,
                         Icon::Critical, Answer::Ok}));
    }
};

MORVANE_TEST_MAIN(TestProgramLocationsDialog)
#include "tst_programlocationsdialog.moc"
