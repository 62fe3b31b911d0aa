#pragma once

#include "settings/optionsmodel.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

class QButtonGroup;
class QWidget;

namespace morvane {

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
class ModelBinder : public QObject {
    Q_OBJECT
public:
    ModelBinder(OptionsModel* model, QWidget* root, QObject* parent = nullptr);

    // Connects every named widget below the root (the root included).
    void bind();

    // The widget bound to a control (an option button by its element).
    QWidget* widget(ctl::Control control) const { return m_widgets.value(control); }

private:
    void bindWidget(QWidget* w, ctl::Control name);
    void adoptFormState(QWidget* w, ctl::Control name);
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
    int m_applying = 0;
};

} // namespace morvane
