#pragma once

#include <QStringList>

namespace morvane {

// `morvane --convert=ROUTE FILE`: runs the Convert command without a window.
// Returns the process exit status (0 clean result, 1 errors in the log,
// 2 stopped or nothing produced).
int runBatchMode(const QString& route, const QString& file);

// The text `morvane --help` prints.
QString commandLineHelp();

} // namespace morvane
