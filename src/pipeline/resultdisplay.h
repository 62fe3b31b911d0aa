#pragma once

#include "pipeline/route.h"
#include "platform/shell.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace morvane {

struct AppContext;
struct Conversion;

// The message for a file the desktop could not open.
QString openFailureText(const QString& file);
// What the window says when the desktop's program started and then failed.
QString viewerFailureText(const OpenFailure& failure);
// Opens a file with the desktop's associated program; tells the user when
// that could not start. (An opener that starts and then fails is reported
// by the shell itself, see Shell::open.)
bool openWithDesktop(AppContext& ctx, const QString& file);
// Shows a produced HTML file in the browser chosen on the tab.
void RunIE(AppContext& ctx, QString htmlFile);
// Shows a file in the built-in browser window.
void ShowInWebBrowser(AppContext& ctx, QString& htmlFile);
void cmdShow_Click(AppContext& ctx);
// The ending every conversion shares: remembers the route's log for View
// Log, shows the result in the route's viewer when "Run ... file" is ticked
// (or enables Show), and sets View Log's caption from the log's verdict.
void finishConversion(AppContext& ctx, Conversion& conversion);
void cmdLog_Click(AppContext& ctx);
// View Log back to "View &Log", not bold.
void ResetcmdLog(AppContext& ctx);
// Puts "header" and an empty line in front of a log, whatever it holds, and
// returns the converter's messages (nullopt when the log could not be read or
// replaced; it then stays as it was).
std::optional<QByteArray> prependLogHeader(const QString& logFile, const QString& header);
// chkClose is enabled when chkIE is ticked and the external browser chosen.
void updateCloseEnabled(AppContext& ctx);

// The built-in browser window.
class ResultViewer {
public:
    virtual ~ResultViewer() = default;
    virtual void show(const QString& file) = 0;
    // A page converted again while it is shown: reloaded where the reader
    // was. A viewer that shows another page shows this one.
    virtual void reloadKeepingScroll(const QString& file) { show(file); }
    // The same, but only when the page is already on view: a conversion that
    // does not show its result leaves other pages alone.
    virtual void reloadIfShowing(const QString& file) { (void)file; }
    // Stores the window's placement in the per-user store at exit; a window
    // that was never opened leaves the stored placement as it is.
    virtual void savePlacement() {}
};

} // namespace morvane
