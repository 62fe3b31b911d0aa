#include "pipeline/outputplace.h"

#include "pipeline/appcontext.h"
#include "pipeline/convertcommand.h"
#include "platform/pathutils.h"

#include <QDir>

namespace morvane {

QString savedAsLabel(const QString& path) {
    return QStringLiteral("Saved as\n") + QDir::toNativeSeparators(path);
}

OutputPlace placeBesideSource(const AppContext& ctx, const QString& file,
                              const QString& extension) {
    const QString base = withoutSourceExtension(GetShortFileName(file), ctx.sourceExtension);
    return {savedAsLabel(PathOnly(file) + fileNameOf(base) + extension), base + extension};
}

OutputPlace placeInNewDirectory(const QString& root, const QString& directoryName,
                                const QString& mainPage) {
    const QString dir = joinPath(root, directoryName);
    return {QStringLiteral("Files saved in new directory\n") + QDir::toNativeSeparators(dir),
            joinPath(dir, mainPage)};
}

} // namespace morvane
