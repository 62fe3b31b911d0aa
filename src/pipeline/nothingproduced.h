#pragma once

#include <QString>

namespace morvane {

// Why a conversion could not produce its result when the cause lies outside
// the converter, for the message that says nothing was produced: the batch
// driver has Windows line ends or is older than the program (it has no
// route_NAME function for the route's word `scriptRoute`), the result's
// folder cannot be written, or its disk is full. Empty when none of these
// is found.
QString causeOfNothingProduced(const QString& batchDriver, const QString& expectedOutput,
                               const char* scriptRoute = nullptr);

} // namespace morvane
