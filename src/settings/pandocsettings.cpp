#include "settings/pandocsettings.h"

#include "settings/optionsmodel.h"
#include "settings/profilefile.h"

#include <QDir>

namespace morvane {

namespace {

struct FormatEntry {
    const char* word;
    const char* caption;
    const char* extension;
};

constexpr FormatEntry kFormats[] = {
    {"html5", "Web page (HTML5 with MathML)", ".html"},
    {"epub3", "E-book (EPUB 3)", ".epub"},
    {"docx", "Word document (DOCX)", ".docx"},
    {"odt", "OpenDocument text (ODT)", ".odt"},
};

const FormatEntry& entryOf(PandocFormat format) {
    return kFormats[int(format)];
}

constexpr const char* kSection = "Pandoc";

constexpr IniKey checkKey(const char* name, ctl::Control box, const char* defaultValue) {
    return {.section = kSection,
            .name = name,
            .save = IniSave::WithPreferences,
            .control = box,
            .defaultValue = defaultValue,
            .onlyWhenChanged = true};
}

const IniKey kKeys[] = {
    homeDefaultRootKey(kSection, &SettingsVariables::pandocSaveTo, 19),
    {.section = kSection,
     .name = "Format",
     .save = IniSave::WithPreferences,
     .defaultValue = "html5",
     .read =
         [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
             place.model.setIndex(ctl::cmbPandocFormat,
                                  int(pandocFormatOf(storedValue(key, profile))));
         },
     .write = [](const IniKey&, const IniSource& place) -> std::optional<QString> {
         return pandocFormatWord(pandocFormatAt(place.model.index(ctl::cmbPandocFormat)));
     },
     .onlyWhenChanged = true},
    checkKey("Standalone", ctl::chkPandocStandalone, "Yes"),
    checkKey("TableOfContents", ctl::chkPandocToc, "No"),
    checkKey("NumberSections", ctl::chkPandocNumber, "No"),
    checkKey("Citations", ctl::chkPandocCiteproc, "Yes"),
    {.section = kSection,
     .name = "CitationStyle",
     .save = IniSave::WithPreferences,
     .defaultValue = "",
     .read =
         [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
             place.model.setText(ctl::txtPandocCsl, storedValue(key, profile));
         },
     .write = [](const IniKey&, const IniSource& place) -> std::optional<QString> {
         return place.model.text(ctl::txtPandocCsl);
     },
     .onlyWhenChanged = true},
};

} // namespace

QStringList pandocFormatEntries() {
    QStringList entries;
    for (const FormatEntry& entry : kFormats)
        entries.append(QString::fromLatin1(entry.caption));
    return entries;
}

QString pandocFormatWord(PandocFormat format) {
    return QString::fromLatin1(entryOf(format).word);
}

PandocFormat pandocFormatOf(const QString& word) {
    for (int i = 0; i < int(std::size(kFormats)); ++i) {
        if (word.trimmed().compare(QLatin1String(kFormats[i].word), Qt::CaseInsensitive) == 0)
            return PandocFormat(i);
    }
    return PandocFormat::Html5;
}

PandocFormat pandocFormatAt(int index) {
    return index >= 0 && index < int(std::size(kFormats)) ? PandocFormat(index)
                                                          : PandocFormat::Html5;
}

QString pandocExtension(PandocFormat format) {
    return QString::fromLatin1(entryOf(format).extension);
}

std::span<const IniKey> pandocIniKeys() {
    return kKeys;
}

std::span<const LocationRow> pandocLocationRows() {
    static const LocationRow rows[] = {
        {"Pan&doc:",
         "Pandoc",
         &SettingsVariables::pandoc,
         "Select the directory containing pandoc:",
         {QStringLiteral("pandoc")},
         true},
    };
    return rows;
}

} // namespace morvane
