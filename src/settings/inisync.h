#pragma once

#include <QString>

namespace morvane {

class OptionsModel;
class Prompter;
struct SettingsVariables;

// "Yes" for a ticked check box (1) or true, "No" for everything else.
QString YesNo(int checkValueOrBool);

// Loads every key of the INI file into the options model and the settings
// variables, in the key table's order.
void readini(const QString& iniFile, OptionsModel& model, SettingsVariables& vars);
// Saves the settings at exit; false (after the "Unable to save all the
// preferences" message) when any write failed.
bool writeini(const QString& iniFile, const OptionsModel& model, const SettingsVariables& vars,
              Prompter& prompter);

} // namespace morvane
