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

// The exit status for the Convert command's result: 2 when no driver ran or
// it produced nothing new, 1 when its log holds errors, else 0.
int exitStatusOf(const std::optional<ConversionResult>& result);

// The text `morvane --help` prints.
QString commandLineHelp(RouteTable routes = builtInRoutes());

} // namespace morvane
