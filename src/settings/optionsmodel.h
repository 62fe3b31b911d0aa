#pragma once

#include "settings/controlnames.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace morvane {

// The live state of the main window's controls, keyed by the control's name
// (`chkHacha`, `optOutput`, `cmbTeX`, array elements as `chkTexify_1`).
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
    Q_ENUM(Aspect)

    explicit OptionsModel(QObject* parent = nullptr);

    // Check boxes: 0 unticked, 1 ticked (2 greyed is kept but rarely used).
    int checkValue(const QString& name) const;
    bool isChecked(const QString& name) const { return checkValue(name) == 1; }
    void setChecked(const QString& name, bool checked) { setCheckValue(name, checked ? 1 : 0); }
    void setCheckValue(const QString& name, int value);

    // Option-button groups and combo boxes: the selected index (0 when unset).
    int index(const QString& name) const;
    void setIndex(const QString& name, int index);

    // Text boxes and the text of editable combo boxes.
    QString text(const QString& name) const;
    void setText(const QString& name, const QString& text);

    // List boxes and the entries of combo boxes.
    QStringList items(const QString& name) const;
    void setItems(const QString& name, const QStringList& items);

    bool isEnabled(const QString& name) const;
    // While a control is held disabled, setEnabled only records what was
    // asked for; the last request applies when the last hold is released.
    void setEnabled(const QString& name, bool enabled);
    // Holds a control disabled whatever else asks for (nested holds count),
    // e.g. Convert while a conversion edits its working copy with events
    // served, so that a tab switch or a settings reload cannot enable it.
    void holdDisabled(const QString& name);
    void releaseDisabled(const QString& name);

    bool isVisible(const QString& name) const;
    void setVisible(const QString& name, bool visible);

    // Caption of a button, label or check box; empty when logic never set one
    // (the form's own caption then stands).
    QString caption(const QString& name) const;
    void setCaption(const QString& name, const QString& caption);

    bool isBold(const QString& name) const;
    void setBold(const QString& name, bool bold);

    QString tag(const QString& name) const;
    void setTag(const QString& name, const QString& tag);

    bool has(const QString& name, Aspect aspect) const;

    // Takes every aspect of every control from `other`, without signals: a
    // conversion's own copy of the options as they were when it began.
    void copyStateFrom(const OptionsModel& other);

    // Element name of a control array: arrayElement("optOutput", 2) == "optOutput_2".
    static QString arrayElement(const QString& name, int index);

    // The same, by the control's checked name (settings/controlnames.h).
    int checkValue(ctl::Control c) const { return checkValue(c.name()); }
    bool isChecked(ctl::Control c) const { return isChecked(c.name()); }
    void setChecked(ctl::Control c, bool checked) { setChecked(c.name(), checked); }
    void setCheckValue(ctl::Control c, int value) { setCheckValue(c.name(), value); }
    int index(ctl::Control c) const { return index(c.name()); }
    void setIndex(ctl::Control c, int i) { setIndex(c.name(), i); }
    QString text(ctl::Control c) const { return text(c.name()); }
    void setText(ctl::Control c, const QString& t) { setText(c.name(), t); }
    QStringList items(ctl::Control c) const { return items(c.name()); }
    void setItems(ctl::Control c, const QStringList& i) { setItems(c.name(), i); }
    bool isEnabled(ctl::Control c) const { return isEnabled(c.name()); }
    void setEnabled(ctl::Control c, bool enabled) { setEnabled(c.name(), enabled); }
    void holdDisabled(ctl::Control c) { holdDisabled(c.name()); }
    void releaseDisabled(ctl::Control c) { releaseDisabled(c.name()); }
    bool isVisible(ctl::Control c) const { return isVisible(c.name()); }
    void setVisible(ctl::Control c, bool visible) { setVisible(c.name(), visible); }
    QString caption(ctl::Control c) const { return caption(c.name()); }
    void setCaption(ctl::Control c, const QString& caption) { setCaption(c.name(), caption); }
    bool isBold(ctl::Control c) const { return isBold(c.name()); }
    void setBold(ctl::Control c, bool bold) { setBold(c.name(), bold); }
    QString tag(ctl::Control c) const { return tag(c.name()); }
    void setTag(ctl::Control c, const QString& tag) { setTag(c.name(), tag); }
    bool has(ctl::Control c, Aspect aspect) const { return has(c.name(), aspect); }

signals:
    // Emitted after an aspect of a control changed; handlers that the window
    // runs on a click react to this, so a value set from the INI file runs
    // the same reaction as a click.
    void changed(const QString& name, morvane::OptionsModel::Aspect aspect);

private:
    QVariant get(const QString& name, Aspect aspect) const;
    void set(const QString& name, Aspect aspect, const QVariant& value);

    QHash<QString, QVariant> m_state[7];
    struct DisabledHold {
        int count = 0;
        bool wanted = true; // the state asked for while held
    };
    QHash<QString, DisabledHold> m_disabledHolds;
};

} // namespace morvane
