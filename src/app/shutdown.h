#pragma once

#include <QString>
#include <QStringList>

namespace morvane {

struct AppContext;

// The unload step: asks before leaving while conversions run, then saves the
// settings and the file history and shows the anti-virus reminder. False when
// the user chose to stay.
bool unloadStep(AppContext& ctx);

// The question asked when conversions are still running at exit.
QString runningConversionsQuestion(const QStringList& running);

} // namespace morvane
