#pragma once

#include "pipeline/route.h"

#include <QString>
#include <functional>
#include <optional>

namespace morvane {

// One conversion of the watched document: its exit status, and the result
// (for the files LaTeX recorded) when a driver ran.
using WatchedConversion = std::function<int(std::optional<ConversionResult>& result)>;

// `--watch`: converts, then converts again whenever the document or a file it
// reads is saved (saves within the settle time make one conversion), until
// Ctrl+C or TERM. Returns the status of the last conversion.
int watchAndConvert(const QString& source, const WatchedConversion& convert, int settleMs = 300);

} // namespace morvane
