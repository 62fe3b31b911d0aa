#pragma once

namespace morvane {

struct AppContext;

// Validates the loaded program locations and sets ctx.paths.
void CheckPaths(AppContext& ctx);

} // namespace morvane
