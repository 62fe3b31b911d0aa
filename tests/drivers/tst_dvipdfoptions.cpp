// The DVI and PDF drivers' composers and rules: texify's options, the PDF
// method, the chain's passes, the composed convert.sh command lines and file
// names, the LaTeX log's verdict, and the TrueTeX chain's message.

#include "conversionrig.h"
#include "drivers/dvipdf.h"
#include "settings/controlnames.h"
#include "support/testmain.h"

#include <QTest>

using namespace morvane;
using namespace morvane::test;

Q_DECLARE_METATYPE(morvane::DviPdfMethod)

namespace {

DviPdfOptions optionsOf(const QStringList& ticked) {
    DviPdfOptions o;
    o.dviTexify = ticked.contains("dviTexify");
    o.dviReport = ticked.contains("dviReport");
    o.pdfTexify = ticked.contains("pdfTexify");
    o.pdfReport = ticked.contains("pdfReport");
    o.swpgs = ticked.contains("swpgs");
    return o;
}

} // namespace

class TestDviPdfOptions : public QObject {
    Q_OBJECT
private slots:
    void texifyOptions_data() {
        QTest::addColumn<QStringList>("ticked");
        QTest::addColumn<QString>("dvi");
        QTest::addColumn<QString>("pdf");
        QTest::newRow("no report") << QStringList{} << ""
                                   << "-p";
        // The DVI report option keeps its blanks, the PDF one loses the outer ones.
        QTest::newRow("both report") << QStringList{"dviReport", "pdfReport"} << " -V "
                                     << "-p -V";
        QTest::newRow("dvi report only") << QStringList{"dviReport"} << " -V "
                                         << "-p";
        QTest::newRow("pdf report only") << QStringList{"pdfReport"} << ""
                                         << "-p -V";
    }
    void texifyOptions() {
        QFETCH(QStringList, ticked);
        QFETCH(QString, dvi);
        QFETCH(QString, pdf);
        QCOMPARE(dviTexifyOptions(optionsOf(ticked)), dvi);
        QCOMPARE(pdfTexifyOptions(optionsOf(ticked)), pdf);
    }

    void methods_data() {
        QTest::addColumn<QStringList>("ticked");
        QTest::addColumn<DviPdfMethod>("dvi");
        QTest::addColumn<DviPdfMethod>("pdf");
        QTest::newRow("nothing") << QStringList{} << DviPdfMethod::Latex << DviPdfMethod::Pdflatex;
        QTest::newRow("texify") << QStringList{"dviTexify", "pdfTexify"} << DviPdfMethod::Texify
                                << DviPdfMethod::Texify;
        QTest::newRow("chain") << QStringList{"swpgs"} << DviPdfMethod::Latex
                               << DviPdfMethod::Chain;
        QTest::newRow("texify and chain")
            << QStringList{"pdfTexify", "swpgs"} << DviPdfMethod::Latex << DviPdfMethod::None;
    }
    void methods() {
        QFETCH(QStringList, ticked);
        QFETCH(DviPdfMethod, dvi);
        QFETCH(DviPdfMethod, pdf);
        QCOMPARE(dviMethod(optionsOf(ticked)), dvi);
        QCOMPARE(pdfMethod(optionsOf(ticked)), pdf);
    }

    void dviRuns_data() {
        QTest::addColumn<QStringList>("ticked");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<bool>("writesSettings");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("result");
        QTest::newRow("latex") << QStringList{} << "/x/paper.tex"
                               << "/p/convert.sh dvi paper.tex" << false << ""
                               << "/x/paper.dvi";
        // The name is cut before its extension, not at its first dot.
        QTest::newRow("dotted name") << QStringList{} << "/x/my.paper.tex"
                                     << "/p/convert.sh dvi my.paper.tex" << false << ""
                                     << "/x/my.paper.dvi";
        QTest::newRow("dotted folder") << QStringList{} << "/x/notes.tex.d/a.tex"
                                       << "/p/convert.sh dvi a.tex" << false << ""
                                       << "/x/notes.tex.d/a.dvi";
        QTest::newRow("upper-case extension") << QStringList{} << "/x/Paper.TEX"
                                              << "/p/convert.sh dvi Paper.TEX" << false << ""
                                              << "/x/Paper.dvi";
        QTest::newRow("blank in folder") << QStringList{} << "/x y/paper.tex"
                                         << "/p/convert.sh dvi paper.tex" << false << ""
                                         << "/x y/paper.dvi";
        QTest::newRow("texify") << QStringList{"dviTexify"} << "/x/my.paper.tex"
                                << "/p/convert.sh texify my.paper" << true << ""
                                << "/x/my.paper.dvi";
        QTest::newRow("texify report") << QStringList{"dviTexify", "dviReport"} << "/x/paper.tex"
                                       << "/p/convert.sh texify paper" << true << " -V "
                                       << "/x/paper.dvi";
    }
    void dviRuns() {
        QFETCH(QStringList, ticked);
        QFETCH(QString, source);
        QFETCH(QString, commandLine);
        QFETCH(bool, writesSettings);
        QFETCH(QString, settings);
        QFETCH(QString, result);
        const DviPdfRun run = composeDviRun(optionsOf(ticked), "/p/convert.sh", source, ".tex");
        QCOMPARE(run.commandLine, commandLine);
        QCOMPARE(run.writesSettings, writesSettings);
        QCOMPARE(run.settings, settings);
        QCOMPARE(run.result, result);
        QCOMPARE(run.log, result.chopped(4) + ".log");
    }

    void pdfRuns_data() {
        QTest::addColumn<QStringList>("ticked");
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<bool>("writesSettings");
        QTest::addColumn<QString>("settings");
        QTest::newRow("pdflatex") << QStringList{} << "/p/convert.sh pdf my.paper.tex" << false
                                  << "";
        QTest::newRow("texify") << QStringList{"pdfTexify"} << "/p/convert.sh texify my.paper"
                                << true << "-p";
        QTest::newRow("texify report") << QStringList{"pdfTexify", "pdfReport"}
                                       << "/p/convert.sh texify my.paper" << true << "-p -V";
        QTest::newRow("chain runs nothing") << QStringList{"swpgs"} << "" << false << "";
        QTest::newRow("both ticked runs nothing")
            << QStringList{"pdfTexify", "swpgs"} << "" << false << "";
    }
    void pdfRuns() {
        QFETCH(QStringList, ticked);
        QFETCH(QString, commandLine);
        QFETCH(bool, writesSettings);
        QFETCH(QString, settings);
        const DviPdfRun run =
            composePdfRun(optionsOf(ticked), "/p/convert.sh", "/x/my.paper.tex", ".tex");
        QCOMPARE(run.commandLine, commandLine);
        QCOMPARE(run.writesSettings, writesSettings);
        QCOMPARE(run.settings, settings);
        QCOMPARE(run.result, QString("/x/my.paper.pdf"));
        QCOMPARE(run.log, QString("/x/my.paper.log"));
    }

    void logVerdict_data() {
        QTest::addColumn<QByteArray>("log");
        QTest::addColumn<bool>("errors");
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("clean") << QByteArray("This is pdfTeX\nOutput written on x.pdf (1 page).\n")
                               << false;
        QTest::newRow("overfull box is no error")
            << QByteArray("Overfull \\hbox (1.0pt too wide) in paragraph\n") << false;
        QTest::newRow("exclamation inside a line")
            << QByteArray("LaTeX Warning: Reference `a' undefined! on page 1\n") << false;
        QTest::newRow("undefined control sequence")
            << QByteArray("(./x.tex\n! Undefined control sequence.\nl.3 \\foo\n") << true;
        QTest::newRow("file line error")
            << QByteArray("(./x.tex\n./x.tex:3: Undefined control sequence.\n") << true;
        QTest::newRow("folder with blank")
            << QByteArray("/a b/x.tex:12: Emergency stop.\n") << true;
        QTest::newRow("input line is no error")
            << QByteArray("LaTeX Font Info: on input line 3.\nl.3 Text\n") << false;
        QTest::newRow("first line") << QByteArray("! Emergency stop.") << true;
        QTest::newRow("indented file line is none")
            << QByteArray("  ./x.tex:3: quoted in a message\n\t./x.tex:4: again\n") << false;
        QTest::newRow("file line error after other lines")
            << QByteArray("(./x.tex\nLaTeX Font Info: a: b\nchapter.tex:120: Missing $ inserted.\n")
            << true;
        QTest::newRow("crlf") << QByteArray("a\r\n! LaTeX Error: File `x.sty' not found.\r\n")
                              << true;
    }
    void logVerdict() {
        QFETCH(QByteArray, log);
        QFETCH(bool, errors);
        QCOMPARE(latexLogHasErrors(log), errors);
    }

    void optionsFromModel() {
        OptionsModel model;
        model.setCheckValue(ctl::chkTexify(0), 1);
        model.setCheckValue(ctl::chkReport(0), 0);
        model.setCheckValue(ctl::chkTexify(1), 0);
        model.setCheckValue(ctl::chkReport(1), 1);
        model.setCheckValue(ctl::chkSWPGS, 1);
        model.setIndex(ctl::cmbpdfPasses, 4);
        const DviPdfOptions o = DviPdfOptions::from(model);
        QVERIFY(o.dviTexify);
        QVERIFY(!o.dviReport);
        QVERIFY(!o.pdfTexify);
        QVERIFY(o.pdfReport);
        QVERIFY(o.swpgs);
        QCOMPARE(o.passesIndex, 4);
    }

    // The chain needs Scientific WorkPlace's TrueTeX and a current
    // pdfmakegstc.bat: the user is told what is missing, and nothing runs or
    // counts as a result.
    void chainTellsWhatIsMissing_data() {
        QTest::addColumn<QByteArray>("batchFile");
        QTest::addColumn<QString>("text");
        QTest::newRow("no pdfmakegstc.bat")
            << QByteArray()
            << "Unable to find pdfmakegstc.bat in Morvane's directory.\nYou can "
               "obtain it from \n\nhttp://example.invalid/pdf\n\n";
        QTest::newRow("current pdfmakegstc.bat, no TrueTeX")
            << QByteArray(":: version 2\n") << trueTexUnavailableText();
    }
    void chainTellsWhatIsMissing() {
        QFETCH(QByteArray, batchFile);
        QFETCH(QString, text);
        ConversionRig rig;
        QVERIFY(rig.loaded);
        if (!batchFile.isEmpty())
            rig.home.write("pdfmakegstc.bat", batchFile);
        rig.model.setTag(ctl::Label34, "http://example.invalid/pdf");
        QTemporaryDir work;
        const QString source = work.filePath("paper.tex");
        QFile file(source);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\\documentclass{article}\\begin{document}x\\end{document}\n");
        file.close();
        const QByteArray driverBefore = readAll(rig.home.file("convert.sh"));
        rig.model.setCheckValue(ctl::chkTexify(1), 0);
        rig.model.setCheckValue(ctl::chkSWPGS, 1);
        const ConversionResult result = rig.runDriver(TabPdf, source);
        QCOMPARE(rig.prompter.prompts().size(), 1);
        QCOMPARE(rig.prompter.prompts().first().title, QString("Convert to PDF"));
        QCOMPARE(rig.prompter.prompts().first().icon, Icon::Critical);
        QCOMPARE(rig.prompter.prompts().first().text, text);
        QVERIFY(result.output.isEmpty());
        QVERIFY(result.log.isEmpty());
        QVERIFY(!QFile::exists(work.filePath("paper.pdf")));
        QVERIFY(!QFile::exists(work.filePath("paper.log")));
        QCOMPARE(readAll(rig.home.file("convert.sh")), driverBefore);
    }
};

MORVANE_TEST_GUILESS_MAIN(TestDviPdfOptions)
#include "tst_dvipdfoptions.moc"
