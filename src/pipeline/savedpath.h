#pragma once

#include <QString>

namespace morvane {

struct AppContext;

// Works out where the selected route saves its result for the file box's
// file: sets lblPath, the expected output file and the Show/Edit buttons.
void SavedPath(AppContext& ctx);

// Sets lblSaveTo (TeX4ht tab) or lblSavelatex2 (LaTeX2HTML tab).
void updateSaveLabel(AppContext& ctx);

// The "Change Directory" buttons of the TeX4ht and LaTeX2HTML tabs.
void cmdTex4htBrowse_Click(AppContext& ctx);
void cmdlatex2htmlBrowse_Click(AppContext& ctx);

// The extension of the TeX4ht route's main page: ".html" unless the TeX4ht
// options chose another (the model's `tex4htExtension`).
QString tex4htOutputExtension(const AppContext& ctx);

} // namespace morvane
