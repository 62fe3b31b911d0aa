#include "pdfsetup/batchpatches.h"
#include "support/testmain.h"

#include <QTest>

using namespace morvane;

namespace {

ChainChoices choices(bool nt, bool multiLingual, int acrobat) {
    return {.gsLib = QStringLiteral("C:\\GS\\gs5.50\\Lib"),
            .swpDir = QStringLiteral("C:\\SWP35\\TCITeX\\TrueTeX"),
            .ntFamily = nt,
            .multiLingual = multiLingual,
            .acrobat = acrobat,
            .printer = QStringLiteral("PS Printer")};
}

} // namespace

class TestBatchPatches : public QObject {
    Q_OBJECT
private slots:
    void line_data() {
        QTest::addColumn<bool>("nt");
        QTest::addColumn<bool>("multiLingual");
        QTest::addColumn<int>("acrobat");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("written");
        QTest::newRow("NT, MultiLingual: initex32")
            << true << true << 1 << "START /wait %SWPPATH%\\initex32 &latex %1"
            << "start /wait %swppath%\\initex32 ^&latex_ml %1";
        QTest::newRow("95/98/Me, TrueTeX: initex32")
            << false << false << 1 << "start /wait %swppath%\\initex32 ^&latex_ml %1"
            << "start /wait %swppath%\\initex32 &latex %1";
        QTest::newRow("printer keeps its case, blanks become !")
            << true << true << 1 << "start /wait %swppath%\\dvigdi32.exe -w!Old!One,FILE: %1.DVI"
            << "start /wait %swppath%\\dvigdi32.exe -w!PS!Printer,file: %1.dvi";
        QTest::newRow("Acrobat 3") << true << true << 0 << "call ps2pdf13 %1.ps %1.pdf"
                                   << "call ps2pdf12 %1.ps %1.pdf";
        QTest::newRow("Acrobat 4") << true << true << 1 << "CALL ps2pdf12 x"
                                   << "call ps2pdf13 %1.ps %1.pdf";
        QTest::newRow("Acrobat 5") << true << true << 2 << "call ps2pdf1"
                                   << "call ps2pdf14 %1.ps %1.pdf";
        QTest::newRow("drive") << true << true << 1 << "SET GSDRIVE=d:"
                               << "set gsdrive=c:";
        QTest::newRow("directory without the drive") << true << true << 1 << "set gsdir=\\old\\"
                                                     << "set gsdir=\\gs\\gs5.50\\";
        QTest::newRow("bare gsdir line is left") << true << true << 1 << "set gsdir="
                                                 << "set gsdir=";
        QTest::newRow("TrueTeX directory") << true << true << 1 << "set swppath=c:\\x"
                                           << "set swppath=c:\\swp35\\tcitex\\truetex";
        QTest::newRow("version line") << true << true << 1 << ":: Version 2"
                                      << ":: version 2";
        QTest::newRow("other lines in lower case") << true << true << 1 << "ECHO Done"
                                                   << "echo done";
    }
    void line() {
        QFETCH(bool, nt);
        QFETCH(bool, multiLingual);
        QFETCH(int, acrobat);
        QFETCH(QString, line);
        const std::optional<QString> written =
            pdfmakegstcLine(line, choices(nt, multiLingual, acrobat));
        QVERIFY(written);
        QTEST(*written, "written");
    }

    void dvigdiLineWithoutComma() {
        QString error;
        QVERIFY(!pdfmakegstcLine(QStringLiteral("start /wait %swppath%\\dvigdi32.exe -w!x"),
                                 choices(true, true, 1), &error));
        QVERIFY(!error.isEmpty());
    }

    void linuxPathHasNoDrive() {
        ChainChoices c = choices(true, true, 1);
        c.gsLib = QStringLiteral("/opt/gs/lib");
        QCOMPARE(*pdfmakegstcLine(QStringLiteral("set gsdrive=c:"), c),
                 QStringLiteral("set gsdrive="));
        QCOMPARE(*pdfmakegstcLine(QStringLiteral("set gsdir=x"), c),
                 QStringLiteral("set gsdir=/opt/gs/"));
        QCOMPARE(patchedPs2pdf("set PS2PDFGS=gswin32c\n", ghostscriptRoot(c.gsLib)),
                 QByteArray("set PS2PDFGS=/opt/gs/bin/gswin32c\n"));
    }

    void lineEnds_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("CR LF") << QByteArray(":: Version 2\r\nSET GSDRIVE=d:\r\nEcho X\r\n")
                               << QByteArray(":: version 2\r\nset gsdrive=c:\r\necho x\r\n");
        QTest::newRow("LF") << QByteArray(":: Version 2\nSET GSDRIVE=d:\nEcho X\n")
                            << QByteArray(":: version 2\nset gsdrive=c:\necho x\n");
        QTest::newRow("mixed, no final line end")
            << QByteArray("A\r\nB\nC") << QByteArray("a\r\nb\nc");
        QTest::newRow("empty lines kept")
            << QByteArray("\r\n\r\nX\n\n") << QByteArray("\r\n\r\nx\n\n");
    }
    void lineEnds() {
        QFETCH(QByteArray, text);
        const auto written = rewrittenPdfmakegstc(text, choices(true, true, 1));
        QVERIFY(written);
        QTEST(*written, "written");
    }

    void ps2pdf() {
        const QByteArray original = "@echo off\r\nSet Ps2PdfGs=GSWIN32C\r\n"
                                    "rem %GSC% @_.at @_.at2\r\n%gsc% @_.AT @_.at2\r\n";
        QCOMPARE(patchedPs2pdf(original, ghostscriptRoot(QStringLiteral("C:\\GS\\gs5.50\\lib"))),
                 QByteArray("@echo off\r\nset PS2PDFGS=c:\\gs\\gs5.50\\bin\\gswin32c\r\n"
                            "rem c:\\gs\\gs5.50\\bin\\gswin32c @_.at @_.at2\r\n"
                            "c:\\gs\\gs5.50\\bin\\gswin32c @_.at @_.at2\r\n"));
    }
};

MORVANE_TEST_GUILESS_MAIN(TestBatchPatches)
#include "tst_batchpatches.moc"
