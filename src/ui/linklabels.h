#pragma once

#include "settings/controlnames.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <functional>

class QLabel;
class QWidget;

namespace morvane {

struct AppContext;

// The link labels of one window. A label opens the address in its tag (kept
// in the options model) with the desktop's program; the right button on a
// changeable link asks for a new address and stores it at once. The
// tooltip always shows the address.
class LinkLabels : public QObject {
    Q_OBJECT
public:
    // `labels` are the window's link labels; those in the form's link table
    // are changeable.
    LinkLabels(AppContext& ctx, int form, QWidget* window, const QList<ctl::Control>& labels);

    // Takes on the labels of `part`, a part of the window built after it.
    void takeLabelsOf(QWidget* part);

    // The input box of the change: prompt, title and current address in,
    // the answer out (empty for Cancel). Tests replace it.
    std::function<QString(const QString& prompt, const QString& title, const QString& current)>
        askText;

    // GotoURL: opens the label's address.
    void GotoURL(ctl::Control label);
    // ChangeURL: asks for the label's new address.
    void ChangeURL(ctl::Control label);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AppContext& m_ctx;
    int m_form;
    QWidget* m_window;
    QList<ctl::Control> m_names; // the link labels not yet found
    QHash<ctl::Control, QLabel*> m_labels;
};

} // namespace morvane
