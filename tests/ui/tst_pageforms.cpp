// The lists of the pages' controls against the Designer forms they stand
// for until a page is built: a form edited without its list would give the
// model another state at start than the page shows once built.

#include "support/testmain.h"
#include "ui/modelbinder.h"
#include "ui/pageforms.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <memory>

using namespace morvane;

namespace {

QString cppString(const QString& text) {
    QString out = QStringLiteral("u\"");
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\')
            out += u'\\' + QString(c);
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out + QStringLiteral("\"_s");
}

QString cppControl(ctl::Control control) {
    const QString name = control.name();
    if (control.element() < 0)
        return QStringLiteral("ctl::") + name;
    const QString array = name.left(name.lastIndexOf(u'_'));
    return QStringLiteral("ctl::%1(%2)").arg(array).arg(control.element());
}

// One row of a list as pageforms.cpp writes it.
QString cppRow(const FormControl& row) {
    const ControlState& s = row.state;
    QStringList fields;
    if (s.caption)
        fields << QStringLiteral(".caption = ") + cppString(*s.caption);
    if (s.disabled)
        fields << QStringLiteral(".disabled = true");
    if (s.hidden)
        fields << QStringLiteral(".hidden = true");
    if (!s.items.isEmpty()) {
        QStringList items;
        for (const QString& item : s.items)
            items << cppString(item);
        fields << QStringLiteral(".items = {") + items.join(QStringLiteral(", ")) + u'}';
    }
    if (!s.text.isEmpty())
        fields << QStringLiteral(".text = ") + cppString(s.text);
    if (s.check)
        fields << QStringLiteral(".check = %1").arg(s.check);
    if (s.selected)
        fields << QStringLiteral(".selected = true");
    if (s.tab)
        fields << QStringLiteral(".tab = %1").arg(s.tab);
    return QStringLiteral("{%1, {%2}},").arg(cppControl(row.control), fields.join(u", "));
}

QStringList cppRows(const FormControls& rows) {
    QStringList out;
    for (const FormControl& row : rows)
        out << cppRow(row);
    return out;
}

} // namespace

class TestPageForms : public QObject {
    Q_OBJECT
private slots:
    void listMatchesForm_data() {
        QTest::addColumn<QString>("form");
        for (const QString& form : pageForms())
            QTest::newRow(qPrintable(form)) << form;
    }

    // The list holds the controls below the page, in the binder's order, with
    // the state the form gives them; the page itself is the empty page the
    // window made, so the form gives it nothing either.
    void listMatchesForm() {
        QFETCH(QString, form);
        std::unique_ptr<QWidget> page(newPageOfForm(form));
        QVERIFY(page);
        FormControls fromForm = boundControlsOf(page.get());
        QVERIFY(!fromForm.isEmpty());
        QCOMPARE(fromForm.first().state, ControlState());
        fromForm.removeFirst();
        const QStringList expected = cppRows(fromForm);
        const QStringList listed = cppRows(pageFormControls(form));
        if (listed != expected)
            qWarning().noquote() << "pageforms.cpp should list for" << form << "\n"
                                 << expected.join(u'\n');
        QCOMPARE(listed, expected);
        QVERIFY(pageFormControls(form) == fromForm);
    }

    // The reading covers what each kind of widget gives: a test of the
    // reading itself, on widgets set up by hand.
    void stateOfEachKind() {
        QWidget root;
        auto* check = new QCheckBox(QStringLiteral("&Tick"), &root);
        check->setTristate(true);
        check->setCheckState(Qt::PartiallyChecked);
        auto* radio = new QRadioButton(QStringLiteral("On"), &root);
        radio->setChecked(true);
        radio->setEnabled(false);
        auto* combo = new QComboBox(&root);
        combo->addItems({QStringLiteral("a"), QStringLiteral("b")});
        auto* editable = new QComboBox(&root);
        editable->setEditable(true);
        editable->addItem(QStringLiteral("typed"));
        auto* edit = new QLineEdit(QStringLiteral("text"), &root);
        edit->hide();

        QCOMPARE(controlStateOf(check),
                 ControlState({.caption = QStringLiteral("&Tick"), .check = 2}));
        QCOMPARE(
            controlStateOf(radio),
            ControlState({.caption = QStringLiteral("On"), .disabled = true, .selected = true}));
        QCOMPARE(controlStateOf(combo),
                 ControlState({.items = {QStringLiteral("a"), QStringLiteral("b")}}));
        QCOMPARE(controlStateOf(editable), ControlState({.items = {QStringLiteral("typed")},
                                                         .text = QStringLiteral("typed")}));
        QCOMPARE(controlStateOf(edit),
                 ControlState({.hidden = true, .text = QStringLiteral("text")}));
    }
};

MORVANE_TEST_MAIN(TestPageForms)
#include "tst_pageforms.moc"
