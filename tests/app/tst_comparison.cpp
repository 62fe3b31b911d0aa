// The comparison's order of routes and the choice of the recommended one.

#include "app/comparison.h"
#include "drivers/conversionrig.h"
#include "support/routetabs.h"
#include "support/testmain.h"

Q_DECLARE_METATYPE(morvane::ComparedRoute)

using namespace morvane;
using namespace morvane::test;

namespace {

ComparedRoute routeWith(const QString& caption, double coverage, int unresolved, int rawTex,
                        int mathml, double seconds, bool produced = true) {
    ComparedRoute route;
    route.caption = caption;
    route.result = produced ? caption + ".html" : QString();
    route.status = 0;
    route.textCoverage = coverage;
    route.measures.undefinedReferences = unresolved;
    route.measures.rawTex = rawTex;
    route.measures.mathml = mathml;
    route.seconds = seconds;
    return route;
}

} // namespace

class TestComparison : public QObject {
    Q_OBJECT

private slots:
    void scoreOrder_data() {
        QTest::addColumn<ComparedRoute>("better");
        QTest::addColumn<ComparedRoute>("worse");
        QTest::newRow("a page over none")
            << routeWith("a", 0.1, 9, 9, 0, 9) << routeWith("b", 1, 0, 0, 5, 1, false);
        QTest::newRow("nothing lost before anything else")
            << routeWith("a", 0.95, 5, 5, 0, 9) << routeWith("b", 0.80, 0, 0, 5, 1);
        QTest::newRow("coverage within 5 % is even: references decide")
            << routeWith("a", 0.96, 0, 3, 0, 9) << routeWith("b", 0.99, 2, 0, 5, 1);
        QTest::newRow("then TeX left in the text")
            << routeWith("a", 0.99, 0, 0, 0, 9) << routeWith("b", 0.99, 0, 4, 5, 1);
        QTest::newRow("then MathML over pictures")
            << routeWith("a", 0.99, 0, 0, 3, 9) << routeWith("b", 0.99, 0, 0, 0, 1);
        QTest::newRow("then time")
            << routeWith("a", 0.99, 0, 0, 3, 1) << routeWith("b", 0.99, 0, 0, 3, 2);
    }
    void scoreOrder() {
        QFETCH(ComparedRoute, better);
        QFETCH(ComparedRoute, worse);
        QVERIFY(betterThan(better, worse));
        QVERIFY(!betterThan(worse, better));
    }

    // The recommended route becomes the tab, with the choices it ran with.
    void useComparedRouteSetsTheTabAndItsChoices() {
        ConversionRig rig;
        QVERIFY(rig.loaded);
        ComparedRoute make4ht;
        make4ht.routeKey = "tex4ht";
        make4ht.settings = {"TeX4ht/Make4ht=Yes", "TeX4ht/Make4htFormat=html5",
                            "TeX4ht/Cmdline=mathml"};
        useComparedRoute(rig.ctx, make4ht);
        QCOMPARE(rig.model.index(ctl::tbstrip), builtInTab("tex4ht"));
        QVERIFY(rig.model.isChecked(ctl::chkMake4ht));
        QVERIFY(rig.model.text(ctl::txt3).contains("make4ht"));
        QVERIFY(rig.model.text(ctl::txt3).contains("mathml"));
    }
};

MORVANE_TEST_MAIN(TestComparison)
#include "tst_comparison.moc"
