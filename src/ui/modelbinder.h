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
// name; option buttons named `group_N` select index N of the model's `group`.
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

    // The widget bound to a control name (an option button by its element name).
    QWidget* widget(const QString& name) const { return m_widgets.value(name); }

private:
    void bindWidget(QWidget* w);
    void adoptFormState(QWidget* w, const QString& name);
    void onModelChanged(const QString& name, OptionsModel::Aspect aspect);
    void apply(QWidget* w, const QString& name, OptionsModel::Aspect aspect);
    void applyValue(QWidget* w, const QString& name);
    void applyGroup(const QString& group);
    // Runs a widget-to-model write unless the binder itself is moving values
    // into the widgets.
    template <typename F> void fromWidget(F&& write);

    OptionsModel* m_model;
    QPointer<QWidget> m_root;
    QHash<QString, QWidget*> m_widgets;
    QHash<QString, QButtonGroup*> m_groups;
    int m_applying = 0;
};

// "group_N" → ("group", N); false for a name without a numeric suffix.
bool splitArrayName(const QString& name, QString* base, int* index);

} // namespace morvane
