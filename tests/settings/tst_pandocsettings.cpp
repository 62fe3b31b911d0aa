// The pandoc route's section of Morvane.ini: nothing is added to a file
// while the choices are the defaults, and a changed choice comes back.

#include "settings/inisync.h"
#include "settings/optionsmodel.h"
#include "settings/pandocsettings.h"
#include "support/doubles.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace morvane;

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestPandocSettings : public QObject {
    Q_OBJECT

private slots:
    void writtenOnlyOnceChanged_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<bool>("citations");
        QTest::addColumn<QString>("root");
        QTest::addColumn<QByteArray>("section");
        QTest::newRow("defaults: the file stays as it was")
            << 0 << true << QDir::homePath() << QByteArray();
        QTest::newRow("an e-book without citations")
            << 1 << false << QDir::homePath()
            << QByteArray("[Pandoc]\nFormat=epub3\nCitations=No\n");
        QTest::newRow("another output root")
            << 0 << true << "/srv/pages" << QByteArray("[Pandoc]\nSaveTo=/srv/pages\n");
    }
    void writtenOnlyOnceChanged() {
        QFETCH(int, format);
        QFETCH(bool, citations);
        QFETCH(QString, root);
        QFETCH(QByteArray, section);
        QTemporaryDir dir;
        const QString ini = dir.filePath("Morvane.ini");
        const QByteArray before = "[Preferences]\nSavePreferences=Yes\n";
        QFile file(ini);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
        file.close();

        OptionsModel model;
        SettingsVariables vars;
        readini(ini, model, vars, pandocIniKeys());
        QCOMPARE(model.index(ctl::cmbPandocFormat), 0);
        QVERIFY(model.isChecked(ctl::chkPandocCiteproc));
        QCOMPARE(vars.pandocSaveTo, QDir::homePath());
        model.setChecked(ctl::chkSave, true);
        model.setIndex(ctl::cmbPandocFormat, format);
        model.setChecked(ctl::chkPandocCiteproc, citations);
        vars.pandocSaveTo = root;
        ScriptedPrompter prompter;
        QVERIFY(writeini(ini, model, vars, prompter, pandocIniKeys()));
        QCOMPARE(readAll(ini), before + (section.isEmpty() ? QByteArray() : "\n" + section));

        // Read back, and written back unchanged: a key in the file stays.
        OptionsModel again;
        SettingsVariables againVars;
        readini(ini, again, againVars, pandocIniKeys());
        QCOMPARE(again.index(ctl::cmbPandocFormat), format);
        QCOMPARE(again.isChecked(ctl::chkPandocCiteproc), citations);
        QCOMPARE(againVars.pandocSaveTo, root);
        again.setChecked(ctl::chkSave, true);
        again.setIndex(ctl::cmbPandocFormat, 0);
        QVERIFY(writeini(ini, again, againVars, prompter, pandocIniKeys()));
        QCOMPARE(readAll(ini).contains("Format=html5"), format != 0);
    }
};

MORVANE_TEST_APPLESS_MAIN(TestPandocSettings)
#include "tst_pandocsettings.moc"
