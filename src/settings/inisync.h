#pragma once

#include <QString>

namespace morvane {

struct AppContext;

// "Yes" for a ticked check box (1) or true, "No" for everything else.
QString YesNo(int checkValueOrBool);

// Loads every key of Morvane.ini into the options model and the settings
// variables, in the key table's order.
void readini(AppContext& ctx);
// Saves the settings at exit; false (after the "Unable to save all the
// preferences" message) when any write failed.
bool writeini(AppContext& ctx);
// "Re&load INI": reads twice, checks the paths and refreshes what depends on them.
void reloadIni(AppContext& ctx);
// "&INI File": opens Morvane.ini in the text editor.
void editIni(AppContext& ctx);

QString iniPath(const AppContext& ctx);

} // namespace morvane
