#pragma once

// Pictures a document reaches through \graphicspath. graphicx looks for a
// picture in each folder the command names, relative to the folder TeX runs
// in, and the converters turn the picture it found into a web image by that
// same relative name. A working copy in the output folder therefore gets
// copies of those pictures at the same relative places below its own folder:
// TeX and the converters find them there, and the pages' references stay
// inside the output folder. Only the pictures the document names are copied,
// never the rest of its folder.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace morvane {

// The extensions graphicx and the converters try for a picture named without
// one, in their usual order.
const QStringList& pictureExtensions();

// The folders named by the \graphicspath commands of a TeX text (comments
// skipped), in their order, as written ("Figs/Raster/").
QStringList graphicsPathsOf(const QByteArray& texText);

// The folders of the \graphicspath commands of `document` and of the TeX
// files it inputs that lie below its folder ("Chapter2/Figs/Raster"), in
// their order, each once.
QStringList graphicsFoldersOf(const QString& document);

// Where copyGraphicsPathPictures puts the pictures: at their paths below
// the output folder, or there and under their bare names beside the working
// copy too. LaTeX2HTML needs the latter: the file of pictures it has LaTeX
// make holds the document's preamble but not a \graphicspath of its body.
enum class PictureCopies { AtTheirPaths, AlsoBeside };

// Copies, for every folder of a \graphicspath command in `document`, the TeX
// files it inputs and the class and package files of its folder, every
// picture the document names that lies in that folder below the document's
// folder, to the same relative place below `outputDir`. A name without an
// extension stands for each picture file of that name. Folders and names
// reaching out of the document's folder ("../", absolute) are left alone;
// copy errors are ignored (the converter's log shows a missing picture).
// With AlsoBeside a picture is copied beside the working copy too, unless a
// file of its name lies there already (the first of two namesakes wins).
void copyGraphicsPathPictures(const QString& document, const QString& outputDir,
                              PictureCopies copies = PictureCopies::AtTheirPaths);

} // namespace morvane
