#include "platform/inputblocker.h"

#include <QCoreApplication>
#include <QEvent>

namespace morvane {

InputBlocker::InputBlocker(Exemption exempt) : m_exempt(std::move(exempt)) {
    QCoreApplication::instance()->installEventFilter(this);
}

InputBlocker::~InputBlocker() {
    QCoreApplication::instance()->removeEventFilter(this);
    for (Held& held : m_held) {
        if (held.receiver)
            QCoreApplication::postEvent(held.receiver, held.event.release());
    }
}

InputBlocker::Treatment InputBlocker::treatmentOf(const QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
        // Replaying the window system's input later would slip past modal
        // dialogs opened meanwhile; only the program's own posts are kept.
        return event->spontaneous() ? Treatment::Drop : Treatment::Hold;
    case QEvent::MouseMove:
    case QEvent::TabletMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::NonClientAreaMouseMove:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::InputMethod:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return Treatment::Drop;
    case QEvent::Close:
        // A window closed during a run reaches its own handler: the main
        // window asks the Exit question, which names the running conversion.
        return Treatment::Pass;
    default:
        return Treatment::Pass;
    }
}

bool InputBlocker::eventFilter(QObject* watched, QEvent* event) {
    const Treatment treatment = treatmentOf(event);
    if (treatment == Treatment::Pass || (m_exempt && m_exempt(watched)))
        return false;
    switch (treatment) {
    case Treatment::Hold:
        m_held.push_back({QPointer<QObject>(watched), std::unique_ptr<QEvent>(event->clone())});
        break;
    case Treatment::Drop:
        // An accepted override keeps a key from triggering a shortcut.
        if (event->type() == QEvent::ShortcutOverride)
            event->accept();
        else
            event->ignore();
        break;
    case Treatment::Pass:
        break;
    }
    return true;
}

} // namespace morvane
