#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace morvane {

// A named HeVeA configuration as Morvane.ini holds it in [HeveaConfigs]:
// the styles in use, in order, each followed by a blank, then "-e " and the
// excluded file if there is one, then a comma and the output type word
// ("a.hva b.hva -e x.tex,html").
struct HeveaConfig {
    QStringList styles;
    QString excluded;
    QString type; // "html", "text" or "info" for a value the program wrote
};

// The value split at its last comma (style and file names may hold commas
// themselves); nothing when the value has no comma.
std::optional<HeveaConfig> parseConfigValue(const QString& value);

// The value for the styles above the separator of `styleList` (at most the
// first six entries), the excluded file and the type word.
QString configValue(const QStringList& styleList, const QString& excluded, const QString& type);

// Nothing is in use: no style above the separator (or no list at all) and
// no excluded file. Saving such a combination deletes a configuration.
bool isEmptyCombination(const QStringList& styleList, const QString& excluded);

// "Config" and the smallest number from 1 on that no name uses (letter case
// ignored).
QString suggestedConfigName(const QStringList& names);

// Puts `names` at the top of the style list in their order, each name once:
// earlier entries of the same name are removed, a name not in the list is
// inserted all the same.
QStringList withStylesOnTop(QStringList styleList, const QStringList& names);

// The caption word of option optOutput(index) ("HTML", "Text", "Info"; the
// value's word is outputTypeWord of iniencoding.h). Empty out of range.
QString outputTypeCaption(int index);
// The optOutput index of a type word, or -1.
int outputIndexOfType(const QString& word);

// A configuration as the dialogs list it.
struct ConfigEntry {
    QString name;
    QString value;
    bool startup = false; // the start-up configuration, shown with " *"
};
// The configurations of [HeveaConfigs] of one output type, in file order.
QList<ConfigEntry> configEntries(const QString& iniFile, const QString& type,
                                 const QString& startupName);
// The shown form of an entry: the name, with " *" for the start-up one.
QString shownName(const ConfigEntry& entry);

// Names of configurations are compared without regard to letter case.
bool sameConfigName(const QString& a, const QString& b);

} // namespace morvane
