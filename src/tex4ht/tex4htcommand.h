#pragma once

#include "settings/make4htchoice.h"

#include <QString>
#include <QStringList>

namespace morvane {

struct AppContext;
class OptionsModel;

// The six elements of the TeX4ht command line, kept in the options model as
// the items of "tex4htArgs" (index 0 = the program or batch name, 1 the htrun
// format switch, 2 the document, 3 the passes, 4 the tex4ht option string,
// 5 further arguments).
QStringList tex4htArguments(const OptionsModel& model);

// The options of a package line in double quotes, as element 5 takes them;
// empty when the line holds none.
QString packageLineOptions(const QString& packageLine);

// The extension of the page the TeX4ht route opens (".html", ".htm", ".xml",
// ".xht"), from the option tokens of the package line or element 5, and
// whether a conversion kept the author's own package line.
QString tex4htResultExtension(const AppContext& ctx, bool keptPackageLine = false);

// The caption of `cmdShow` that goes with that page.
QString tex4htShowCaption(const AppContext& ctx);

struct Tex4htComposition;

// The advanced options as last stored (the tag of `cmdAdvanced`); before the
// dialog has stored any, the same string built from the argument list and
// the package line, so the dialog opens on the options in use.
QString currentStoredOptions(const OptionsModel& model);

// The advanced dialog's OK: keeps the stored option string, the package line
// (the tag of `txt3`) and elements 1, 2, 5 and 6 of the argument list.
void storeTex4htOptions(OptionsModel& model, const Tex4htComposition& composition);

// Recomposes the TeX4ht command line shown in `txt3` from the TeX4ht tab's
// options, the argument list and the package line (the tag of `txt3`), and
// enables the passes box. Does nothing while the box is open for manual
// editing.
void composeTex4htCommandLine(AppContext& ctx);

// make4ht's switches, which go where htrun's format switch goes (element 2):
// the engine ("-l" LuaLaTeX, "-x" XeLaTeX) and the format, "-f html5".
QString make4htSwitches(Make4htFormat format, Make4htEngine engine);

// Enables `cmbPasses` and its label when the passes can be chosen.
void updatePassesControl(AppContext& ctx);

} // namespace morvane
