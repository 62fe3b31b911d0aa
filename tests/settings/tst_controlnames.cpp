#include "pipeline/route.h"
#include "settings/controlnames.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QStack>
#include <QTest>
#include <QXmlStreamReader>

using namespace morvane;
using ctl::Kind;

namespace {

struct FormWidget {
    QString className;
    bool editable = false;
    QString form;
};

// Every named widget of the main window's Designer forms; a name given twice
// is recorded with the form of its second place in `twice`.
struct Forms {
    QHash<QString, FormWidget> widgets;
    QStringList twice;
    QString error;
};

void readForm(const QString& path, Forms& forms) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        forms.error = path + QStringLiteral(": ") + file.errorString();
        return;
    }
    QXmlStreamReader xml(&file);
    QStack<QString> widgets; // the widget each open element belongs to
    QStack<bool> isWidget;
    QString property;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const bool widget = xml.name() == u"widget";
            if (widget) {
                const QString name = xml.attributes().value(QLatin1String("name")).toString();
                if (forms.widgets.contains(name))
                    forms.twice.append(name);
                forms.widgets.insert(name,
                                     {xml.attributes().value(QLatin1String("class")).toString(),
                                      false, QFileInfo(path).fileName()});
                widgets.push(name);
            } else if (xml.name() == u"property" && !isWidget.isEmpty() && isWidget.top()) {
                property = xml.attributes().value(QLatin1String("name")).toString();
            } else if (xml.name() == u"bool" && property == u"editable") {
                forms.widgets[widgets.top()].editable = xml.readElementText() == u"true";
                property.clear();
                continue; // readElementText consumed the end element
            }
            isWidget.push(widget);
        } else if (xml.isEndElement()) {
            if (isWidget.pop())
                widgets.pop();
            if (xml.name() == u"property")
                property.clear();
        }
    }
    if (xml.hasError())
        forms.error = path + QStringLiteral(": ") + xml.errorString();
}

const Forms& mainWindowForms() {
    static const Forms forms = [] {
        Forms f;
        const QDir ui(QStringLiteral(MORVANE_SOURCE_DIR "/src/ui"));
        QStringList files{QStringLiteral("mainwindow.ui")};
        files += ui.entryList({QStringLiteral("tab_*.ui")}, QDir::Files, QDir::Name);
        for (const QString& name : files)
            readForm(ui.filePath(name), f);
        return f;
    }();
    return forms;
}

// Whether a widget of the form can show a control of this kind.
bool fits(Kind kind, const FormWidget& w) {
    switch (kind) {
    case Kind::CheckBox:
        return w.className == u"QCheckBox";
    case Kind::OptionButton:
        return w.className == u"QRadioButton";
    case Kind::ListCombo:
        return w.className == u"QComboBox" && !w.editable;
    case Kind::TextCombo:
        return w.className == u"QComboBox" && w.editable;
    case Kind::LineEdit:
        return w.className == u"QLineEdit";
    case Kind::TextBox:
        return w.className == u"QPlainTextEdit";
    case Kind::ListBox:
        return w.className == u"QListWidget";
    case Kind::TreeList:
        return w.className == u"QTreeWidget";
    case Kind::Label:
        return w.className == u"QLabel";
    case Kind::Button:
        return w.className == u"QPushButton";
    case Kind::TabBar:
        return w.className == u"QTabBar";
    case Kind::Frame:
        return w.className == u"QWidget" || w.className == u"QFrame" || w.className == u"QGroupBox";
    case Kind::OptionGroup:
    case Kind::State:
        return false; // no widget carries these names
    }
    return false;
}

// The elements an array has on the built-in forms: an open array has one
// per route tab.
int elementCount(const ctl::Entry& e) {
    return e.count == ctl::kPerRoute ? int(builtInRoutes().size()) : e.count;
}

} // namespace

class TestControlNames : public QObject {
    Q_OBJECT
private slots:
    void formsRead() {
        const Forms& forms = mainWindowForms();
        QVERIFY2(forms.error.isEmpty(), qPrintable(forms.error));
        QVERIFY2(forms.twice.isEmpty(), qPrintable(forms.twice.join(u' ')));
    }

    // Each control the program names is a widget of the forms, of a class
    // that holds what the model keeps for it; model state and option groups
    // are no widget's name. Arrays have exactly their elements.
    void everyControlIsOnTheForms_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("onForm");
        auto row = [](const QString& name, Kind kind, bool onForm) {
            QTest::newRow(qPrintable(name)) << name << int(kind) << onForm;
        };
        for (const ctl::Entry& e : ctl::allControls()) {
            const QString name = QString::fromLatin1(e.name);
            if (!e.isArray()) {
                row(name, e.kind, e.kind != Kind::State);
                continue;
            }
            const Kind element = e.kind == Kind::OptionGroup ? Kind::OptionButton : e.kind;
            const int count = elementCount(e);
            for (int i = e.first; i < e.first + count; ++i)
                row(name + u'_' + QString::number(i), element, true);
            row(name + u'_' + QString::number(e.first - 1), element, false);
            row(name + u'_' + QString::number(e.first + count), element, false);
            row(name, e.kind, false);
        }
    }
    void everyControlIsOnTheForms() {
        QFETCH(QString, name);
        QFETCH(int, kind);
        QFETCH(bool, onForm);
        const Forms& forms = mainWindowForms();
        const auto w = forms.widgets.constFind(name);
        QCOMPARE(w != forms.widgets.cend(), onForm);
        if (onForm)
            QVERIFY2(fits(Kind(kind), *w),
                     qPrintable(w->className + QStringLiteral(" in ") + w->form));
    }

    // The lookup finds each control by its own name, and the name of what
    // it finds is that name.
    void lookupFindsEveryControl() {
        QSet<QString> seen;
        const auto entries = ctl::allControls();
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const ctl::Entry& e = entries[i];
            const QString name = QString::fromLatin1(e.name);
            QVERIFY2(!seen.contains(name), e.name);
            seen.insert(name);
            QList<ctl::Control> controls;
            if (!e.isArray() || e.kind == Kind::OptionGroup)
                controls.append(ctl::Control(ctl::detail::Id(i), -1));
            for (int n = e.first; n < e.first + elementCount(e); ++n)
                controls.append(ctl::ControlArray(ctl::detail::Id(i), e.first, e.count)(n));
            for (const ctl::Control c : controls) {
                QVERIFY2(c.isValid(), e.name);
                QVERIFY2(ctl::find(c.name()) == std::optional(c), qPrintable(c.name()));
            }
            if (!e.isArray())
                QCOMPARE(controls.first().name(), name);
        }
    }

    void lookupOfOtherNames_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << "";
        QTest::newRow("other letter case") << "chkhacha";
        QTest::newRow("prefix") << "chkHach";
        QTest::newRow("past the array") << "optOutput_3";
        QTest::newRow("before the array") << "fraContainer_0";
        QTest::newRow("no number") << "optOutput_";
        QTest::newRow("leading zero") << "optOutput_01";
        QTest::newRow("sign") << "optOutput_+1";
        QTest::newRow("huge number") << "optOutput_99999999999";
        QTest::newRow("array of check boxes as a whole") << "chkTexify";
        QTest::newRow("element of a single control") << "chkHacha_0";
        QTest::newRow("state spelt as identifier") << "cmdAdvancedReturning";
    }
    void lookupOfOtherNames() {
        QFETCH(QString, name);
        QVERIFY(!ctl::find(name));
    }

    void elementsAreCheckedAgainstTheArray() {
        static_assert(ctl::optOutput(2).isValid() && !ctl::optOutput(3).isValid());
        static_assert(!ctl::fraContainer(0).isValid() && ctl::fraContainer(7).isValid());
        static_assert(!ctl::chkTexify(-1));
        static_assert(ctl::optOutput(1).group() == ctl::optOutput);
        QCOMPARE(ctl::optOutput(2).name(), QStringLiteral("optOutput_2"));
        QCOMPARE(ctl::optOutput(2).kind(), Kind::OptionButton);
        QCOMPARE(ctl::Control(ctl::optOutput).kind(), Kind::OptionGroup);
        QCOMPARE(ctl::cmdAdvancedReturning.name(), QStringLiteral("cmdAdvanced.returning"));
        QCOMPARE(ctl::optOutput(3).name(), QString());
    }

    void registeredControlsAreFoundAndKept() {
        const ctl::Control loud = ctl::registerControl("chkTestLoud", Kind::CheckBox);
        QCOMPARE(ctl::registerControl("chkTestLoud", Kind::CheckBox), loud);
        QCOMPARE(ctl::find(u"chkTestLoud"), std::optional(loud));
        QCOMPARE(loud.name(), QStringLiteral("chkTestLoud"));
        QVERIFY(loud != ctl::registerControl("chkTestQuiet", Kind::CheckBox));
        QCOMPARE(ctl::registerControl("chkHacha", Kind::CheckBox), ctl::chkHacha);
    }
};

MORVANE_TEST_GUILESS_MAIN(TestControlNames)
#include "tst_controlnames.moc"
