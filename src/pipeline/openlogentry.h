#pragma once

#include "pipeline/logentry.h"

namespace morvane {

struct AppContext;

// Opens the file of a log entry at its line in the TeX editor of the
// settings; without one, with the desktop's program for the file. Tells the
// user when the editor cannot be started. Returns whether it started.
bool openLogEntry(AppContext& ctx, const LogEntry& entry);

} // namespace morvane
