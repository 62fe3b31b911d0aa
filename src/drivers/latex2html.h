#pragma once

#include "pipeline/route.h"

#include <QString>

namespace morvane {

struct AppContext;

// Where the LaTeX2HTML route saves its pages: index.html in a new directory
// named after the file below the LaTeX2HTML output root.
OutputPlace l2hPlace(const AppContext& ctx, const QString& file);

} // namespace morvane
