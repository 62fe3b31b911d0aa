#pragma once

#include <QString>

namespace morvane {

struct AppContext;

// Rewrites the settings block of convert.sh for the route key ("hevea",
// "tth", "texify", "tex4ht", "l2h", "gspdf"; any other key writes an empty
// block). False, after telling the user, when the markers are missing or the
// file cannot be read or written.
bool Writebat(AppContext& ctx, const QString& commandLine, const QString& routeKey);

// The settings block lines for a route key, as Writebat would write them.
QString settingsBlock(const AppContext& ctx, const QString& commandLine, const QString& routeKey);

// The start-up check that recognises an old convert.sh.
void checkBatchDriverVersion(AppContext& ctx);

} // namespace morvane
