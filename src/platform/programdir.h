#pragma once

#include <QString>

namespace morvane {

// Where the program keeps Morvane.ini, convert.sh and its other files:
//  1. $MORVANE_HOME when set;
//  2. the executable's directory when it holds Morvane.ini (build tree,
//     portable copy);
//  3. $XDG_CONFIG_HOME/morvane (~/.config/morvane), created and seeded from
//     the installed defaults without overwriting anything already there.
struct ProgramDirectoryInputs {
    QString morvaneHome;       // $MORVANE_HOME
    QString executableDir;     // QCoreApplication::applicationDirPath()
    QString configHome;        // $XDG_CONFIG_HOME or ~/.config
    QString installedDefaults; // <prefix>/share/morvane
};

QString resolveProgramDirectory(const ProgramDirectoryInputs& inputs);

// The inputs of the running program, from its environment.
ProgramDirectoryInputs currentProgramDirectoryInputs();

// With $MORVANE_HOME set, the per-user store (the QSettings of the browser
// placement, the registered program path, ...) lives there too, as
// MORVANE_HOME/Morvane/Morvane.conf, so that such a run writes nothing into
// the user's ~/.config. An empty `morvaneHome` changes nothing.
void keepPerUserStoreIn(const QString& morvaneHome);

// Copies every file of `defaults` into `dir` that `dir` does not hold yet.
void seedProgramDirectory(const QString& dir, const QString& defaults);

} // namespace morvane
