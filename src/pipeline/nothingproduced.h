#pragma once

#include <QString>

namespace morvane {

// Why a conversion could not produce its result when the cause lies outside
// the converter, for the message that says nothing was produced: the batch
// driver has Windows line ends, the result's folder cannot be written, or
// its disk is full. Empty when none of these is found.
QString causeOfNothingProduced(const QString& batchDriver, const QString& expectedOutput);

} // namespace morvane
