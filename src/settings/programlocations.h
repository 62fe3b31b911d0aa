#pragma once

#include "platform/volumes.h"
#include "settings/programsearch.h"
#include "settings/settingsvariables.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

namespace morvane {

// One row of Program Locations (rows 1 to 12; row 0 is the volume list).
struct LocationRow {
    const char* label;
    const char* key; // in [Paths]
    QString SettingsVariables::*setting;
    const char* prompt;      // of the folder chooser
    QStringList searchNames; // empty: the row is not searched
    bool executable = false; // a program row matches executable files only
};

// Rows 1 to 12 in dialog order (index 0 of the result is row 1).
const std::array<LocationRow, 12>& locationRows();
// What the search looks for, one target per row from 2 on (target k belongs
// to row k + 2).
QList<SearchTarget> searchTargets();

// An entry of row 0: a volume's mount point and its type text; the first
// entry is empty.
struct VolumeEntry {
    QString text;
    QString mountPoint;
};
QString driveTypeText(DriveType type);
QList<VolumeEntry> volumeEntries(const QList<Volume>& volumes);
// The entry of the last CD-ROM volume; 0 (the empty entry) when there is none.
int lastCdRomEntry(const QList<Volume>& volumes);

// Where a search leaves a row: the found folder in the box, several in the
// candidate list (the one the row held before first), or "Not found".
struct RowOutcome {
    QString text;
    QStringList candidates; // shown instead of the box when not empty
    QString note;
};
RowOutcome searchOutcome(const QStringList& found, const QString& savedText);

// The folder chooser's answer as a row stores it: no trailing separator,
// the root stays "/".
QString chosenFolderText(const QString& folder);

// OK of Program Locations: FirstTime=No and the fourteen [Paths] entries
// (`rows` are rows 1 to 12) in one atomic write. False when any could not
// be stored.
bool writeProgramLocations(const QString& iniFile, const QString& cdRom, const QStringList& rows);
// Cancel: FirstTime=No only.
bool writeFirstTimeDone(const QString& iniFile);

} // namespace morvane
