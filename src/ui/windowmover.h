#pragma once

#include <QObject>

class QWidget;

namespace morvane {

struct AppContext;

// True when the display server lets the program place its own windows
// (not so on Wayland, where only size and state can be set).
bool windowsCanBePlaced();

// Moves `window` by Alt with an arrow key, a scroll fraction of the screen
// at a time; true when the key was such a move. On a display server that
// places windows itself the key does nothing.
bool moveWindowByKeyboard(QWidget* window, int key, Qt::KeyboardModifiers modifiers,
                          double scrollFraction);

// Gives every window of the program (the main window, the browser and each
// dialog) the Alt+arrow movement through moveWindowByKeyboard.
void installWindowMover(AppContext& ctx);

} // namespace morvane
