#pragma once

#include "pipeline/route.h"

#include <QString>

namespace morvane {

struct AppContext;

// Works out where the selected route saves its result for the file box's
// file: sets lblPath, the expected output file and the Show/Edit buttons.
void SavedPath(AppContext& ctx);
// The file a route's place says it produces, or the HTML page that stands
// for XML output that did not come about.
QString expectedOutputOf(const OutputPlace& place);

// Sets the selected route's output-root label (lblSaveTo, lblSavelatex2,
// lblLatexmlSaveTo).
void updateSaveLabel(AppContext& ctx);

// The "Change Directory" buttons of the TeX4ht, LaTeX2HTML and LaTeXML tabs.
void cmdTex4htBrowse_Click(AppContext& ctx);
// The Change Directory button of a later route's tab: chooses the selected
// route's output root ("Select a directory in which to save Pandoc files:").
void changeOutputRoot(AppContext& ctx);
void cmdlatex2htmlBrowse_Click(AppContext& ctx);
void cmdLatexmlBrowse_Click(AppContext& ctx);

} // namespace morvane
