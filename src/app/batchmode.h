#pragma once

#include "pipeline/route.h"

#include <QStringList>
#include <optional>

namespace morvane {

// `morvane --convert=ROUTE FILE...`: runs the Convert command without a
// window, for each file in order with the same settings. Returns the process
// exit status (0 clean result, 1 errors in the log, 2 stopped or nothing
// produced); for several files the worst of theirs.
int runBatchMode(const QString& route, const QStringList& files);

// The exit status for the Convert command's result: 2 when no driver ran or
// it produced nothing new, 1 when its log holds errors, else 0.
int exitStatusOf(const std::optional<ConversionResult>& result);

// The text `morvane --help` prints.
QString commandLineHelp();

} // namespace morvane
