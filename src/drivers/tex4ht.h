#pragma once

#include "pipeline/route.h"

#include <QString>

namespace morvane {

struct AppContext;
struct Conversion;

// The extension of the TeX4ht route's main page: ".html" unless the TeX4ht
// options chose another (the model's `tex4htExtension`).
QString tex4htOutputExtension(const AppContext& ctx);

// The TeX4ht driver: works on a copy of the document in its own directory
// below the TeX4ht output root, runs the TeX4ht command of the tab and fixes
// the images and links of every page it produced.
// The one-time notice shown when the TeX4ht tab opens after an upgrade, and
// the tab's reaction that shows it when it was never shown.
QString upgradeNoticeText();
void tex4htTabSelected(AppContext& ctx);

ConversionResult TeX4ht(Conversion& conv);

// Everything the TeX4ht driver does before the run: the output directory,
// its old configuration files cleared, the working copy (or the user's
// agreement to convert in place), the class, overlib, tex4ht.usr,
// configuration, .cfh, .bbl and mydoc copies, the graphics, babel/swpht and
// package steps. Convert stays disabled meanwhile. False when the conversion
// stops (the user has been told or cancelled).
bool prepareTex4htWorkingCopy(Conversion& conv);

// The page the route shows for the document `base` in `outputDir`: its name
// with the result extension, or the ".html" page when an ".xml" one was
// expected and is missing.
QString tex4htResultFile(const Conversion& conv, const QString& outputDir, const QString& base);

// Fixes the images and links of every page in `outputDir` (extension: the
// result's, which links to TeX files get), with the progress in Label35.
void postProcessTex4htPages(Conversion& conv, const QString& outputDir, const QString& extension);

// Checks that the TeX4ht programs the command line needs are there; tells
// the user what is missing and answers false when one is not.
bool tex4htProgramsFound(AppContext& ctx);

// Reads whether htrun.ini asks htrun to count LaTeX passes, then updates the
// passes box (run once at start-up).
void probeHtrunIni(AppContext& ctx);

// Where the TeX4ht route saves its pages: a new directory named after the
// file below the TeX4ht output root.
OutputPlace tex4htPlace(const AppContext& ctx, const QString& file);

} // namespace morvane
