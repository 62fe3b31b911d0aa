#include "settings/limitsettings.h"

#include "settings/settingsvariables.h"

namespace morvane {

namespace {
constexpr qint64 kMB = 1024 * 1024;
// For a machine whose memory cannot be told.
constexpr int kFallbackMemoryLimitMB = 2048;
} // namespace

int defaultMemoryLimitMB() {
    const qint64 physical = physicalMemoryBytes();
    return physical > 0 ? int(physical / 2 / kMB) : kFallbackMemoryLimitMB;
}

int timeLimitSeconds(const SettingsVariables& vars) {
    return vars.timeLimitSeconds > 0 ? vars.timeLimitSeconds : kDefaultTimeLimitMinutes * 60;
}

int memoryLimitMB(const SettingsVariables& vars) {
    return vars.memoryLimitMB > 0 ? vars.memoryLimitMB : defaultMemoryLimitMB();
}

RunLimits runLimitsOf(const SettingsVariables& vars) {
    return {timeLimitSeconds(vars), qint64(memoryLimitMB(vars)) * kMB};
}

int storedLimitValue(const QString& value) {
    bool ok = false;
    const int number = value.trimmed().toInt(&ok);
    return ok && number > 0 ? number : 0;
}

} // namespace morvane
