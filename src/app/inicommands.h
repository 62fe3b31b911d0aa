#pragma once

#include <QString>

namespace morvane {

struct AppContext;

// Morvane.ini in the program directory.
QString iniPath(const AppContext& ctx);

// readini and writeini on the context's options model and settings.
void readini(AppContext& ctx);
bool writeini(AppContext& ctx);

// "Re&load INI": reads twice, checks the paths and refreshes what depends on them.
void reloadIni(AppContext& ctx);
// "&INI File": opens Morvane.ini in the text editor.
void editIni(AppContext& ctx);

} // namespace morvane
