#include "drivers/registry.h"

#include "drivers/hevea.h"
#include "drivers/tth.h"
#include "pipeline/appcontext.h"

namespace morvane {

void installDrivers(AppContext& ctx) {
    // The context outlives its drivers: the main window and batch mode own it
    // for the whole run.
    AppContext* context = &ctx;
    ctx.drivers[TabHevea] = [context](const QString& source) { Hevea(*context, source); };
    ctx.drivers[TabTth] = [context](const QString& source) { Tth(*context, source); };
}

} // namespace morvane
