#pragma once

#include "platform/volumes.h"
#include "settings/programsearch.h"
#include "settings/settingsvariables.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <span>

namespace morvane {

// One row of Program Locations (row 0 is the volume list).
struct LocationRow {
    const char* label;
    const char* key; // in [Paths]
    QString SettingsVariables::*setting;
    const char* prompt;      // of the folder chooser
    QStringList searchNames; // empty: the row is not searched
    bool executable = false; // a program row matches executable files only
};

// The program's own row (the TeX documents folder, row 1) and the rows of the
// built-in routes (the route table puts them together in dialog order).
std::span<const LocationRow> ownLocationRows();
std::span<const LocationRow> heveaLocationRows();
std::span<const LocationRow> tthLocationRows();
std::span<const LocationRow> texifyLocationRows();
std::span<const LocationRow> tex4htLocationRows();
std::span<const LocationRow> l2hLocationRows();
// What the search looks for, one target per row from 2 on (target k belongs
// to row k + 2); `rows` are rows 1 to N in dialog order.
QList<SearchTarget> searchTargets(const QList<LocationRow>& rows);

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

// The note of a row whose program the search found in several folders.
QString searchNoteText(int found);

// OK of Program Locations: FirstTime=No, CD-ROM and the [Paths] entry of each
// row (`texts` in the order of `rows`, rows 1 to N) in one atomic write.
// False when any could not be stored.
bool writeProgramLocations(const QString& iniFile, const QString& cdRom,
                           const QList<LocationRow>& rows, const QStringList& texts);
// Cancel: FirstTime=No only.
bool writeFirstTimeDone(const QString& iniFile);

} // namespace morvane
