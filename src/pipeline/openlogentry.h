#pragma once

#include "pipeline/logentry.h"

namespace morvane {

struct AppContext;

// Opens the file of a log entry at its line in the TeX editor of the
// settings (else the text editor); without one, or when it cannot start,
// with the desktop's program for the file, else the plain-text editor.
// Tells the user what failed. Returns whether something started.
bool openLogEntry(AppContext& ctx, const LogEntry& entry);

} // namespace morvane
