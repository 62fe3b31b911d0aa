#include "drivers/tex4ht.h"

#include "pipeline/appcontext.h"
#include "pipeline/outputplace.h"
#include "platform/pathutils.h"

namespace morvane {

QString tex4htOutputExtension(const AppContext& ctx) {
    const QString chosen = ctx.model->text(QStringLiteral("tex4htExtension"));
    return chosen.isEmpty() ? QStringLiteral(".html") : chosen;
}

OutputPlace tex4htPlace(const AppContext& ctx, const QString& file) {
    const QString name = withoutSourceExtension(fileNameOf(file), ctx.run.sourceExtension);
    return placeInNewDirectory(ctx.settings.vars.tex4htSaveTo, name,
                               name + tex4htOutputExtension(ctx));
}

} // namespace morvane
