// The route table, the exit status batch mode takes from a conversion's
// result, and batch mode running without the GUI libraries.

#include "app/batchmode.h"
#include "conversionrig.h"
#include "pipeline/route.h"
#include "support/testmain.h"

#include <QProcess>
#include <QSet>
#include <QTest>

using namespace morvane;
using namespace morvane::test;

class TestRoutes : public QObject {
    Q_OBJECT
private slots:
    void tableListsEveryTabOnce() {
        const RouteTable routes = builtInRoutes();
        QStringList order;
        for (const Route& route : routes)
            order.append(QLatin1String(route.key));
        QCOMPARE(order, (QStringList{"hevea", "tth", "tex4ht", "latex2html", "dvi", "pdf",
                                     "latexml", "pandoc"}));
        QSet<QString> keys;
        for (std::size_t i = 0; i < routes.size(); ++i) {
            const Route& route = routes[i];
            QCOMPARE(tabOf(routes, route), int(i) + 1); // tab order
            keys.insert(QLatin1String(route.key));
            QCOMPARE(keys.size(), qsizetype(i) + 1); // keys are unique
            QVERIFY(routeForKey(routes, QLatin1String(route.key)) == &route);
            QVERIFY(routeForTab(routes, tabOf(routes, route)) == &route);
            QVERIFY(route.caption && *route.caption);
            QVERIFY(route.resultWord && route.place);
            QVERIFY(route.program.locationKey && route.program.location);
            QVERIFY(route.program.names[0]);
            // A route with an output root has a label to show it.
            QCOMPARE(route.outputRoot == nullptr, route.outputRootLabel == nullptr);
        }
        // Later routes come after PDF: StartupTab 0-5 and the first tabs keep their numbers.
        QCOMPARE(helpTab(routes), int(routes.size()) + 1);
        QCOMPARE(TabLatexml, 7);
        QVERIFY(!routeForTab(routes, TabHelp));
        QVERIFY(!routeForTab(routes, 0));
        QVERIFY(!routeForKey(routes, "HeVeA")); // keys are lower case, as --help names them
    }

    void everyRouteNamedInHelp() {
        const QString help = commandLineHelp();
        for (const Route& route : builtInRoutes())
            QVERIFY2(help.contains(QLatin1String(route.key)), route.key);
    }

    void builtRoutesHaveDrivers() {
        // The HeVeA and TtH routes are built; each log kind is its own but
        // for DVI and PDF, which share one.
        QVERIFY(routeForTab(builtInRoutes(), TabHevea)->driver);
        QVERIFY(routeForTab(builtInRoutes(), TabTth)->driver);
        QCOMPARE(QLatin1String(routeForTab(builtInRoutes(), TabDvi)->logSlot),
                 QLatin1String(routeForTab(builtInRoutes(), TabPdf)->logSlot));
        QVERIFY(QLatin1String(routeForTab(builtInRoutes(), TabHevea)->logSlot) !=
                QLatin1String(routeForTab(builtInRoutes(), TabTth)->logSlot));
    }

    // The status comes from the log's entries; View Log's caption (the
    // verdict) does not decide it.
    void exitStatus_data() {
        QTest::addColumn<bool>("ran");
        QTest::addColumn<bool>("produced");
        QTest::addColumn<int>("verdict");
        QTest::addColumn<QString>("entry"); // "", "warning", "error" or "fatal"
        QTest::addColumn<int>("status");
        const int errors = int(LogVerdict::Errors);
        QTest::newRow("no driver ran") << false << false << 0 << "" << 2;
        QTest::newRow("nothing new") << true << false << int(LogVerdict::Clean) << "" << 2;
        QTest::newRow("nothing new, errors") << true << false << errors << "error" << 2;
        QTest::newRow("clean") << true << true << int(LogVerdict::Clean) << "" << 0;
        QTest::newRow("caption left") << true << true << int(LogVerdict::Unchanged) << "" << 0;
        QTest::newRow("warnings only, caption says errors")
            << true << true << errors << "warning" << 0;
        QTest::newRow("an error entry") << true << true << errors << "error" << 1;
        QTest::newRow("the converter gave up") << true << true << errors << "fatal" << 2;
    }
    void exitStatus() {
        QFETCH(bool, ran);
        QFETCH(bool, produced);
        QFETCH(int, verdict);
        QFETCH(QString, entry);
        QFETCH(int, status);
        std::optional<ConversionResult> result;
        if (ran) {
            result = ConversionResult{"out.html", "out.hlog", LogVerdict(verdict), produced};
            if (!entry.isEmpty()) {
                LogEntry e{entry == "warning" ? LogEntry::Severity::Warning
                                              : LogEntry::Severity::Error,
                           "doc.tex", 3, "message"};
                e.fatal = entry == "fatal";
                result->entries.append(e);
            }
        }
        QCOMPARE(exitStatusOf(result), status);
    }

    // The dynamic loader names every library it loads when LD_DEBUG asks it
    // to: a batch conversion must not need Qt's GUI side.
    void batchModeLoadsNoGuiLibrary() {
        QTemporaryDir work;
        QVERIFY(QFile::copy(dataDir() + "/macro.tex", work.filePath("macro.tex")));
        TestHome home;
        QProcess batch;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("MORVANE_HOME", home.path());
        env.insert("LD_DEBUG", "files");
        batch.setProcessEnvironment(env);
        batch.setWorkingDirectory(work.path());
        batch.start(QStringLiteral(MORVANE_BUILD_PROGRAM_DIR "/morvane"),
                    {"--convert=hevea", "macro.tex"});
        QVERIFY(batch.waitForFinished(60000));
        const QByteArray loads = batch.readAllStandardError();
        QVERIFY2(QFile::exists(work.filePath("macro.html")), loads.right(2000).constData());
        QVERIFY(loads.contains("libQt6Core.so"));
        QVERIFY(loads.contains("libmorvane_core.so"));
        for (const char* gui : {"libQt6Gui", "libQt6Widgets", "libQt6Network", "libQt6WebEngine",
                                "libmorvane_gui", "morvane_webview"})
            QVERIFY2(!loads.contains(gui), gui);
    }
};

MORVANE_TEST_GUILESS_MAIN(TestRoutes)
#include "tst_routes.moc"
