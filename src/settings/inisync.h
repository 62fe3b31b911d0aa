#pragma once

#include <QString>
#include <span>

namespace morvane {

class OptionsModel;
class Prompter;
struct SettingsVariables;
struct IniKey;

// "Yes" for a ticked check box (1) or true, "No" for everything else.
QString YesNo(int checkValueOrBool);

// Loads the keys of the INI file into the options model and the settings
// variables, in the order of `keys` (the program's and its routes').
void readini(const QString& iniFile, OptionsModel& model, SettingsVariables& vars,
             std::span<const IniKey> keys);
// Saves the settings at exit; false (after the "Unable to save all the
// preferences" message) when any write failed.
bool writeini(const QString& iniFile, const OptionsModel& model, const SettingsVariables& vars,
              Prompter& prompter, std::span<const IniKey> keys);

} // namespace morvane
