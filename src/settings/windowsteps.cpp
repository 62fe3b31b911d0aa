#include "settings/windowsteps.h"

#include <QtMath>

namespace morvane {

WindowSteps stepSizes(int screenWidth, int screenHeight, double scrollFraction) {
    return {qRound(screenWidth * scrollFraction), qRound(screenHeight * scrollFraction)};
}

QPoint keyboardMoveOffset(int key, Qt::KeyboardModifiers modifiers, const WindowSteps& steps) {
    const Qt::KeyboardModifiers held =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (held != Qt::AltModifier)
        return {};
    // The digits count only on the keypad, where they are the arrows.
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    switch (key) {
    case Qt::Key_Left:
        return {-steps.horizontal, 0};
    case Qt::Key_Up:
        return {0, -steps.vertical};
    case Qt::Key_Right:
        return {steps.horizontal, 0};
    case Qt::Key_Down:
        return {0, steps.vertical};
    case Qt::Key_4:
        return keypad ? QPoint(-steps.horizontal, 0) : QPoint();
    case Qt::Key_8:
        return keypad ? QPoint(0, -steps.vertical) : QPoint();
    case Qt::Key_6:
        return keypad ? QPoint(steps.horizontal, 0) : QPoint();
    case Qt::Key_2:
        return keypad ? QPoint(0, steps.vertical) : QPoint();
    default:
        return {};
    }
}

} // namespace morvane
