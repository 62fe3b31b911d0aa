#pragma once

#include <QString>
#include <QStringList>

namespace morvane {

struct AppContext;

// The program's load step as far as it concerns the settings and the options
// model (no window): takes the command-line file, checks for Morvane.ini and
// convert.sh (telling the user and returning false when one is missing),
// reads the settings, checks the program locations, fills the lists and
// selects the start-up tab. The window, single-instance hand-over and
// first-run dialog are the caller's business.
bool loadStep(AppContext& ctx, const QString& commandLineFile);

// What the user is told once when a start finished the work of a conversion
// that was killed: the names it put back.
QString restoredAfterCrashText(const QStringList& restored);

// The command-line file: the arguments joined by blanks, every double quote
// removed.
QString commandLineFileOf(const QStringList& arguments);

// A relative command-line file completed with `currentDir`; an absolute one
// and the empty string stay as they are.
QString fullPathOf(const QString& file, const QString& currentDir);

// What the selected route does when its tab opens (TeX4ht's one-time notice
// after an upgrade).
void upgradeNoticeStep(AppContext& ctx);

// "major.minor.patch" of this build.
QString programVersion();
// The version label: "Morvane " + version + six blanks + "©" + publisher.
QString versionLabel();
// A file's modification time as the date label shows it.
QString dateTimeLabel(const QString& file);

// Records the executable's path and version in the per-user store (group
// "Path": "Short", "Long", "Version").
void registerProgram(const QString& executable);

} // namespace morvane
