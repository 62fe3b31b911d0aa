#include "drivers/latex2html.h"

#include "pipeline/appcontext.h"
#include "pipeline/outputplace.h"
#include "platform/pathutils.h"

namespace morvane {

OutputPlace l2hPlace(const AppContext& ctx, const QString& file) {
    return placeInNewDirectory(ctx.settings.vars.l2hSaveTo,
                               withoutSourceExtension(fileNameOf(file), ctx.run.sourceExtension),
                               QStringLiteral("index.html"));
}

} // namespace morvane
