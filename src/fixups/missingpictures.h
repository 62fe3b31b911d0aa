#pragma once

#include <QString>
#include <QStringList>

namespace morvane {

// The local pictures (src="...") that the pages of `dir` show but that are
// not there, as "page: picture": what a converter's picture program (dvipng,
// ImageMagick, Ghostscript) failed to make, silently.
QStringList missingPictures(const QString& dir);
// The same for some pages of `dir` only (names in it): a folder the user's
// own pages share.
QStringList missingPicturesOf(const QString& dir, const QStringList& pages);

// The line added to a route's log for them, so that the run counts as one
// with errors and the log says what is missing and what may be the cause.
QByteArray missingPicturesLogLine(const QStringList& missing);

} // namespace morvane
