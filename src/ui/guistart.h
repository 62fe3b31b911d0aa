#pragma once

#include <QString>

namespace morvane {

struct AppContext;
class MainWindow;

// The program with its window: single-instance hand-over, load step, main
// window, event loop. Returns the process exit status.
//
// Two environment variables serve the tests and the start-up benchmark:
//   MORVANE_TEST_REPORT      a file to which every hand-over received from a
//                            later start appends the file box's text and a
//                            line end;
//   MORVANE_QUIT_WHEN_SHOWN  when set, the program ends as soon as its window
//                            has been shown (nothing is saved).
int runGui(int& argc, char** argv);

// Lets the fix-ups show the busy pointer over the program's windows.
void installPointerHandlers();

// What a later start hands to the running program: the long full path of its
// command-line file, or the empty string when it has none (or it is missing).
QString handOverText(const QString& commandLineFile, const QString& currentDir);

// The main window's key preview: F1 selects the Help tab, Ctrl+Shift+Alt+F12
// puts the focus into the file box. The filter is owned by the window.
void installMainKeys(AppContext& ctx, MainWindow& window);

// The running program's side of the hand-over: the file goes into the file
// box as if typed and confirmed, and the window comes to the front.
void receiveHandOver(AppContext& ctx, MainWindow& window, const QString& file);

} // namespace morvane
