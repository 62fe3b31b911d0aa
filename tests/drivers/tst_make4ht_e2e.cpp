// make4ht on the TeX4ht route end to end, with the real make4ht: each format
// and engine from the window's options, and from Morvane.ini in batch mode.

#include "conversionrig.h"
#include "settings/controlnames.h"
#include "support/testmain.h"

#include <QProcess>

#include <QStandardPaths>

using namespace morvane;
using namespace morvane::test;

namespace {

QString paperData() {
    return QStringLiteral(MORVANE_SOURCE_DIR "/tests/data/tex4ht");
}

} // namespace

class TestMake4htE2e : public QObject {
    Q_OBJECT

    QTemporaryDir m_work;
    QString m_docs;

private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable("make4ht").isEmpty())
            QSKIP("make4ht is not installed (Debian package texlive-extra-utils)");
        QVERIFY(copyTree(paperData(), m_work.filePath("tex4ht")));
        m_docs = m_work.filePath("tex4ht/docs");
        QFile doc(m_docs + "/small.tex");
        QVERIFY(doc.open(QIODevice::WriteOnly));
        doc.write("\\documentclass{article}\n\\begin{document}\n\\section{Start}\\label{s}\n"
                  "See section~\\ref{s}: $a^2+b^2$.\n\\end{document}\n");
    }

    void formatsAndEngines_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("engine");
        QTest::addColumn<QString>("engineProgram");
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QString>("pageHolds");
        QTest::newRow("html5, latex") << 0 << 0 << "latex"
                                      << "make4ht -f html5 small"
                                      << "<!DOCTYPE html>";
        QTest::newRow("xhtml, latex") << 1 << 0 << "latex"
                                      << "make4ht -f xhtml small"
                                      << "DTD XHTML";
        QTest::newRow("html5, lualatex") << 0 << 1 << "lualatex"
                                         << "make4ht -l -f html5 small"
                                         << "<!DOCTYPE html>";
        QTest::newRow("html5, xelatex") << 0 << 2 << "xelatex"
                                        << "make4ht -x -f html5 small"
                                        << "<!DOCTYPE html>";
    }

    void formatsAndEngines() {
        QFETCH(int, format);
        QFETCH(int, engine);
        QFETCH(QString, engineProgram);
        QFETCH(QString, commandLine);
        QFETCH(QString, pageHolds);
        if (QStandardPaths::findExecutable(engineProgram).isEmpty())
            QSKIP(qPrintable(engineProgram + " is not installed"));

        ConversionRig rig;
        QVERIFY(rig.loaded);
        const QString out = m_work.filePath(QStringLiteral("out%1%2").arg(format).arg(engine));
        QVERIFY(QDir().mkpath(out));
        rig.ctx.settings.vars.tex4htSaveTo = out;
        rig.selectTab(TabTex4ht);
        rig.model.setIndex(ctl::cmbMake4htFormat, format);
        rig.model.setIndex(ctl::cmbMake4htEngine, engine);
        rig.model.setChecked(ctl::chkMake4ht, true);
        rig.model.setText(ctl::cmbTeX, m_docs + "/small.tex");
        QCOMPARE(rig.model.text(ctl::txt3), commandLine);

        const std::optional<ConversionResult> result = cmdConvert_Click(rig.ctx);
        QVERIFY(result && result->produced);
        QCOMPARE(result->output, out + "/small/small.html");
        const QByteArray page = readAll(result->output);
        QVERIFY2(page.contains(pageHolds.toUtf8()), page.left(400).constData());
        QVERIFY(page.contains("Start"));
        QVERIFY(result->verdict != LogVerdict::Errors);
        // The settings block hands make4ht its switches before the document.
        const QByteArray line = "set cmdline=" + commandLine.toUtf8().replace("small", "%2");
        QVERIFY(readAll(rig.home.file("convert.sh")).contains(line));
    }

    // An office document from make4ht, an e-book from tex4ebook: each a zip
    // with its main part, handed to the desktop rather than the browser.
    void documentsAndBooks_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("mainPart");
        QTest::newRow("ODT") << 2 << "odt"
                             << "content.xml";
        QTest::newRow("EPUB 3") << 3 << "epub"
                                << "content.opf";
    }
    void documentsAndBooks() {
        QFETCH(int, format);
        QFETCH(QString, suffix);
        QFETCH(QString, mainPart);
        ConversionRig rig;
        QVERIFY(rig.loaded);
        const QString out = m_work.filePath("out-" + suffix);
        QVERIFY(QDir().mkpath(out));
        rig.ctx.settings.vars.tex4htSaveTo = out;
        rig.selectTab(TabTex4ht);
        rig.model.setIndex(ctl::cmbMake4htFormat, format);
        rig.model.setChecked(ctl::chkMake4ht, true);
        rig.model.setText(ctl::cmbTeX, m_docs + "/small.tex");
        rig.model.setCheckValue(ctl::chkIE, 1);

        const std::optional<ConversionResult> result = cmdConvert_Click(rig.ctx);
        QVERIFY(result && result->produced);
        QCOMPARE(result->output, out + "/small/small." + suffix);
        const QByteArray zip = readAll(result->output);
        // Both formats begin with their uncompressed "mimetype" entry.
        QCOMPARE(zip.mid(30, 8), QByteArray("mimetype"));
        QVERIFY(zip.contains(mainPart.toUtf8()));
        QCOMPARE(rig.shell.opened, QStringList{result->output});
        if (suffix == "epub") { // the package document lists the pages
            QProcess unzip;
            unzip.start("unzip", {"-p", result->output, "*.opf"});
            QVERIFY(unzip.waitForFinished());
            QVERIFY(unzip.readAllStandardOutput().contains("se1.xhtml'"));
        }
    }

    // The choice stored in Morvane.ini reaches a conversion without a window.
    void fromTheSettingsFile() {
        TestHome home;
        const QString out = m_work.filePath("batchout");
        QVERIFY(QDir().mkpath(out));
        setIniKey(home.file("Morvane.ini"), "SaveTo", out);
        setIniKey(home.file("Morvane.ini"), "Make4ht", "Yes");
        setIniKey(home.file("Morvane.ini"), "Make4htFormat", "xhtml");
        const BatchRun run = runBatch(home.path(), m_docs, {"--convert=tex4ht", "small.tex"});
        QVERIFY2(run.status == 0, run.err.constData());
        QVERIFY(readAll(out + "/small/small.html").contains("DTD XHTML"));
        QVERIFY(readAll(home.file("convert.sh")).contains("set cmdline=make4ht -f xhtml %2"));
    }
};

MORVANE_TEST_MAIN(TestMake4htE2e)
#include "tst_make4ht_e2e.moc"
