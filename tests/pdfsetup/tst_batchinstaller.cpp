#include "pdfsetup/batchinstaller.h"
#include "pipeline/appcontext.h"
#include "settings/optionsmodel.h"
#include "settings/profilefile.h"
#include "support/doubles.h"
#include "support/testhome.h"
#include "support/testmain.h"
#include "ui/batchinstallerdialog.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace morvane;

namespace {

const QByteArray kPs2pdf = "@echo off\r\nset PS2PDFGS=gswin32c\r\n%GSC% @_.at @_.at2\r\n";
const QByteArray kPdfmakegstc = ":: Version 2\r\nset gsdrive=c:\r\nset gsdir=\\gs\\\r\n"
                                "start /wait %swppath%\\dvigdi32.exe -w!Old,x %1\r\n"
                                "call ps2pdf12 %1.ps %1.pdf\r\n";

// A program directory with pdfmakegstc.bat, a Ghostscript lib directory
// with ps2pdfxx.bat and a TrueTeX directory with initex32.exe.
struct Fixture {
    test::TestHome home{false};
    OptionsModel model;
    ScriptedPrompter prompter;
    RecordingShell shell;
    FixedPrinterList printers{{{"PS Printer", "FILE:"}, {"Laser", "LPT1:"}}};
    AppContext ctx;

    Fixture() {
        ctx.programDir = home.path();
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        ctx.seams.shell = &shell;
        ctx.seams.printers = &printers;
        home.write("pdfmakegstc.bat", kPdfmakegstc);
        home.write("Morvane.ini", "[Paths]\n");
        home.write("gs/gs5.50/lib/ps2pdfxx.bat", kPs2pdf);
        home.write("swp/initex32.exe", "");
    }
    QString gsLib() const { return home.file("gs/gs5.50/lib"); }
    InstallerForm validForm() const {
        return {.gsLib = gsLib(),
                .swpDir = home.file("swp"),
                .version = 1,
                .format = 0,
                .acrobat = 1,
                .printer = Printer{"PS Printer", "FILE:"}};
    }
};

using Change = void (*)(Fixture&, InstallerForm&);

} // namespace

Q_DECLARE_METATYPE(Change)

class TestBatchInstaller : public QObject {
    Q_OBJECT
private slots:
    void port_data() {
        QTest::addColumn<QString>("uri");
        QTest::addColumn<QString>("port");
        QTest::newRow("file printer") << "file:///tmp/out.ps"
                                      << "FILE:";
        QTest::newRow("file without slashes") << "file:/dev/null"
                                              << "FILE:";
        QTest::newRow("ipp") << "ipp://host:631/printers/q"
                             << "IPP:";
        QTest::newRow("usb with query") << "usb://HP/LaserJet?serial=1"
                                        << "USB:";
        QTest::newRow("no device uri") << ""
                                       << "";
        QTest::newRow("bare path") << "/dev/lp0"
                                   << "";
    }
    void port() {
        QFETCH(QString, uri);
        QTEST(portOfDeviceUri(uri), "port");
    }

    void complaint_data() {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("text"); // empty: every check passes
        QTest::addColumn<QString>("title");
        const QString gsDir = "Please select Ghostscript lib directory";
        const QString swpDir = "Please select SWP's TrueTeX directory";
        QTest::newRow("all details") << Change([](Fixture&, InstallerForm&) {}) << ""
                                     << "";
        QTest::newRow("1 no pdfmakegstc.bat") << Change([](Fixture& f, InstallerForm&) {
            QFile::remove(f.home.file("pdfmakegstc.bat"));
        }) << "Can't find pdfmakegstc.bat in Morvane directory"
                                              << "Missing File";
        QTest::newRow("2 no version") << Change([](Fixture&, InstallerForm& i) { i.version = -1; })
                                      << "Please select Windows version"
                                      << "Missing Detail";
        QTest::newRow("3 no format") << Change([](Fixture&, InstallerForm& i) { i.format = -1; })
                                     << "Please select SWP format"
                                     << "Missing Detail";
        QTest::newRow("4 no Acrobat") << Change([](Fixture&, InstallerForm& i) { i.acrobat = -1; })
                                      << "Please select Acrobat Reader compatibility"
                                      << "Missing Detail";
        QTest::newRow("5 printer on LPT1:") << Change([](Fixture&, InstallerForm& i) {
            i.printer = Printer{"Laser", "LPT1:"};
        }) << "Printer must be set to Print to FILE:"
                                            << "Wrong Printer Setting";
        QTest::newRow("5 port in lower case passes") << Change([](Fixture&, InstallerForm& i) {
            i.printer = Printer{"P", "file:"};
        }) << ""
                                                     << "";
        QTest::newRow("6 no printer, not 5")
            << Change([](Fixture&, InstallerForm& i) { i.printer.reset(); })
            << "Please select postscript printer or use Add Printer Wizard to install this printer"
            << "Missing Detail";
        QTest::newRow("6 and 8: the later message") << Change([](Fixture& f, InstallerForm& i) {
            i.printer.reset();
            QFile::remove(f.gsLib() + "/ps2pdfxx.bat");
        }) << gsDir << "Missing Detail";
        QTest::newRow("9 not a lib directory") << Change([](Fixture& f, InstallerForm& i) {
            i.gsLib = f.home.write("gs/other/ps2pdfxx.bat", kPs2pdf).chopped(13);
        }) << "Ghostscript's lib directory must end with \\lib"
                                               << "Wrong Directory";
        QTest::newRow("ps2pdfxx.bat in any case") << Change([](Fixture& f, InstallerForm&) {
            QFile::rename(f.gsLib() + "/ps2pdfxx.bat", f.gsLib() + "/PS2PDFXX.BAT");
        }) << ""
                                                  << "";
        QTest::newRow("10 no initex32.exe")
            << Change([](Fixture& f, InstallerForm& i) { i.swpDir = f.gsLib(); }) << swpDir
            << "Wrong Directory";
        QTest::newRow("11 TrueTeX directory empty")
            << Change([](Fixture&, InstallerForm& i) { i.swpDir.clear(); }) << swpDir
            << "Missing Detail";
    }
    void complaint() {
        QFETCH(Change, change);
        QFETCH(QString, text);
        Fixture f;
        InstallerForm form = f.validForm();
        change(f, form);
        const auto complaint = installerComplaint(form, f.home.path());
        QCOMPARE(complaint.has_value(), !text.isEmpty());
        if (complaint) {
            QCOMPARE(complaint->text, text);
            QTEST(complaint->title, "title");
        }
    }

    void installKeepsTheFirstBackup() {
        Fixture f;
        QVERIFY(installBatchFiles(f.ctx, f.validForm()));
        const QByteArray patched = test::readAll(f.gsLib() + "/ps2pdfxx.bat");
        QVERIFY(patched.contains("/gs/gs5.50/bin/gswin32c @_.at @_.at2\r\n"));
        QCOMPARE(test::readAll(f.home.file("ps2pdfxx.bak")), kPs2pdf);
        QCOMPARE(test::readAll(f.home.file("pdfmakegstc.bat")),
                 QByteArray(":: version 2\r\nset gsdrive=\r\nset gsdir=") +
                     f.gsLib().chopped(3).toLower().toUtf8() +
                     "\r\nstart /wait %swppath%\\dvigdi32.exe -w!PS!Printer,x %1\r\n"
                     "call ps2pdf13 %1.ps %1.pdf\r\n");
        QCOMPARE(f.prompter.prompts().last().text,
                 QStringLiteral("Batch files setup successfully."));
        const ProfileFile ini = ProfileFile::load(f.home.file("Morvane.ini"));
        QCOMPARE(ini.read("PDF", "Printer", {}), QStringLiteral("PS Printer"));
        QCOMPARE(ini.read("PDF", "Acrobat", {}), QStringLiteral("1"));

        // A second set-up leaves the original in the backup.
        QVERIFY(installBatchFiles(f.ctx, f.validForm()));
        QCOMPARE(test::readAll(f.home.file("ps2pdfxx.bak")), kPs2pdf);
        QCOMPARE(test::readAll(f.gsLib() + "/ps2pdfxx.bat"), patched);
    }

    void pdfmakegstcErrorLeavesIt() {
        Fixture f;
        const QByteArray broken = "start /wait %swppath%\\dvigdi32.exe -w!NoComma\n";
        f.home.write("pdfmakegstc.bat", broken);
        QVERIFY(!installBatchFiles(f.ctx, f.validForm()));
        QCOMPARE(f.prompter.prompts().last().title,
                 QStringLiteral("Error Setting Up pdfmakegstc.bat"));
        QCOMPARE(f.prompter.prompts().last().icon, Icon::Critical);
        QCOMPARE(test::readAll(f.home.file("pdfmakegstc.bat")), broken);
        QVERIFY(!ProfileFile::load(f.home.file("Morvane.ini")).contains("PDF", "Printer"));
    }

    void ps2pdfErrorLeavesPdfmakegstc() {
        Fixture f;
        QFile::remove(f.gsLib() + "/ps2pdfxx.bat");
        QVERIFY(!installBatchFiles(f.ctx, f.validForm()));
        QCOMPARE(f.prompter.prompts().last().title,
                 QStringLiteral("Error Setting Up ps2pdfxx.bat"));
        QCOMPARE(test::readAll(f.home.file("pdfmakegstc.bat")), kPdfmakegstc);
    }

    void dialogLoadsAndInstalls() {
        Fixture f;
        f.ctx.settings.vars.gsLib = f.gsLib();
        f.home.write("Morvane.ini", "[PDF]\nSWP=" + f.home.file("swp").toUtf8() +
                                        "\nFormat=1\nAcrobat=2\nPrinter=Laser\n");
        BatchInstallerDialog dialog(f.ctx);
        auto* printers = dialog.findChild<QListWidget*>("lstPrinters");
        QCOMPARE(printers->count(), 2);
        QCOMPARE(printers->currentItem()->text(), QStringLiteral("Laser"));
        QCOMPARE(dialog.findChild<QLabel*>("lblPort")->text(), QStringLiteral("Print to LPT1:"));
        QVERIFY(dialog.findChild<QRadioButton*>("optFormat_1")->isChecked());
        QVERIFY(dialog.findChild<QRadioButton*>("optAcrobat_2")->isChecked());
        QCOMPARE(dialog.findChild<QLineEdit*>("txtGS")->text(), f.gsLib());

        // Linux has no Windows version: it must be chosen.
        dialog.findChild<QRadioButton*>("optVersion_0")->setChecked(true);
        auto* ok = dialog.findChild<QPushButton*>("cmdOK");
        ok->click();
        QCOMPARE(f.prompter.prompts().last().title, QStringLiteral("Wrong Printer Setting"));
        QCOMPARE(test::readAll(f.home.file("pdfmakegstc.bat")), kPdfmakegstc);

        printers->setCurrentRow(0);
        ok->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(test::readAll(f.home.file("pdfmakegstc.bat"))
                    .contains("call ps2pdf14 %1.ps %1.pdf\r\n"));
    }

    void editMissingFile() {
        Fixture f;
        BatchInstallerDialog dialog(f.ctx);
        dialog.findChild<QLineEdit*>("txtGS")->setText(f.home.file("nowhere"));
        dialog.findChild<QPushButton*>("cmdEdit_1")->click();
        QCOMPARE(f.prompter.prompts().last().text,
                 "Unable to find " + f.home.file("nowhere") + "/ps2pdfxx.bat");
        QCOMPARE(f.prompter.prompts().last().title, QStringLiteral("File Not Found"));
        dialog.findChild<QPushButton*>("cmdEdit_0")->click();
        QCOMPARE(f.shell.started.last(),
                 (QStringList{f.shell.notepadProgram, f.home.file("pdfmakegstc.bat")}));
    }
};

MORVANE_TEST_MAIN(TestBatchInstaller)
#include "tst_batchinstaller.moc"
