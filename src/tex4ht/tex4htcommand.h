#pragma once

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

// The options of a \usepackage[...]{tex4ht} line, in double quotes; empty when
// the line holds none.
QString packageLineOptions(const QString& packageLine);

// Recomposes the TeX4ht command line shown in `txt3` from the TeX4ht tab's
// options, the argument list and the package line (the tag of `txt3`), and
// enables the passes box. Does nothing while the box is open for manual
// editing.
void composeTex4htCommandLine(AppContext& ctx);

// Enables `cmbPasses` and its label when the passes can be chosen.
void updatePassesControl(AppContext& ctx);

} // namespace morvane
