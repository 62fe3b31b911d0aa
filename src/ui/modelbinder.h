#pragma once

#include "settings/optionsmodel.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <optional>

class QButtonGroup;
class QWidget;

namespace morvane {

// What a named widget shows before any logic touched it: what the binder
// writes into the model for each aspect the model holds no value for yet.
struct ControlState {
    std::optional<QString> caption; // buttons, labels and group boxes
    bool disabled = false;          // disabled on its own account
    bool hidden = false;            // hidden on its own account
    QStringList items;              // combo boxes and lists
    QString text;                   // text boxes and an editable combo's text
    int check = 0;                  // check boxes: 0, 1, 2 (greyed)
    bool selected = false;          // an option button that is on
    int tab = 0;                    // tab bars: the current tab from 1, 0 for none

    bool operator==(const ControlState&) const = default;
};

// A named control of a form with what the form gives it.
struct FormControl {
    ctl::Control control;
    ControlState state;

    bool operator==(const FormControl&) const = default;
};
using FormControls = QList<FormControl>;

// The state `w` shows now, read as the binder reads it.
ControlState controlStateOf(const QWidget* w);
// The controls below `root` (the root included) that a binder of `root`
// binds, in the order it binds them.
FormControls boundControlsOf(QWidget* root);

// Mirrors the options model in the widgets of a window and the user's changes
// back into the model. A widget takes part when its objectName is a control
// name of settings/controlnames.h; the option button `group_N` selects index
// N of the model's `group`.
//
// What each kind of widget holds:
//   QCheckBox         value 0/1 (2 greyed)
//   QRadioButton      index of its group (value of the group's name)
//   QComboBox         items; value = selected index, or, for an editable
//                     combo, its text (`cmbTeX` is the file box)
//   QLineEdit         value = text
//   QPlainTextEdit    value = text
//   QListWidget       items; value = current row (-1 for none)
//   QTabBar/QTabWidget value = tab number from 1
//   every widget      enabled, visible, bold; buttons, labels and group boxes
//                     also their caption
//
// When the model has no value for an aspect yet, the form's own state is
// written into the model once, so that the logic reads what the user sees.
//
// A part of the window whose widgets are made later (a page built when it is
// first needed) is deferred: until its widgets exist, the form's controls
// as listed stand for them, so that the model learns the same state at the
// same point of bind() as if the widgets were there.
class ModelBinder : public QObject {
    Q_OBJECT
public:
    ModelBinder(OptionsModel* model, QWidget* root, QObject* parent = nullptr);

    // Makes `part`, a widget below the root still without its form, stand
    // for `controls` until bindPart(part). Before bind().
    void defer(QWidget* part, FormControls controls);
    // Connects every named widget below the root (the root included).
    void bind();
    // Connects the widgets just made below a deferred part and shows them the
    // model's state.
    void bindPart(QWidget* part);

    // The widget bound to a control (an option button by its element).
    QWidget* widget(ctl::Control control) const { return m_widgets.value(control); }

private:
    void bindWidget(QWidget* w, ctl::Control name);
    void adoptFormState(ctl::Control name, const ControlState& state);
    void applyAll(QWidget* w, ctl::Control name);
    void onModelChanged(ctl::Control name, OptionsModel::Aspect aspect);
    void apply(QWidget* w, ctl::Control name, OptionsModel::Aspect aspect);
    void applyValue(QWidget* w, ctl::Control name);
    void applyGroup(ctl::Control group);
    // Runs a widget-to-model write unless the binder itself is moving values
    // into the widgets.
    template <typename F> void fromWidget(F&& write);

    OptionsModel* m_model;
    QPointer<QWidget> m_root;
    QHash<ctl::Control, QWidget*> m_widgets;
    QHash<ctl::Control, QButtonGroup*> m_groups;
    QHash<const QWidget*, FormControls> m_deferred;
    bool m_bound = false;
    int m_applying = 0;
};

} // namespace morvane
