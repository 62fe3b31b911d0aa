#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Pictures a page names the way the TeX document did. pandoc writes each
// \includegraphics name into the page as it stands ("minion",
// "figs/plot.png"): relative to the document's folder, perhaps through a
// \graphicspath folder, often without an extension. A page in an output
// folder of its own shows nothing there until the picture is brought below
// that folder and the page names it as it lies.

namespace morvane {

// Where a TeX picture name is looked for: the document's folder and its
// \graphicspath folders (relative to it).
struct PictureSearch {
    QString documentFolder;
    QStringList folders;
};

// The picture a browser can show for the TeX name `name`, relative to the
// document's folder: the name itself or the name with one of the web
// picture extensions (PNG, JPEG, GIF, SVG, WebP), in the document's folder
// first and then in each \graphicspath folder. Empty when there is none, or
// when the name reaches out of the document's folder.
QString webPictureFor(const PictureSearch& search, const QString& name);

// The page with every local <img src> that names no file below `outputDir`
// pointed at the picture webPictureFor finds, copied to the same relative
// place below `outputDir`. Sources that name a file already, or no picture
// that is found, stay as they are.
QByteArray withPicturesBroughtIn(const QByteArray& page, const QString& outputDir,
                                 const PictureSearch& search);

// The same for a page file, replaced atomically when anything changed.
// False when it could not be read or rewritten.
bool bringPicturesIn(const QString& page, const PictureSearch& search);

} // namespace morvane
