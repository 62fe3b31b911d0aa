#pragma once

#include "pipeline/route.h"

#include <QString>

namespace morvane {

struct AppContext;

// The DVI and PDF routes write next to the TeX file.
OutputPlace dviPlace(const AppContext& ctx, const QString& file);
OutputPlace pdfPlace(const AppContext& ctx, const QString& file);

} // namespace morvane
