#include "settings/latexmlsettings.h"

#include "platform/pathutils.h"
#include "settings/latexmlchoice.h"
#include "settings/optionsmodel.h"
#include "settings/profilefile.h"

#include <QDir>

namespace morvane {

namespace {

constexpr const char* kSection = "LaTeXML";

const IniKey kKeys[] = {
    homeDefaultRootKey(kSection, &SettingsVariables::latexmlSaveTo, 18),
    {.section = kSection,
     .name = "Format",
     .save = IniSave::WithPreferences,
     .defaultValue = "html5",
     .read =
         [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
             place.model.setItems(ctl::cmbLatexmlFormat, latexmlFormatEntries());
             place.model.setIndex(ctl::cmbLatexmlFormat,
                                  int(latexmlFormatOf(storedValue(key, profile))));
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
             place.model.setIndex(ctl::cmbLatexmlSplit,
                                  int(latexmlSplitOf(storedValue(key, profile))));
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
             const bool images = storedValue(key, profile).trimmed().toLower() == u"images";
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
