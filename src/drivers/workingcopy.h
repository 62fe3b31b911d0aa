#pragma once

#include <QString>

namespace morvane {

struct AppContext;
struct Conversion;

// What the routes that work on a copy of the document (TeX4ht, LaTeX2HTML)
// share before they edit it.

// Makes the document's output directory (one level: the root must exist);
// tells the user how to choose another root (`howToChange`) when it fails.
bool makeOutputDirectory(AppContext& ctx, const QString& dir, const QString& howToChange);

// Makes the working copy `workingCopy` of `source` and fetches the files it
// includes (for the TeX4ht route without the working copy's own graphics
// fix-up, which its driver runs later). A document that already lies in its
// own output directory is converted where it is once the user agrees: its
// text before the first such run is kept as "Backup of " + its name, and
// on the TeX4ht route conv.convertedInPlace lets the working-copy steps
// edit it. False when
// the user cancelled or a copy failed (the user has been told).
bool makeWorkingCopy(Conversion& conv, const QString& source, const QString& workingCopy,
                     bool tex4htRoute);

} // namespace morvane
