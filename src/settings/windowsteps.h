#pragma once

#include <QPoint>

namespace morvane {

// How far Alt with an arrow key moves a window: a fraction of the screen's
// width and height (the scroll fraction; 0 disables the movement).
struct WindowSteps {
    int horizontal = 0;
    int vertical = 0;
    bool operator==(const WindowSteps&) const = default;
};

WindowSteps stepSizes(int screenWidth, int screenHeight, double scrollFraction);

// The move of Alt+Left/Up/Right/Down (or keypad 4/8/6/2) by the steps;
// (0, 0) for any other key and for Alt together with Shift or Ctrl.
QPoint keyboardMoveOffset(int key, Qt::KeyboardModifiers modifiers, const WindowSteps& steps);

} // namespace morvane
