#pragma once

#include "settings/settingsvariables.h"

#include <span>

namespace morvane {

// A tab's program as the path check looks for it.
struct ProgramRequirement {
    int tab;
    RouteProgram program;
};

// Validates the loaded program locations: the TeX documents folder, each
// tab's program (found, and its location key for "… Not Found"), the output
// roots, the editors and the htrun folders.
void CheckPaths(Settings& settings, std::span<const ProgramRequirement> requirements);

} // namespace morvane
