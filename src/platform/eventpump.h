#pragma once

namespace morvane {

// Serves the events waiting in the window's queue once, so that a long scan
// of a file keeps the window painting and answering. Anything a handler does
// in between (even a further conversion) runs nested inside the caller.
// Does nothing when no application object exists.
void serveEvents();

// Lets the window repaint (a progress caption) without taking user input.
void serveRepaints();

} // namespace morvane
