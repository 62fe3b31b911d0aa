#pragma once

#include <QString>

namespace morvane {

struct AppContext;

// The program's load step as far as it concerns the settings and the options
// model (no window): takes the command-line file, checks for Morvane.ini and
// convert.sh (telling the user and returning false when one is missing),
// reads the settings, checks the program locations, fills the lists and
// selects the start-up tab. The window, single-instance hand-over and
// first-run dialog are the caller's business.
bool loadStep(AppContext& ctx, const QString& commandLineFile);

} // namespace morvane
