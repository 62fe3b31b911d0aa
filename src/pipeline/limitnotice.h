#pragma once

#include "platform/runlimits.h"

#include <QDateTime>
#include <QString>

namespace morvane {

struct Conversion;

// What the user learns when a limit ended a run: the document, the limit
// reached and how to raise it (More Preferences in the window, --timeout or
// --memory in batch mode). One line, so that it reads as one on standard error
// and in the log.
QString limitNotice(LimitReached limit, const RunLimits& limits, const QString& document,
                    bool batchMode);

// Tells the user, through the prompter, that a limit ended the conversion,
// and adds the notice to the end of the run's log when this run wrote it (a
// log left by an earlier run is not touched), so that View Log shows why the
// log stops short. Nothing when no limit was reached.
void tellLimitReached(const Conversion& conversion, const QDateTime& started);

} // namespace morvane
