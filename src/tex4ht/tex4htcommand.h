#pragma once

namespace morvane {

struct AppContext;

// Recomposes the TeX4ht command line shown in `txt3` from the TeX4ht tab's
// options and the advanced options. Runs whenever one of those controls
// changes; does nothing while the box is open for manual editing.
void composeTex4htCommandLine(AppContext& ctx);

} // namespace morvane
