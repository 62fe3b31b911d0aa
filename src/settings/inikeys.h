#pragma once

#include "settings/controlnames.h"
#include "settings/settingsvariables.h"

#include <QString>
#include <optional>
#include <span>

namespace morvane {

class OptionsModel;
class ProfileFile;

// When a key of Morvane.ini is written at exit.
enum class IniSave {
    Never,           // read only: written by its dialog, or by hand
    Always,          // at every exit
    WithPreferences, // only while "&Save Preferences" (chkSave) is ticked
};

// What a key is read into.
struct IniPlace {
    OptionsModel& model;
    SettingsVariables& vars;
};

// What a key is written from.
struct IniSource {
    const OptionsModel& model;
    const SettingsVariables& vars;
};

struct IniKey;
using IniRead = void (*)(const IniKey& key, const ProfileFile& profile, IniPlace& place);
// The value to write; nothing leaves the key as it is in the file.
using IniWrite = std::optional<QString> (*)(const IniKey& key, const IniSource& source);

// One key of Morvane.ini: spelt once, here, for reading and for writing.
// Rows give either a control (a check box read as Yes/No), a settings
// member, or their own read and write functions.
struct IniKey {
    const char* section;
    const char* name;
    IniSave save;
    // The keys saved at every exit are written first, in this order; where
    // the file lacks them, that order decides where they are added.
    int firstSaveRank = 0;
    ctl::Control control = nullptr;             // check box
    const char* defaultValue = "No";            // what a missing key reads as
    QString SettingsVariables::*text = nullptr; // a path (read without a trailing "/")
    bool SettingsVariables::*flag = nullptr;    // True/False
    IniRead read = nullptr;
    IniWrite write = nullptr;
    // The keys of the routes added after the first six: not added to a file
    // while they hold their default, so that files written before stay
    // byte for byte as they were. A key the file has is always written.
    bool onlyWhenChanged = false;
};

// The keys of Morvane.ini that are the program's own, in reading order: the
// ones before the routes' sections, and the ones after them. The routes
// bring their sections (the route table puts them together).
std::span<const IniKey> ownIniKeys();
std::span<const IniKey> trailingIniKeys();
// The sections of the built-in routes; DVI and PDF share [Texify].
std::span<const IniKey> heveaIniKeys();
std::span<const IniKey> tthIniKeys();
std::span<const IniKey> texifyIniKeys();
std::span<const IniKey> tex4htIniKeys();
std::span<const IniKey> l2hIniKeys();
// The [Paths] key of a row of Program Locations: read as a folder, written
// by that dialog only.
IniKey locationIniKey(const char* name, QString SettingsVariables::*setting);

// The value a key has in the profile, or its default.
QString storedValue(const IniKey& key, const ProfileFile& profile);

// The output root of a route added after the first six, in its section's
// SaveTo: the home folder when none is stored, and stored as nothing when
// it is the home folder, so that choosing the home folder again leaves the
// file as it was. Written only once changed.
IniKey homeDefaultRootKey(const char* section, QString SettingsVariables::*root, int rank);

// Reads one key into its place.
void readIniKey(const IniKey& key, const ProfileFile& profile, IniPlace& place);
// The value a key is written with; nothing when it is not written.
std::optional<QString> iniKeyValue(const IniKey& key, const IniSource& source);

} // namespace morvane
