#pragma once

#include "pipeline/route.h"

#include <QString>

namespace morvane {

struct AppContext;
struct Conversion;

// Where the LaTeX2HTML route saves its pages: index.html in a new directory
// named after the file below the LaTeX2HTML output root.
OutputPlace l2hPlace(const AppContext& ctx, const QString& file);

// The output directory of a document on the LaTeX2HTML route.
QString l2hOutputDirectory(const AppContext& ctx, const QString& file);

// The LaTeX2HTML driver: puts a copy of the document and the files it
// includes into its own directory below the output root, writes the init
// file, runs latex2html through the batch driver and fixes the images of
// the pages it produced. Its log is the images log of that directory.
ConversionResult l2h(Conversion& conv);

} // namespace morvane
