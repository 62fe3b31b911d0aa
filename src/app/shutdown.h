#pragma once

namespace morvane {

struct AppContext;

// The unload step: asks before leaving while conversions run, then saves the
// settings and the file history and shows the anti-virus reminder. False when
// the user chose to stay.
bool unloadStep(AppContext& ctx);

} // namespace morvane
