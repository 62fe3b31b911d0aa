#pragma once

#include "pipeline/route.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace morvane {

// `--report=json`: one line of JSON for each converted document, on standard
// output, for scripts that spread a collection over machines. Its fields:
// file, route, status (the exit status), result and log (paths, empty when
// there is none), errors and warnings (the log's counts), seconds (wall
// time) and peak_mb (the most memory the converter held, when it was seen).
QByteArray reportLine(const QString& file, const QString& routeWord, int status,
                      const std::optional<ConversionResult>& result, double seconds);

// Takes "--report=json" out of `args`; false when it was not there. Any
// other --report= value is refused (after saying so) through `bad`.
bool takeReportOption(QStringList& args, bool& bad);

// Takes "--jobs=N" out of `args`: N, or 0 when absent; -1 (after saying
// why) when N is not a whole number above 0.
int takeJobsOption(QStringList& args);

} // namespace morvane
