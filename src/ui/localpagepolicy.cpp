#include "ui/localpagepolicy.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace morvane {

namespace {

// The real place of a path, so that a link inside the folder cannot lead
// out of it; a path that does not exist is only cleaned.
QString realPath(const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(path) : canonical;
}

bool inside(const QString& path, const QString& folder) {
    if (folder.isEmpty())
        return false;
    if (folder == QStringLiteral("/"))
        return true;
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

} // namespace

QString mathJaxDirectory() {
    return QStringLiteral("/usr/share/javascript/mathjax");
}

bool localPageMayLoad(const QUrl& page, const QUrl& request, const QString& scriptDir) {
    if (!page.isLocalFile())
        return true;
    const QString scheme = request.scheme();
    // Data the page carries itself.
    if (scheme == QStringLiteral("data") || scheme == QStringLiteral("blob") ||
        request.toString() == QStringLiteral("about:blank"))
        return true;
    if (!request.isLocalFile())
        return false;
    const QString path = realPath(request.toLocalFile());
    const QString folder = realPath(QFileInfo(page.toLocalFile()).absolutePath());
    return inside(path, folder) || (!scriptDir.isEmpty() && inside(path, realPath(scriptDir)));
}

} // namespace morvane
