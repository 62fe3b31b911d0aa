#include "pipeline/appcontext.h"
#include "settings/optionsmodel.h"
#include "support/testmain.h"
#include "ui/stylelist.h"

#include <QTest>

using namespace morvane;

namespace {

const QString kSep = styleListSeparator();

// A list written as a string: "-" stands for the separator, every other
// letter for a style.
QStringList listOf(const QString& compact) {
    QStringList out;
    for (QChar c : compact)
        out << (c == QLatin1Char('-') ? kSep : QString(c));
    return out;
}

struct Fixture {
    OptionsModel model;
    AppContext ctx;
    Fixture(const QString& compact, int selected) {
        ctx.model = &model;
        model.setItems(ctl::List1, listOf(compact));
        model.setIndex(ctl::List1, selected);
    }
};

} // namespace

class TestStyleList : public QObject {
    Q_OBJECT
private slots:
    void separatorIs26Hyphens();
    void moveUp_data();
    void moveUp();
    void moveDown_data();
    void moveDown();
    void drop_data();
    void drop();
};

void TestStyleList::separatorIs26Hyphens() {
    QCOMPARE(kSep, QStringLiteral("--------------------------"));
}

void TestStyleList::moveUp_data() {
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("selectedAfter");
    QTest::newRow("first entry stays") << "-abc" << 0 << "-abc" << 0;
    QTest::newRow("style above the line") << "-abc" << 1 << "a-bc" << 0;
    QTest::newRow("separator moves up") << "ab-c" << 2 << "a-bc" << 1;
    QTest::newRow("full: entry below the line refused") << "abcde-fg" << 6 << "abcde-fg" << 6;
    QTest::newRow("full: separator refused") << "abcde-fg" << 5 << "abcde-fg" << 5;
    QTest::newRow("further down moves") << "abcde-fgh" << 7 << "abcde-gfh" << 6;
    QTest::newRow("no selection") << "-abc" << -1 << "-abc" << -1;
}

void TestStyleList::moveUp() {
    QFETCH(QString, list);
    QFETCH(int, selected);
    QFETCH(QString, after);
    QFETCH(int, selectedAfter);
    Fixture f(list, selected);
    cmdUp_Click(f.ctx);
    QCOMPARE(f.model.items(ctl::List1), listOf(after));
    QCOMPARE(f.model.index(ctl::List1), selectedAfter);
}

void TestStyleList::moveDown_data() {
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("selectedAfter");
    QTest::newRow("separator down") << "-abc" << 0 << "a-bc" << 1;
    QTest::newRow("last entry stays") << "-abc" << 3 << "-abc" << 3;
    QTest::newRow("no selection") << "-abc" << -1 << "-abc" << -1;
    QTest::newRow("separator reaches 5") << "abcd-efg" << 4 << "abcde-fg" << 5;
    QTest::newRow("separator at 5 refused") << "abcde-fg" << 5 << "abcde-fg" << 5;
    QTest::newRow("style below the line") << "a-bc" << 2 << "a-cb" << 3;
}

void TestStyleList::moveDown() {
    QFETCH(QString, list);
    QFETCH(int, selected);
    QFETCH(QString, after);
    QFETCH(int, selectedAfter);
    Fixture f(list, selected);
    cmdDown_Click(f.ctx);
    QCOMPARE(f.model.items(ctl::List1), listOf(after));
    QCOMPARE(f.model.index(ctl::List1), selectedAfter);
}

void TestStyleList::drop_data() {
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("target");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("selectedAfter");
    QTest::newRow("style to the top") << "-abc" << 2 << 0 << true << "b-ac" << 0;
    QTest::newRow("style further down") << "ab-cd" << 0 << 4 << true << "b-cad" << 3;
    QTest::newRow("past the end") << "ab-c" << 0 << 40 << true << "b-ca" << 3;
    QTest::newRow("separator far down stops at 5")
        << "-abcdefgh" << 0 << 9 << true << "abcde-fgh" << 5;
    QTest::newRow("full: from below refused") << "abcde-fgh" << 7 << 2 << false << "abcde-fgh" << 7;
    QTest::newRow("full: below the line moves")
        << "abcde-fgh" << 8 << 6 << true << "abcde-hfg" << 6;
}

void TestStyleList::drop() {
    QFETCH(QString, list);
    QFETCH(int, source);
    QFETCH(int, target);
    QFETCH(bool, accepted);
    QFETCH(QString, after);
    QFETCH(int, selectedAfter);
    Fixture f(list, source);
    QCOMPARE(dropStyle(f.ctx, source, target), accepted);
    QCOMPARE(f.model.items(ctl::List1), listOf(after));
    QCOMPARE(f.model.index(ctl::List1), selectedAfter);
}

MORVANE_TEST_GUILESS_MAIN(TestStyleList)
#include "tst_stylelist.moc"
