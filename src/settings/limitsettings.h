#pragma once

#include "platform/runlimits.h"

#include <QString>

namespace morvane {

struct SettingsVariables;

// The limits of one converter run, as More Preferences and Morvane.ini set
// them. The defaults are far beyond what a real document needs, so that
// only a converter that never ends or never stops growing meets them.
constexpr int kDefaultTimeLimitMinutes = 10;
// Half the machine's memory: a runaway is ended while the desktop still
// has room to work.
int defaultMemoryLimitMB();

// The limits in force: the stored ones, or the defaults where none is stored.
int timeLimitSeconds(const SettingsVariables& vars);
int memoryLimitMB(const SettingsVariables& vars);
RunLimits runLimitsOf(const SettingsVariables& vars);

// A stored limit as Morvane.ini spells it: a positive whole number, else 0
// (the default applies).
int storedLimitValue(const QString& value);

} // namespace morvane
