// The pages of the tab strip are built when first needed: a page not shown
// yet answers lookups and is bound as if it had been built with the window,
// and a page built late is shown, wired and ordered like the others.

#include "pipeline/appcontext.h"
#include "settings/helplinks.h"
#include "settings/optionsmodel.h"
#include "support/testmain.h"
#include "ui/pageforms.h"
#include "windowfixture.h"

#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QUrl>

using namespace morvane;

namespace {

using Fixture = test::WindowFixture;

// The tab of each page form of the built-in table; Help last.
QList<std::pair<QString, int>> pagesAfterTheFirst() {
    const RouteTable routes = builtInRoutes();
    QList<std::pair<QString, int>> pages;
    for (const Route& route : routes)
        if (tabOf(routes, route) > 1)
            pages.append({QLatin1String(route.form), tabOf(routes, route)});
    pages.append({QStringLiteral("tab_help"), helpTab(routes)});
    return pages;
}

QString pageName(int tab) {
    return tab == helpTab(builtInRoutes()) ? QStringLiteral("fraHelp")
                                           : ctl::fraContainer(tab).name();
}

void addPages() {
    QTest::addColumn<QString>("form");
    QTest::addColumn<int>("tab");
    for (const auto& [form, tab] : pagesAfterTheFirst())
        QTest::newRow(qPrintable(form)) << form << tab;
}

} // namespace

class TestLazyPages : public QObject {
    Q_OBJECT
private slots:
    void pageNotShownAnswersLookups_data() { addPages(); }
    // Only the page shown at start has its form. Every control of another
    // page's form is found by its name on its page, built without a word to
    // the model, and bound, showing what the model was told before.
    void pageNotShownAnswersLookups() {
        QFETCH(QString, form);
        QFETCH(int, tab);
        Fixture f;
        auto* page = f.window->findChild<QWidget*>(pageName(tab));
        QVERIFY(page && !page->findChild<QWidget*>());
        QVERIFY(f.window->findChild<QWidget*>(pageName(1))->findChild<QWidget*>());
        const FormControls& controls = pageFormControls(form);
        QVERIFY(!controls.isEmpty());
        const ctl::Control first = controls.first().control;
        f.model.setEnabled(first, false);
        QSignalSpy changes(&f.model, &OptionsModel::changed);
        QWidget* widget = f.window->widgetNamed(first.name());
        QVERIFY(widget);
        QCOMPARE(changes.count(), 0);
        QVERIFY(!widget->isEnabled());
        for (const FormControl& control : controls) {
            QWidget* w = f.window->widgetNamed(control.control.name());
            QVERIFY2(w && page->isAncestorOf(w), qPrintable(control.control.name()));
            f.model.setEnabled(control.control, false);
            QVERIFY2(!w->isEnabled(), qPrintable(control.control.name()));
            f.model.setEnabled(control.control, true);
        }
        QVERIFY(page->isHidden());
    }

    void shownPageIsBuiltWhole_data() { addPages(); }
    // Shown by its tab, a page comes up with its controls shown and reached
    // by Tab before the lower frame, as the pages built at start are.
    void shownPageIsBuiltWhole() {
        QFETCH(QString, form);
        QFETCH(int, tab);
        Fixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        f.model.setIndex(ctl::tbstrip, tab);
        auto* page = f.window->findChild<QWidget*>(pageName(tab));
        QVERIFY(page->isVisible());
        QList<QWidget*> shown;
        for (const FormControl& control : pageFormControls(form)) {
            auto* w = page->findChild<QWidget*>(control.control.name());
            QVERIFY2(w, qPrintable(control.control.name()));
            if (w->isVisible() && (w->focusPolicy() & Qt::TabFocus))
                shown << w;
        }
        QVERIFY(!shown.isEmpty());
        auto* tabs = f.find<QTabBar>("tbstrip");
        auto* exit = f.find<QWidget>("cmdExit");
        bool pastExit = false;
        for (QWidget* w = tabs->nextInFocusChain(); w != tabs; w = w->nextInFocusChain()) {
            pastExit = pastExit || w == exit;
            QVERIFY2(!pastExit || !shown.contains(w), qPrintable(w->objectName()));
        }
    }

    // A page built late gets the window's own handling: its link label, a
    // dropped file on its text box, the focus asked for by the logic.
    void pageBuiltLateIsWired() {
        Fixture f;
        setDefaultLinks(f.model);
        f.model.setTag(ctl::Label34, QStringLiteral("https://example.org/pdf"));
        f.model.setIndex(ctl::tbstrip, 6);
        auto* link = f.window->findChild<QLabel*>(QStringLiteral("Label34"));
        QVERIFY(link);
        QCOMPARE(link->toolTip(), QStringLiteral("https://example.org/pdf"));
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);

        QVERIFY(!f.window->findChild<QWidget*>(QStringLiteral("txtImages")));
        f.ctx.seams.requestFocus(ctl::txtImages);
        auto* images = f.window->findChild<QLineEdit*>(QStringLiteral("txtImages"));
        QVERIFY(images);
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        f.model.setIndex(ctl::tbstrip, 3);
        QVERIFY(images->isVisible());
        QMimeData file;
        // As a file manager offers it: also as text, which the box would take.
        file.setUrls({QUrl::fromLocalFile(QStringLiteral("/docs/dropped.tex"))});
        file.setText(QStringLiteral("/docs/dropped.tex"));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &file, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(images, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &file, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(images, &drop);
        QCOMPARE(f.model.text(ctl::cmbTeX), QStringLiteral("/docs/dropped.tex"));
        QCOMPARE(images->text(), QStringLiteral("images"));
    }
};

MORVANE_TEST_MAIN(TestLazyPages)
#include "tst_lazypages.moc"
