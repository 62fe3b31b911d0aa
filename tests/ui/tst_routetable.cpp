// The route table against the rest of the program: every built-in row
// matches the window's forms, the settings file, Program Locations and
// --check; and a route that exists only in this test needs nothing but its
// driver, its form and its row.

#include "app/batchmode.h"
#include "app/inicommands.h"
#include "app/optionhandlers.h"
#include "pipeline/appcontext.h"
#include "pipeline/conversion.h"
#include "pipeline/convertcommand.h"
#include "settings/controlnames.h"
#include "settings/inisync.h"
#include "settings/profilefile.h"
#include "support/doubles.h"
#include "support/testhome.h"
#include "support/testmain.h"
#include "ui/mainwindow.h"
#include "ui/programlocationsdialog.h"
#include "ui/routepages.h"
#include "windowfixture.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <memory>
#include <vector>

using namespace morvane;

namespace {

using Window = test::WindowFixture;

bool hasKey(const QList<IniKey>& keys, const QString& section, const QString& name) {
    for (const IniKey& key : keys)
        if (QLatin1String(key.section) == section && QLatin1String(key.name) == name)
            return true;
    return false;
}

// The echo route's one option, a check box of its own form.
const ctl::Control chkLoud = ctl::registerControl("chkLoud", ctl::Kind::CheckBox);

// A route of this test only: "echo" copies the document to NAME.echo.
ConversionResult echoDriver(Conversion& conversion) {
    ConversionResult result;
    result.output = conversion.source.chopped(4) + QStringLiteral(".echo");
    QFile::remove(result.output);
    if (conversion.options.isChecked(chkLoud))
        QFile::copy(conversion.source, result.output);
    result.verdict = LogVerdict::Clean;
    return result;
}

QList<NeededProgram> echoPrograms(const OptionsModel&) {
    return {{"sh", "dash", nullptr}};
}

const IniKey kEchoKeys[] = {{.section = "Echo",
                             .name = "Loud",
                             .save = IniSave::WithPreferences,
                             .control = chkLoud,
                             .defaultValue = "No"}};

Route echoRoute() {
    return {.key = "echo",
            .caption = "Echo",
            .tabCaption = "&Echo",
            .form = "tab_echo",
            .helpLine = "copies the document",
            .resultWord = [](const AppContext&) { return QStringLiteral("echo"); },
            .showCaption = nullptr,
            .shows = ResultKind::Document,
            .logSlot = "echo",
            .parseLog = parseLatexLog,
            .program = {"Echo", nullptr, {"sh", nullptr}, true},
            .programBox = nullptr,
            .neededPrograms = echoPrograms,
            .iniSection = "Echo",
            .iniKeys = kEchoKeys,
            .locations = {},
            .settingsBlock = nullptr,
            .scriptRoute = "echo",
            .place =
                [](const AppContext&, const QString& file) {
                    return OutputPlace{file, file.chopped(4) + QStringLiteral(".echo")};
                },
            .outputRoot = nullptr,
            .outputRootLabel = nullptr,
            .needsPlainFileName = false,
            .driver = echoDriver};
}

// The echo route's form: one check box.
void registerEchoForm() {
    registerRoutePage(QStringLiteral("tab_echo"), [](QWidget* page) {
        auto* loud = new QCheckBox(QStringLiteral("&Loud"), page);
        loud->setObjectName(QStringLiteral("chkLoud"));
        (new QVBoxLayout(page))->addWidget(loud);
    });
}

} // namespace

class TestRouteTable : public QObject {
    Q_OBJECT
private slots:
    // Every row of the real table against the window, the settings file,
    // Program Locations and --check.
    void everyRowMatchesTheProgram() {
        Window w;
        const RouteTable routes = w.ctx.routes;
        auto* strip = w.window->widgetNamed<QTabBar>(QStringLiteral("tbstrip"));
        QVERIFY(strip);
        QCOMPARE(strip->count(), helpTab(routes));
        QCOMPARE(strip->tabText(helpTab(routes) - 1), QStringLiteral("&Help"));
        const QList<IniKey> keys = allIniKeys(routes);
        const QList<LocationRow> rows = allLocationRows(routes);
        ProgramLocationsDialog locations(w.ctx);
        const QString help = commandLineHelp();
        for (const Route& route : routes) {
            const int tab = tabOf(routes, route);
            const QString key = QLatin1String(route.key);
            QCOMPARE(strip->tabText(tab - 1), QLatin1String(route.tabCaption));
            QVERIFY2(w.window->widgetNamed(QStringLiteral("fraContainer_%1").arg(tab)), route.form);
            for (ctl::Control control : {route.programBox, route.outputRootLabel})
                QVERIFY2(!control || w.window->widgetNamed(control.name()),
                         qPrintable(control.name()));
            // Its keys sit in its section and are read and written with the rest.
            for (const IniKey& iniKey : route.iniKeys) {
                QCOMPARE(QLatin1String(iniKey.section), QLatin1String(route.iniSection));
                QVERIFY(hasKey(keys, QLatin1String(iniKey.section), QLatin1String(iniKey.name)));
                QVERIFY2(!iniKey.control || w.window->widgetNamed(iniKey.control.name()),
                         iniKey.name);
            }
            // Its program's folder is a row of Program Locations, with a [Paths] key.
            bool located = false;
            for (int row = 1; row <= rows.size(); ++row) {
                if (rows[row - 1].setting != route.program.location)
                    continue;
                located = true;
                QVERIFY(hasKey(keys, QStringLiteral("Paths"), QLatin1String(rows[row - 1].key)));
                auto* box = locations.findChild<QLineEdit*>(QStringLiteral("txtProg_%1").arg(row));
                QVERIFY(box);
                QCOMPARE(box->text(), w.ctx.settings.vars.*route.program.location);
            }
            QVERIFY2(located, route.key);
            // --check names a Debian package for each program; --help names the route.
            const QList<NeededProgram> programs = route.neededPrograms(w.model);
            QVERIFY(!programs.isEmpty());
            for (const NeededProgram& program : programs)
                QVERIFY(program.name && *program.package);
            QVERIFY(help.contains(key + QLatin1Char(' ')));
            QVERIFY(help.contains(QLatin1String(route.helpLine)));
            QVERIFY(route.driver && route.settingsBlock && route.parseLog);
        }
        // Every row of Program Locations has its box, and no box is left over.
        QVERIFY(locations.findChild<QLineEdit*>(QStringLiteral("txtProg_%1").arg(rows.size())));
        QVERIFY(
            !locations.findChild<QLineEdit*>(QStringLiteral("txtProg_%1").arg(rows.size() + 1)));
    }

    // A route added here: its driver, its form and its row are all it takes
    // for the tab strip, Convert, the settings file and --help to know it.
    void aRouteIsOneRow() {
        std::vector<Route> table(builtInRoutes().begin(), builtInRoutes().end());
        table.push_back(echoRoute());
        registerEchoForm();
        Window w(table);
        const int tab = tabOf(w.ctx.routes, w.ctx.routes.back());
        const int builtIn = int(builtInRoutes().size());
        QCOMPARE(tab, builtIn + 1);
        auto* strip = w.window->widgetNamed<QTabBar>(QStringLiteral("tbstrip"));
        QCOMPARE(strip->count(), builtIn + 2);
        QCOMPARE(strip->tabText(tab - 1), QStringLiteral("&Echo"));
        QCOMPARE(strip->tabText(builtIn + 1), QStringLiteral("&Help"));

        // Its page shows on its tab; its option is bound to the model.
        w.model.setIndex(ctl::tbstrip, tab);
        tbstrip_Click(w.ctx);
        auto* loud = w.window->widgetNamed<QCheckBox>(QStringLiteral("chkLoud"));
        QVERIFY(loud);
        QVERIFY(!w.window->widgetNamed(ctl::fraContainer(tab).name())->isHidden());
        QVERIFY(w.model.isEnabled(ctl::cmdConvert));
        loud->click();
        QVERIFY(w.model.isChecked(chkLoud));

        // Convert runs its driver on the file box's file.
        QTemporaryDir dir;
        const QString doc = dir.filePath(QStringLiteral("note.tex"));
        QFile file(doc);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("\\relax\n") == 7);
        file.close();
        w.model.setText(ctl::cmbTeX, doc);
        const std::optional<ConversionResult> result = cmdConvert_Click(w.ctx);
        QVERIFY(result && result->produced);
        QCOMPARE(test::readAll(dir.filePath(QStringLiteral("note.echo"))), QByteArray("\\relax\n"));

        // Its key is written and read with the others.
        w.model.setChecked(ctl::chkSave, true);
        QVERIFY(writeini(w.ctx));
        QCOMPARE(ProfileFile::load(iniPath(w.ctx)).read("Echo", "Loud", ""), QStringLiteral("Yes"));
        OptionsModel again;
        SettingsVariables vars;
        readini(iniPath(w.ctx), again, vars, allIniKeys(w.ctx.routes));
        QVERIFY(again.isChecked(chkLoud));

        QVERIFY(commandLineHelp(w.ctx.routes).contains(QStringLiteral("echo ")));
    }
};

MORVANE_TEST_MAIN(TestRouteTable)
#include "tst_routetable.moc"
