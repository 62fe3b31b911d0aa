#pragma once

namespace morvane {

struct AppContext;

// Puts the built route drivers into ctx.drivers (tab 1..6).
void installDrivers(AppContext& ctx);

} // namespace morvane
