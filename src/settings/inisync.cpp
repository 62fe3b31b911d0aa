#include "settings/inisync.h"

#include "platform/prompter.h"
#include "settings/inikeys.h"
#include "settings/optionsmodel.h"
#include "settings/profilefile.h"

#include <QVector>
#include <algorithm>

namespace morvane {

QString YesNo(int checkValueOrBool) {
    return (checkValueOrBool == 1 || checkValueOrBool == -1) ? QStringLiteral("Yes")
                                                             : QStringLiteral("No");
}

void readini(const QString& iniFile, OptionsModel& model, SettingsVariables& vars,
             std::span<const IniKey> keys) {
    const ProfileFile profile = ProfileFile::load(iniFile);
    IniPlace place{model, vars};
    for (const IniKey& key : keys)
        readIniKey(key, profile, place);
}

bool writeini(const QString& iniFile, const OptionsModel& model, const SettingsVariables& vars,
              Prompter& prompter, std::span<const IniKey> keys) {
    // Every key goes into the profile in memory and the file is replaced
    // once, atomically, at the end.
    ProfileFile profile = ProfileFile::load(iniFile);
    const IniSource source{model, vars};
    bool allWritten = true;
    auto write = [&](const IniKey& key) {
        const std::optional<QString> value = iniKeyValue(key, source);
        if (!value)
            return;
        const QString section = QString::fromLatin1(key.section);
        const QString name = QString::fromLatin1(key.name);
        if (key.onlyWhenChanged && *value == QLatin1String(key.defaultValue) &&
            !profile.contains(section, name))
            return;
        allWritten = profile.writeText(section, name, *value) && allWritten;
    };

    QVector<const IniKey*> always;
    for (const IniKey& key : keys) {
        if (key.save == IniSave::Always)
            always.append(&key);
    }
    std::stable_sort(always.begin(), always.end(), [](const IniKey* a, const IniKey* b) {
        return a->firstSaveRank < b->firstSaveRank;
    });
    for (const IniKey* key : always)
        write(*key);
    if (model.isChecked(ctl::chkSave)) {
        for (const IniKey& key : keys) {
            if (key.save == IniSave::WithPreferences)
                write(key);
        }
    }
    if (profile.save() && allWritten)
        return true;
    prompter.tell(QStringLiteral("Unable to save all the preferences"),
                  QStringLiteral("Save Preferences"), Icon::Critical);
    return false;
}

} // namespace morvane
