#include "tex4ht/tex4htcommand.h"

#include "pipeline/appcontext.h"

namespace morvane {

// Minimal composer: the TeX4ht option model (argument list, advanced options,
// package line) is not built yet, so the command line in `txt3` is left as
// it is. The option handlers already call this at every point where the
// full composer will have to run.
void composeTex4htCommandLine(AppContext& ctx) {
    (void)ctx;
}

} // namespace morvane
