#pragma once

#include <QString>

namespace morvane {

struct AppContext;

// The Convert command: checks the file box's file, refuses a file still being
// converted, records it in the history, handles CD-ROM and "~" sources,
// computes the output location and calls the selected route's driver.
// Runs the same with or without a window.
void cmdConvert_Click(AppContext& ctx);

// True when `file` may be converted; otherwise the user has been told why.
bool Checkfile(AppContext& ctx, const QString& file);

// There are no short names on Linux: the path is returned as it is.
QString GetShortFileName(const QString& path);

// Everything up to and including the last "/"; the whole string without one.
QString PathOnly(const QString& path);

// The route log that belongs to the selected tab; empty on the Help tab.
QString currentLogFile(const AppContext& ctx);

} // namespace morvane
