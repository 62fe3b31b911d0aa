#pragma once

#include <QString>

namespace morvane {

struct AppContext;
class OptionsModel;

// Connects the reactions the main window runs when a control changes (tab
// change, output kind, HeVeA version, htrun, images, ...) to the options
// model's change signal. They touch only the model and the context, so batch
// mode connects them too and a value read from Morvane.ini reacts as a click.
// Connecting twice for the same model connects once.
void connectOptionHandlers(AppContext& ctx);

// The tab-change reaction for the tab strip's current tab.
void tbstrip_Click(AppContext& ctx);

// HeVeA tab.
void optOutput_Click(AppContext& ctx, int index);
void chkEsponja_Click(AppContext& ctx);
void chkVersion_Click(AppContext& ctx);
void optCode_Click(AppContext& ctx, int index);
void chkStyle_Click(AppContext& ctx);

// TeX4ht tab.
void chkImages_Click(AppContext& ctx);
void txtImages_Change(AppContext& ctx);
void chkHtrun_Click(AppContext& ctx);
// Ticking make4ht unticks htrun and opens its format and engine lists.
void chkMake4ht_Click(AppContext& ctx);
// Stores the TeX4ht directory in chkHtrun's tag and recomposes the command
// line with the returning-from-dialog flag (tag "returning" of cmdAdvanced).
void cmdAdvanced_Click(AppContext& ctx);
// "Ad&just Init File": opens the LaTeX2HTML init-file editor.
void cmdInit_Click(AppContext& ctx);

// Manual command-line mode of `txt3` (Escape, or a double-click): switches
// between the locked, composed command line and free editing. The state is
// the tag of the pseudo control "txt3Locked": "yes" (also when unset) or "no".
void toggleManualCommandLine(AppContext& ctx);
bool isCommandLineLocked(const OptionsModel& model);

// DVI and PDF tabs.
void chkTexify_Click(AppContext& ctx, int index);
void chkSWPGS_Click(AppContext& ctx);
// True when pdfmakegstc.bat is in the program directory and is version 2;
// otherwise Label7 says what is wrong.
bool pdfmakegstcIsCurrent(AppContext& ctx);

// LaTeX2HTML (Help tab link "Anti-Virus Problem").
void Label32_Click(AppContext& ctx);

// "Delete &File List": empties the history after asking.
void cmdDeleteFileList_Click(AppContext& ctx);

} // namespace morvane
