#pragma once

#include "settings/inikeys.h"
#include "settings/programlocations.h"

#include <span>

namespace morvane {

// The LaTeXML route's keys of Morvane.ini, section [LaTeXML]: its output
// root (SaveTo, empty for the home folder), Format, Split, Math and
// Bibliography. None is added to a file while it holds its default, so a
// file written before the route existed stays as it was.
std::span<const IniKey> latexmlIniKeys();

// Its row of Program Locations: the folder of latexmlc ([Paths] Latexml).
std::span<const LocationRow> latexmlLocationRows();

} // namespace morvane
