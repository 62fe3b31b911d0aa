#include "ui/linklabels.h"

#include "app/inicommands.h"
#include "pipeline/appcontext.h"
#include "platform/pointershape.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "settings/controlnames.h"
#include "settings/helplinks.h"

#include <QInputDialog>
#include <QLabel>
#include <QMouseEvent>

namespace morvane {

namespace {

const QString kUpdateLink = QStringLiteral("Update Link");

} // namespace

LinkLabels::LinkLabels(AppContext& ctx, int form, QWidget* window,
                       const QList<ctl::Control>& labels)
    : QObject(window), m_ctx(ctx), m_form(form), m_window(window), m_names(labels) {
    askText = [this](const QString& prompt, const QString& title, const QString& current) {
        bool ok = false;
        const QString answer =
            QInputDialog::getText(m_window, title, prompt, QLineEdit::Normal, current, &ok);
        return ok ? answer : QString();
    };
    takeLabelsOf(window);
    connect(ctx.model, &OptionsModel::changed, this,
            [this](ctl::Control name, OptionsModel::Aspect aspect) {
                if (aspect != OptionsModel::Aspect::Tag)
                    return;
                if (QLabel* label = m_labels.value(name))
                    label->setToolTip(m_ctx.model->tag(name));
            });
}

void LinkLabels::takeLabelsOf(QWidget* part) {
    for (auto it = m_names.begin(); it != m_names.end();) {
        auto* label = part->findChild<QLabel*>(it->name());
        if (!label) {
            ++it;
            continue;
        }
        label->setCursor(Qt::PointingHandCursor);
        label->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline;"));
        label->setToolTip(m_ctx.model->tag(*it));
        label->installEventFilter(this);
        m_labels.insert(*it, label);
        it = m_names.erase(it);
    }
}

void LinkLabels::GotoURL(ctl::Control label) {
    const QString address = m_ctx.model->tag(label);
    if (address.isEmpty() || !m_ctx.seams.shell)
        return;
    PointerOverride busy(PointerShape::Busy);
    // A failing open is not reported: the desktop shows its own message.
    m_ctx.seams.shell->open(address);
}

void LinkLabels::ChangeURL(ctl::Control label) {
    const QLabel* widget = m_labels.value(label);
    const QString caption = widget ? widget->text() : label.name();
    const QString answer = askText(changeLinkPrompt(caption), kUpdateLink, m_ctx.model->tag(label));
    const QString ini = iniPath(m_ctx);
    if (!morvane::ChangeURL(ini, m_form, label, answer, *m_ctx.model))
        m_ctx.seams.prompter->tell(QStringLiteral("The new link could not be stored in ") + ini +
                                       QStringLiteral(";\nit is used until Morvane ends."),
                                   kUpdateLink, Icon::Exclamation);
}

bool LinkLabels::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease || !qobject_cast<QLabel*>(watched))
        return QObject::eventFilter(watched, event);
    const std::optional<ctl::Control> label = ctl::find(watched->objectName());
    if (!label)
        return QObject::eventFilter(watched, event);
    if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        // The contact links cannot be changed: the right button does nothing.
        if (linkEntry(m_form, *label) >= 0)
            ChangeURL(*label);
    } else {
        GotoURL(*label);
    }
    return true;
}

} // namespace morvane
