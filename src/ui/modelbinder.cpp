#include "ui/modelbinder.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>

namespace morvane {

using Aspect = OptionsModel::Aspect;

namespace {

// Widgets that composite controls make for themselves (a combo's line edit,
// a scroll area's viewport, a tab bar's scroll buttons) are not controls.
bool isInternalPart(const QWidget* w, const QWidget* root) {
    for (const QWidget* p = w->parentWidget(); p && p != root; p = p->parentWidget()) {
        if (qobject_cast<const QComboBox*>(p) || qobject_cast<const QAbstractScrollArea*>(p) ||
            qobject_cast<const QTabBar*>(p) || qobject_cast<const QAbstractSpinBox*>(p))
            return true;
    }
    return false;
}

QString widgetCaption(const QWidget* w) {
    if (const auto* b = qobject_cast<const QAbstractButton*>(w))
        return b->text();
    if (const auto* l = qobject_cast<const QLabel*>(w))
        return l->text();
    if (const auto* g = qobject_cast<const QGroupBox*>(w))
        return g->title();
    return {};
}

bool hasCaption(const QWidget* w) {
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLabel*>(w) ||
           qobject_cast<const QGroupBox*>(w);
}

QStringList listItems(const QListWidget* l) {
    QStringList out;
    for (int i = 0; i < l->count(); ++i)
        out << l->item(i)->text();
    return out;
}

QStringList comboItems(const QComboBox* c) {
    QStringList out;
    for (int i = 0; i < c->count(); ++i)
        out << c->itemText(i);
    return out;
}

int checkValueOf(int state) {
    if (state == Qt::Checked)
        return 1;
    return state == Qt::PartiallyChecked ? 2 : 0;
}

// The named widgets below `root` (the root included) that a binder of `root`
// binds, in the order it binds them.
QList<std::pair<QWidget*, ctl::Control>> namedWidgetsOf(QWidget* root,
                                                        const QList<QWidget*>& widgets) {
    QList<std::pair<QWidget*, ctl::Control>> named;
    for (QWidget* w : widgets) {
        // Widgets that no logic names (spacers, layouts' frames, buttons the
        // window wires itself) stay unbound.
        const std::optional<ctl::Control> name = ctl::find(w->objectName());
        if (name && !isInternalPart(w, root))
            named.append({w, *name});
    }
    return named;
}

QList<QWidget*> selfAndChildren(QWidget* root) {
    QList<QWidget*> all = root->findChildren<QWidget*>();
    all.prepend(root);
    return all;
}

} // namespace

ControlState controlStateOf(const QWidget* w) {
    ControlState state;
    if (hasCaption(w))
        state.caption = widgetCaption(w);
    state.disabled = w->testAttribute(Qt::WA_ForceDisabled);
    state.hidden =
        w->testAttribute(Qt::WA_WState_ExplicitShowHide) && w->testAttribute(Qt::WA_WState_Hidden);
    if (const auto* combo = qobject_cast<const QComboBox*>(w)) {
        state.items = comboItems(combo);
        if (combo->isEditable())
            state.text = combo->currentText();
    } else if (const auto* list = qobject_cast<const QListWidget*>(w)) {
        state.items = listItems(list);
    } else if (const auto* radio = qobject_cast<const QRadioButton*>(w)) {
        state.selected = radio->isChecked();
    } else if (const auto* check = qobject_cast<const QCheckBox*>(w)) {
        state.check = checkValueOf(check->checkState());
    } else if (const auto* edit = qobject_cast<const QLineEdit*>(w)) {
        state.text = edit->text();
    } else if (const auto* plain = qobject_cast<const QPlainTextEdit*>(w)) {
        state.text = plain->toPlainText();
    } else if (const auto* bar = qobject_cast<const QTabBar*>(w)) {
        state.tab = bar->count() > 0 ? bar->currentIndex() + 1 : 0;
    }
    return state;
}

FormControls boundControlsOf(QWidget* root) {
    FormControls controls;
    for (const auto& [w, name] : namedWidgetsOf(root, selfAndChildren(root)))
        controls.append({name, controlStateOf(w)});
    return controls;
}

ModelBinder::ModelBinder(OptionsModel* model, QWidget* root, QObject* parent)
    : QObject(parent), m_model(model), m_root(root) {}

template <typename F> void ModelBinder::fromWidget(F&& write) {
    if (m_applying > 0)
        return;
    write();
}

void ModelBinder::defer(QWidget* part, FormControls controls) {
    m_deferred.insert(part, std::move(controls));
}

void ModelBinder::bind() {
    const QList<QWidget*> all = selfAndChildren(m_root);
    const QList<std::pair<QWidget*, ctl::Control>> named = namedWidgetsOf(m_root, all);
    auto next = named.cbegin();
    for (QWidget* w : all) {
        if (next != named.cend() && next->first == w) {
            bindWidget(w, next->second);
            ++next;
        }
        // A part still without its widgets: its form's controls in their place.
        for (const FormControl& control : m_deferred.value(w))
            adoptFormState(control.control, control.state);
    }
    connect(m_model, &OptionsModel::changed, this, &ModelBinder::onModelChanged);
    m_bound = true;
    // The model wins where it already holds a value: a window made after the
    // settings were read shows them.
    for (auto it = m_widgets.cbegin(); it != m_widgets.cend(); ++it)
        applyAll(it.value(), it.key());
}

void ModelBinder::bindPart(QWidget* part) {
    m_deferred.remove(part);
    // Before bind() the part's widgets are bound with the rest.
    if (!m_bound)
        return;
    const QList<std::pair<QWidget*, ctl::Control>> named =
        namedWidgetsOf(m_root, part->findChildren<QWidget*>());
    for (const auto& [w, name] : named)
        bindWidget(w, name);
    for (const auto& [w, name] : named)
        applyAll(w, name);
}

void ModelBinder::applyAll(QWidget* w, ctl::Control name) {
    for (Aspect a : {Aspect::Items, Aspect::Value, Aspect::Enabled, Aspect::Visible,
                     Aspect::Caption, Aspect::Bold})
        apply(w, name, a);
}

void ModelBinder::bindWidget(QWidget* w, ctl::Control name) {
    m_widgets.insert(name, w);
    adoptFormState(name, controlStateOf(w));

    if (auto* radio = qobject_cast<QRadioButton*>(w)) {
        const ctl::Control group = name.group();
        const int index = name.element();
        if (index >= 0) {
            QButtonGroup*& bg = m_groups[group];
            if (!bg)
                bg = new QButtonGroup(this);
            bg->addButton(radio, index);
            connect(radio, &QRadioButton::toggled, this, [this, group, index](bool on) {
                if (on)
                    fromWidget([&] { m_model->setIndex(group, index); });
            });
        }
    } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
        connect(check, &QCheckBox::stateChanged, this, [this, name](int state) {
            fromWidget([&] { m_model->setCheckValue(name, checkValueOf(state)); });
        });
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (combo->isEditable()) {
            connect(combo, &QComboBox::currentTextChanged, this, [this, name](const QString& t) {
                fromWidget([&] { m_model->setText(name, t); });
            });
        } else {
            connect(combo, &QComboBox::currentIndexChanged, this,
                    [this, name](int i) { fromWidget([&] { m_model->setIndex(name, i); }); });
        }
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        connect(edit, &QLineEdit::textChanged, this,
                [this, name](const QString& t) { fromWidget([&] { m_model->setText(name, t); }); });
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
        connect(plain, &QPlainTextEdit::textChanged, this, [this, name, plain] {
            fromWidget([&] { m_model->setText(name, plain->toPlainText()); });
        });
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        connect(list, &QListWidget::currentRowChanged, this,
                [this, name](int row) { fromWidget([&] { m_model->setIndex(name, row); }); });
        // Reordering by dragging changes the entries.
        auto pushItems = [this, name, list] {
            fromWidget([&] { m_model->setItems(name, listItems(list)); });
        };
        connect(list->model(), &QAbstractItemModel::rowsMoved, this, pushItems);
        connect(list->model(), &QAbstractItemModel::rowsInserted, this, pushItems);
        connect(list->model(), &QAbstractItemModel::rowsRemoved, this, pushItems);
    } else if (auto* bar = qobject_cast<QTabBar*>(w)) {
        connect(bar, &QTabBar::currentChanged, this,
                [this, name](int i) { fromWidget([&] { m_model->setIndex(name, i + 1); }); });
    } else if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
        connect(tabs, &QTabWidget::currentChanged, this,
                [this, name](int i) { fromWidget([&] { m_model->setIndex(name, i + 1); }); });
    }
}

void ModelBinder::adoptFormState(ctl::Control name, const ControlState& state) {
    if (!m_model->has(name, Aspect::Caption) && state.caption)
        m_model->setCaption(name, *state.caption);
    if (!m_model->has(name, Aspect::Enabled) && state.disabled)
        m_model->setEnabled(name, false);
    if (!m_model->has(name, Aspect::Visible) && state.hidden)
        m_model->setVisible(name, false);
    if (!m_model->has(name, Aspect::Items) && !state.items.isEmpty())
        m_model->setItems(name, state.items);
    if (!m_model->has(name, Aspect::Value) && !state.text.isEmpty())
        m_model->setText(name, state.text);
    if (state.selected && name.element() >= 0 && !m_model->has(name.group(), Aspect::Value))
        m_model->setIndex(name.group(), name.element());
    if (!m_model->has(name, Aspect::Value) && state.check != 0)
        m_model->setCheckValue(name, state.check);
    if (!m_model->has(name, Aspect::Value) && state.tab > 0)
        m_model->setIndex(name, state.tab);
}

void ModelBinder::onModelChanged(ctl::Control name, OptionsModel::Aspect aspect) {
    if (QWidget* w = m_widgets.value(name))
        apply(w, name, aspect);
    else if (aspect == Aspect::Value && m_groups.contains(name))
        applyGroup(name);
}

void ModelBinder::apply(QWidget* w, ctl::Control name, OptionsModel::Aspect aspect) {
    if (!m_model->has(name, aspect) && aspect != Aspect::Value)
        return;
    ++m_applying;
    switch (aspect) {
    case Aspect::Value:
        applyValue(w, name);
        break;
    case Aspect::Items:
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            const QStringList items = m_model->items(name);
            if (comboItems(combo) != items) {
                const QString text = combo->currentText();
                combo->clear();
                combo->addItems(items);
                if (combo->isEditable())
                    combo->setEditText(text);
            }
            applyValue(w, name);
        } else if (auto* list = qobject_cast<QListWidget*>(w)) {
            const QStringList items = m_model->items(name);
            if (listItems(list) != items) {
                list->clear();
                list->addItems(items);
            }
            applyValue(w, name);
        }
        break;
    case Aspect::Enabled:
        w->setEnabled(m_model->isEnabled(name));
        break;
    case Aspect::Visible:
        w->setVisible(m_model->isVisible(name));
        break;
    case Aspect::Caption: {
        const QString caption = m_model->caption(name);
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            b->setText(caption);
        else if (auto* l = qobject_cast<QLabel*>(w))
            l->setText(caption);
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            g->setTitle(caption);
        break;
    }
    case Aspect::Bold: {
        QFont f = w->font();
        if (f.bold() != m_model->isBold(name)) {
            f.setBold(m_model->isBold(name));
            w->setFont(f);
        }
        break;
    }
    case Aspect::Tag:
        break;
    }
    --m_applying;
}

void ModelBinder::applyValue(QWidget* w, ctl::Control name) {
    if (qobject_cast<QRadioButton*>(w)) {
        if (name.element() >= 0)
            applyGroup(name.group());
    } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
        const int v = m_model->checkValue(name);
        check->setCheckState(v == 1 ? Qt::Checked : v == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (combo->isEditable()) {
            const QString text = m_model->text(name);
            if (combo->currentText() != text) {
                const int i = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
                if (i >= 0)
                    combo->setCurrentIndex(i);
                combo->setEditText(text);
            }
        } else {
            const int i = m_model->index(name);
            combo->setCurrentIndex(i >= 0 && i < combo->count() ? i : -1);
        }
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        // Setting the same text again would move the user's caret.
        if (edit->text() != m_model->text(name))
            edit->setText(m_model->text(name));
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
        if (plain->toPlainText() != m_model->text(name)) {
            plain->setPlainText(m_model->text(name));
            plain->moveCursor(QTextCursor::End);
        }
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        const int row = m_model->index(name);
        if (!m_model->has(name, Aspect::Value))
            return;
        if (row >= 0 && row < list->count()) {
            list->setCurrentRow(row);
        } else {
            list->clearSelection();
            list->setCurrentRow(-1);
        }
    } else if (auto* bar = qobject_cast<QTabBar*>(w)) {
        const int tab = m_model->index(name);
        if (tab >= 1 && tab <= bar->count())
            bar->setCurrentIndex(tab - 1);
    } else if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
        const int tab = m_model->index(name);
        if (tab >= 1 && tab <= tabs->count())
            tabs->setCurrentIndex(tab - 1);
    }
}

void ModelBinder::applyGroup(ctl::Control group) {
    QButtonGroup* bg = m_groups.value(group);
    if (!bg)
        return;
    ++m_applying;
    const int index = m_model->index(group);
    if (QAbstractButton* b = bg->button(index)) {
        b->setChecked(true);
    } else {
        // No element with that index: none is selected.
        bg->setExclusive(false);
        for (QAbstractButton* other : bg->buttons())
            other->setChecked(false);
        bg->setExclusive(true);
    }
    --m_applying;
}

} // namespace morvane
