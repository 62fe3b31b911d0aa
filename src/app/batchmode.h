#pragma once

#include "pipeline/route.h"

#include <QStringList>
#include <optional>

namespace morvane {

// `morvane --convert=ROUTE FILE...`: runs the Convert command without a
// window, for each file in order with the same settings. Returns the process
// exit status (0 clean result, 1 errors in the log, 2 stopped or nothing
// produced); for several files the worst of theirs.
// With `watch`, the one file is converted again at every save of it or of a
// file it reads, until Ctrl+C. `--timeout=SECONDS` and `--memory=MB` among
// the files set the limits of each converter run.
int runBatchMode(const QString& route, QStringList files, bool watch = false);

// The exit status for the Convert command's result: 2 when no driver ran, it
// produced nothing new or the converter gave up (a fatal entry), 1 when its
// log holds an error entry (or a page could not be fixed up), else 0.
// Warnings alone, and what only sets View Log's caption, give 0.
int exitStatusOf(const std::optional<ConversionResult>& result);

// The text `morvane --help` prints.
QString commandLineHelp(RouteTable routes = builtInRoutes());

} // namespace morvane
