#include "settings/latexmlsettings.h"

#include "platform/pathutils.h"
#include "settings/latexmlchoice.h"
#include "settings/optionsmodel.h"
#include "settings/profilefile.h"

#include <QDir>

namespace morvane {

namespace {

constexpr const char* kSection = "LaTeXML";

QString stored(const IniKey& key, const ProfileFile& profile) {
    return profile.read(QLatin1String(key.section), QLatin1String(key.name),
                        QLatin1String(key.defaultValue));
}

const IniKey kKeys[] = {
    // The home folder is the root when none is stored, and is stored as
    // nothing: choosing it again leaves the file as it was.
    {.section = kSection,
     .name = "SaveTo",
     .save = IniSave::Always,
     .firstSaveRank = 18,
     .defaultValue = "",
     .read =
         [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
             place.vars.latexmlSaveTo = dropTrailingSeparator(stored(key, profile));
         },
     .write = [](const IniKey&, const IniSource& place) -> std::optional<QString> {
         const QString root = place.vars.latexmlSaveTo;
         if (root.isEmpty() || QDir::cleanPath(root) == QDir::cleanPath(QDir::homePath()))
             return QString();
         return root;
     },
     .onlyWhenChanged = true},
    {.section = kSection,
     .name = "Format",
     .save = IniSave::WithPreferences,
     .defaultValue = "html5",
     .read =
         [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
             place.model.setItems(ctl::cmbLatexmlFormat, latexmlFormatEntries());
             place.model.setIndex(ctl::cmbLatexmlFormat,
                                  int(latexmlFormatOf(stored(key, profile))));
         },
     .write = [](const IniKey&, const IniSource& place) -> std::optional<QString> {
         return latexmlFormatWord(latexmlFormatAt(place.model.index(ctl::cmbLatexmlFormat)));
     },
     .onlyWhenChanged = true},
    {.section = kSection,
     .name = "Split",
     .save = IniSave::WithPreferences,
     .defaultValue = "none",
     .read =
         [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
             place.model.setItems(ctl::cmbLatexmlSplit, latexmlSplitEntries());
             place.model.setIndex(ctl::cmbLatexmlSplit, int(latexmlSplitOf(stored(key, profile))));
         },
     .write = [](const IniKey&, const IniSource& place) -> std::optional<QString> {
         return latexmlSplitWord(latexmlSplitAt(place.model.index(ctl::cmbLatexmlSplit)));
     },
     .onlyWhenChanged = true},
    // Mathematics as MathML (the default) or as pictures.
    {.section = kSection,
     .name = "Math",
     .save = IniSave::WithPreferences,
     .defaultValue = "mathml",
     .read =
         [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
             const bool images = stored(key, profile).trimmed().toLower() == u"images";
             place.model.setIndex(ctl::optLatexmlMath, images ? 1 : 0);
         },
     .write = [](const IniKey&, const IniSource& place) -> std::optional<QString> {
         return place.model.index(ctl::optLatexmlMath) == 1 ? QStringLiteral("images")
                                                            : QStringLiteral("mathml");
     },
     .onlyWhenChanged = true},
    {.section = kSection,
     .name = "Bibliography",
     .save = IniSave::WithPreferences,
     .control = ctl::chkLatexmlBibliography,
     .defaultValue = "Yes",
     .onlyWhenChanged = true},
};

} // namespace

std::span<const IniKey> latexmlIniKeys() {
    return kKeys;
}

std::span<const LocationRow> latexmlLocationRows() {
    static const LocationRow rows[] = {
        {"L&aTeXML:",
         "Latexml",
         &SettingsVariables::latexml,
         "Select the LaTeXML directory containing latexmlc:",
         {QStringLiteral("latexmlc")},
         true},
    };
    return rows;
}

} // namespace morvane
