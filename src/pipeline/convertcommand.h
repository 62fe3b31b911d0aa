#pragma once

#include "pipeline/route.h"

#include <QString>
#include <optional>

namespace morvane {

struct AppContext;

// Converts `file` on `route`: checks the file, refuses a file still being
// converted, records the file box's file in the history, handles CD-ROM and
// "~" sources, computes the output location, runs the route's driver on a
// conversion of its own and applies the shared ending to its result. The
// window, batch mode, --watch and --check all convert through it. Returns
// the driver's result; nothing when no driver ran.
std::optional<ConversionResult> convert(AppContext& ctx, const Route& route, const QString& file);

// The Convert button: converts the file box's file on the selected route.
std::optional<ConversionResult> cmdConvert_Click(AppContext& ctx);

// True when `file` may be converted; otherwise the user has been told why.
bool Checkfile(AppContext& ctx, const QString& file);

// There are no short names on Linux: the path is returned as it is.
QString GetShortFileName(const QString& path);

// Everything up to and including the last "/"; the whole string without one.
QString PathOnly(const QString& path);

// The route log that belongs to the selected tab; empty on the Help tab.
QString currentLogFile(const AppContext& ctx);

} // namespace morvane
