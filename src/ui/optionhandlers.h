#pragma once

namespace morvane {

struct AppContext;

// Connects the reactions the main window runs when a control changes (tab
// change, output kind, HeVeA version, htrun, images, ...) to the options
// model's change signal. They touch only the model and the context, so batch
// mode connects them too and a value read from Morvane.ini reacts as a click.
void connectOptionHandlers(AppContext& ctx);

// The tab-change reaction for the tab strip's current tab.
void tbstrip_Click(AppContext& ctx);

} // namespace morvane
