#pragma once

namespace morvane {

struct AppContext;

// The buttons that open the program's text files and the TeX file in an
// editor. Each runs the configured editor (`Editor`, or `TeXEditor` for the
// TeX file) with the file as its one argument; without one, the desktop's
// associated program, and where the desktop has none, the plain-text editor.

// "&Readme File": readme.txt of the program directory.
void cmdReadMe_Click(AppContext& ctx);
// "&Batch File": convert.sh, never handed to the desktop, which would run it.
void cmdBatch_Click(AppContext& ctx);
// "Edit Tex File": the file in the file box.
void cmdEditTex_Click(AppContext& ctx);

} // namespace morvane
