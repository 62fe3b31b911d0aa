#pragma once

// The graphics fix-up of a working copy: pictures placed by Scientific
// WorkPlace frame blocks or by \includegraphics are copied next to the
// working copy and their references shortened to bare file names, so that
// the converters find everything in one folder.

#include <QString>

namespace morvane {

struct Conversion;

// Whether the graphics fix-up defines the swpht macro \KWZTeXExt in front of
// \begin{document}: the TeX4ht route needs it, the others do not.
enum class KwzTexExtBlock { Omit, Add };

// Puts every "\frame{" of a document whose frames carry no "%TCIMACRO{\frame"
// comment on a line of its own after an empty line, and then sets the
// raw-frame flag (conv.rawFrame). A file that needs no change is not
// written.
void splitFrameLines(Conversion& conv, const QString& workingCopy);

// True when the first 32000 bytes of the file already hold the \KWZTeXExt
// block (its "Setting KWZTeXExt to tex...}" line with its line end).
bool CheckforKwzTex(const QString& path);

// The graphics fix-up: splits the frame lines, adds the \KWZTeXExt block
// when asked and not yet there, points every picture reference at the bare
// file name and copies the pictures into `outputDir`. Pictures are looked
// for beside the user's TeX file (the file box). Missing or unreadable
// pictures are skipped; their references are shortened all the same.
// False when the working copy cannot be read or written.
bool fixGraphics(Conversion& conv, const QString& outputDir, const QString& workingCopy,
                 KwzTexExtBlock block);

} // namespace morvane
