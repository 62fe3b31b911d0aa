#pragma once

#include "settings/controlnames.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace morvane {

// The live state of the main window's controls, keyed by the control's
// checked name (`ctl::chkHacha`, the group `ctl::optOutput`, array elements
// as `ctl::chkTexify(1)`; settings/controlnames.h lists them all).
// The drivers, readini/writeini and the Convert command read and write this
// model; the window's widgets are bound to it and only mirror it. Nothing
// here knows about widgets, so every rule can run without a window.
//
// Aspects of one control:
//   value    check box (0/1), option group (selected index), combo (index),
//            text box / combo text (string), list box (string list)
//   enabled, visible, caption, bold, tag   (view state that logic decides)
class OptionsModel : public QObject {
    Q_OBJECT
public:
    enum class Aspect { Value, Enabled, Visible, Caption, Bold, Tag, Items };
    static constexpr int kAspectCount = int(Aspect::Items) + 1;
    Q_ENUM(Aspect)

    explicit OptionsModel(QObject* parent = nullptr);

    // Check boxes: 0 unticked, 1 ticked (2 greyed is kept but rarely used).
    int checkValue(ctl::Control name) const;
    bool isChecked(ctl::Control name) const { return checkValue(name) == 1; }
    void setChecked(ctl::Control name, bool checked) { setCheckValue(name, checked ? 1 : 0); }
    void setCheckValue(ctl::Control name, int value);

    // Option-button groups and combo boxes: the selected index (0 when unset).
    int index(ctl::Control name) const;
    void setIndex(ctl::Control name, int index);

    // Text boxes and the text of editable combo boxes.
    QString text(ctl::Control name) const;
    void setText(ctl::Control name, const QString& text);

    // List boxes and the entries of combo boxes.
    QStringList items(ctl::Control name) const;
    void setItems(ctl::Control name, const QStringList& items);

    bool isEnabled(ctl::Control name) const;
    // While a control is held disabled, setEnabled only records what was
    // asked for; the last request applies when the last hold is released.
    void setEnabled(ctl::Control name, bool enabled);
    // Holds a control disabled whatever else asks for (nested holds count),
    // e.g. Convert while a conversion edits its working copy with events
    // served, so that a tab switch or a settings reload cannot enable it.
    void holdDisabled(ctl::Control name);
    void releaseDisabled(ctl::Control name);

    bool isVisible(ctl::Control name) const;
    void setVisible(ctl::Control name, bool visible);

    // Caption of a button, label or check box; empty when logic never set one
    // (the form's own caption then stands).
    QString caption(ctl::Control name) const;
    void setCaption(ctl::Control name, const QString& caption);

    bool isBold(ctl::Control name) const;
    void setBold(ctl::Control name, bool bold);

    QString tag(ctl::Control name) const;
    void setTag(ctl::Control name, const QString& tag);

    bool has(ctl::Control name, Aspect aspect) const;

    // Takes every aspect of every control from `other`, without signals: a
    // conversion's own copy of the options as they were when it began.
    void copyStateFrom(const OptionsModel& other);

signals:
    // Emitted after an aspect of a control changed; handlers that the window
    // runs on a click react to this, so a value set from the INI file runs
    // the same reaction as a click.
    void changed(morvane::ctl::Control name, morvane::OptionsModel::Aspect aspect);

private:
    QVariant get(ctl::Control name, Aspect aspect) const;
    void set(ctl::Control name, Aspect aspect, const QVariant& value);

    // Nothing (an element outside its array) holds no state: reads give the
    // default, writes are dropped.
    QHash<ctl::Control, QVariant> m_state[kAspectCount];
    struct DisabledHold {
        int count = 0;
        bool wanted = true; // the state asked for while held
    };
    QHash<ctl::Control, DisabledHold> m_disabledHolds;
};

} // namespace morvane
