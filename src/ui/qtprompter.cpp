#include "ui/qtprompter.h"

#include <QMessageBox>
#include <QPushButton>
#include <QWindow>

#include <utility>

namespace morvane {

namespace {

QMessageBox::Icon toQtIcon(Icon icon) {
    switch (icon) {
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQtButtons(Buttons buttons) {
    switch (buttons) {
    case Buttons::Ok:
        return QMessageBox::Ok;
    case Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Buttons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton toQtButton(Answer answer) {
    switch (answer) {
    case Answer::Ok:
        return QMessageBox::Ok;
    case Answer::Cancel:
        return QMessageBox::Cancel;
    case Answer::Yes:
        return QMessageBox::Yes;
    case Answer::No:
        return QMessageBox::No;
    case Answer::Retry:
        return QMessageBox::Retry;
    }
    return QMessageBox::Ok;
}

Answer fromQtButton(int button, Buttons buttons) {
    switch (button) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Retry:
        return Answer::Retry;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        break;
    }
    // Closing the box with Escape or the title bar: the "no" side of the set.
    return buttons == Buttons::Ok      ? Answer::Ok
           : buttons == Buttons::YesNo ? Answer::No
                                       : Answer::Cancel;
}

} // namespace

Answer QtPrompter::ask(const Prompt& prompt) {
    QMessageBox box(toQtIcon(prompt.icon), prompt.title, prompt.text, toQtButtons(prompt.buttons),
                    m_owner);
    box.setDefaultButton(toQtButton(prompt.defaultButton));
    QWidget* const outer = std::exchange(m_asking, &box);
    const int button = box.exec();
    m_asking = outer;
    return fromQtButton(button, prompt.buttons);
}

bool QtPrompter::isAsking(const QObject* target) const {
    if (!m_asking)
        return false;
    if (const auto* widget = qobject_cast<const QWidget*>(target))
        return widget->window() == m_asking;
    return target && target == m_asking->windowHandle();
}

} // namespace morvane
