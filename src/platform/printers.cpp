#include "platform/printers.h"

namespace morvane {

QString portOfDeviceUri(const QString& uri) {
    const qsizetype colon = uri.indexOf(QLatin1Char(':'));
    if (colon <= 0)
        return {};
    const QString scheme = uri.left(colon);
    for (const QChar c : scheme) {
        // RFC 3986 scheme characters only: a bare path or "name:x y" is no URI.
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != QLatin1Char('+') &&
            c != QLatin1Char('-') && c != QLatin1Char('.'))
            return {};
    }
    return scheme.toUpper() + QLatin1Char(':');
}

} // namespace morvane
