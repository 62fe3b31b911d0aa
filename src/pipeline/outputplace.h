#pragma once

#include "pipeline/route.h"

#include <QString>

namespace morvane {

struct AppContext;

// "Saved as" and the path for display, as lblPath shows a single result.
QString savedAsLabel(const QString& path);

// HeVeA, TtH, DVI and PDF write next to the TeX file: the file's base name
// with `extension`.
OutputPlace placeBesideSource(const AppContext& ctx, const QString& file, const QString& extension);

// TeX4ht and LaTeX2HTML write into a new directory named after the file
// (case kept) below the output root chosen on their tab; `mainPage` is the
// name of the page shown there.
OutputPlace placeInNewDirectory(const QString& root, const QString& directoryName,
                                const QString& mainPage);

} // namespace morvane
