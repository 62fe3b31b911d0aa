// The LaTeXML route's section of Morvane.ini: a file written before the route
// existed stays byte for byte as it was while the choices keep their
// defaults, and a changed choice is written and read back.

#include "app/inicommands.h"
#include "pipeline/appcontext.h"
#include "platform/prompter.h"
#include "settings/controlnames.h"
#include "settings/profilefile.h"
#include "support/doubles.h"
#include "support/testhome.h"
#include "support/testmain.h"

#include <QDir>
#include <QTest>
#include <functional>

using namespace morvane;

namespace {

// A program directory with the shipped Morvane.ini, read as the start does;
// the output root is what the path check leaves for a root never set.
struct Program {
    test::TestHome home;
    OptionsModel model;
    ScriptedPrompter prompter;
    AppContext ctx;

    Program() {
        ctx.programDir = home.path();
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        readini(ctx);
        if (ctx.settings.vars.latexmlSaveTo.isEmpty())
            ctx.settings.vars.latexmlSaveTo = QDir::homePath();
    }
    QByteArray ini() const { return test::readAll(iniPath(ctx)); }
    QString stored(const char* key) const {
        return readProfileString(iniPath(ctx), "LaTeXML", QLatin1String(key), "<missing>");
    }
};

using Change = std::function<void(AppContext&)>;

} // namespace

class TestLatexmlSettings : public QObject {
    Q_OBJECT
private slots:
    // An exit with preferences saved writes every key it may: the LaTeXML
    // keys, at their defaults, still add nothing.
    void shippedFileStaysAsItWas() {
        Program program;
        const QByteArray shipped = test::readAll(test::shippedFile("Morvane.ini"));
        QCOMPARE(program.ini(), shipped);
        QCOMPARE(program.model.index(ctl::cmbLatexmlFormat), 0);
        QVERIFY(program.model.isChecked(ctl::chkLatexmlBibliography));
        QVERIFY(program.model.isChecked(ctl::chkSave));
        QVERIFY(writeini(program.ctx));
        QVERIFY(program.prompter.prompts().isEmpty());
        QCOMPARE(program.ini(), shipped);
    }

    void changedChoiceIsWrittenAndReadBack_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<Change>("change");
        QTest::addColumn<Change>("check");
        QTest::newRow("format") << "Format"
                                << "jats" << Change([](AppContext& c) {
                                       c.model->setIndex(ctl::cmbLatexmlFormat, 2);
                                   })
                                << Change([](AppContext& c) {
                                       QCOMPARE(c.model->index(ctl::cmbLatexmlFormat), 2);
                                       QCOMPARE(c.model->items(ctl::cmbLatexmlFormat).size(), 3);
                                   });
        QTest::newRow("split") << "Split"
                               << "section" << Change([](AppContext& c) {
                                      c.model->setIndex(ctl::cmbLatexmlSplit, 2);
                                  })
                               << Change([](AppContext& c) {
                                      QCOMPARE(c.model->index(ctl::cmbLatexmlSplit), 2);
                                  });
        QTest::newRow("math")
            << "Math"
            << "images" << Change([](AppContext& c) { c.model->setIndex(ctl::optLatexmlMath, 1); })
            << Change([](AppContext& c) { QCOMPARE(c.model->index(ctl::optLatexmlMath), 1); });
        QTest::newRow("bibliography")
            << "Bibliography"
            << "No"
            << Change([](AppContext& c) { c.model->setCheckValue(ctl::chkLatexmlBibliography, 0); })
            << Change([](AppContext& c) {
                   QVERIFY(!c.model->isChecked(ctl::chkLatexmlBibliography));
               });
        QTest::newRow("output root")
            << "SaveTo"
            << "/srv/pages"
            << Change([](AppContext& c) { c.settings.vars.latexmlSaveTo = "/srv/pages"; })
            << Change([](AppContext& c) {
                   QCOMPARE(c.settings.vars.latexmlSaveTo, QStringLiteral("/srv/pages"));
               });
    }
    void changedChoiceIsWrittenAndReadBack() {
        QFETCH(QString, key);
        QFETCH(QString, stored);
        QFETCH(Change, change);
        QFETCH(Change, check);
        Program program;
        program.model.setCheckValue(ctl::chkSave, 1);
        change(program.ctx);
        QVERIFY(writeini(program.ctx));
        QCOMPARE(program.stored(key.toLatin1().constData()), stored);

        // The choices left at their defaults stay out of the file.
        for (const char* other : {"SaveTo", "Format", "Split", "Math", "Bibliography"})
            if (key != QLatin1String(other))
                QCOMPARE(program.stored(other), QStringLiteral("<missing>"));

        // The next start reads it back.
        OptionsModel model;
        AppContext next;
        next.programDir = program.home.path();
        next.model = &model;
        next.seams.prompter = &program.prompter;
        readini(next);
        check(next);
    }

    // A key the file already has follows the choice back to its default, and
    // the home folder chosen again is stored as no root.
    void storedKeyFollowsTheDefaultBack() {
        Program program;
        program.model.setCheckValue(ctl::chkSave, 1);
        program.model.setIndex(ctl::cmbLatexmlFormat, 1);
        program.ctx.settings.vars.latexmlSaveTo = "/srv/pages";
        QVERIFY(writeini(program.ctx));
        QCOMPARE(program.stored("Format"), QStringLiteral("xhtml"));
        program.model.setIndex(ctl::cmbLatexmlFormat, 0);
        program.ctx.settings.vars.latexmlSaveTo = QDir::homePath();
        QVERIFY(writeini(program.ctx));
        QCOMPARE(program.stored("Format"), QStringLiteral("html5"));
        QCOMPARE(program.stored("SaveTo"), QString());
    }
};

MORVANE_TEST_GUILESS_MAIN(TestLatexmlSettings)
#include "tst_latexmlsettings.moc"
