#pragma once

#include "pipeline/route.h"

#include <QString>

namespace morvane {

struct AppContext;

// The extension of the TeX4ht route's main page: ".html" unless the TeX4ht
// options chose another (the model's `tex4htExtension`).
QString tex4htOutputExtension(const AppContext& ctx);

// Where the TeX4ht route saves its pages: a new directory named after the
// file below the TeX4ht output root.
OutputPlace tex4htPlace(const AppContext& ctx, const QString& file);

} // namespace morvane
