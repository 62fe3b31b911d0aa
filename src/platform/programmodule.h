#pragma once

#include <QString>

namespace morvane {

// Resolves `symbol` in one of the program's loadable modules (`name` without
// prefix or suffix, such as "libmorvane_gui.so"): next to the executable
// (build tree, portable copy), then in the installed module folder relative to
// it (an install under another prefix), then in the installed module directory. The module stays
// loaded for the program's life. nullptr when no module or symbol was found;
// `error` then says why.
void* resolveProgramModule(const QString& name, const char* symbol, QString* error = nullptr);

// The directory of the running executable.
QString executableDirectory();

} // namespace morvane
