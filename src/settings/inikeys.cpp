#include "settings/inikeys.h"

#include "platform/pathutils.h"
#include "settings/helplinks.h"
#include "settings/iniencoding.h"
#include "settings/inisync.h"
#include "settings/limitsettings.h"
#include "settings/make4htchoice.h"
#include "settings/optionsmodel.h"
#include "settings/profilefile.h"

#include <QDir>

namespace morvane {

namespace {

using SV = SettingsVariables;
using Save = IniSave;

QString L(const char* text) {
    return QString::fromLatin1(text);
}

QString valueOf(const IniKey& key, const ProfileFile& profile, const QString& defaultValue) {
    return profile.read(L(key.section), L(key.name), defaultValue);
}
QString valueOf(const IniKey& key, const ProfileFile& profile) {
    return valueOf(key, profile, L(key.defaultValue));
}
QString pathOf(const IniKey& key, const ProfileFile& profile, const QString& defaultValue) {
    return dropTrailingSeparator(valueOf(key, profile, defaultValue));
}
bool yesOf(const IniKey& key, const ProfileFile& profile) {
    return yesFlag(valueOf(key, profile));
}

QString trueFalse(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QStringList tex4htArgs(const OptionsModel& model) {
    QStringList args = model.items(ctl::tex4htArgs);
    while (args.size() < 6)
        args.append(QString());
    return args;
}

// A combo that offers fixed entries plus the stored text when that is none
// of them. The entries are set afresh, so a reload never piles up copies of
// the stored text.
void setTextCombo(OptionsModel& model, ctl::Control control, QStringList entries,
                  const QString& selected) {
    if (!entries.contains(selected))
        entries.append(selected);
    model.setItems(control, entries);
    model.setText(control, selected);
}

// Rows of the table. `rank` places a key among those saved at every exit.

constexpr IniKey check(const char* section, const char* name, ctl::Control control, Save save,
                       int rank = 0, const char* defaultValue = "No") {
    return {.section = section,
            .name = name,
            .save = save,
            .firstSaveRank = rank,
            .control = control,
            .defaultValue = defaultValue};
}

constexpr IniKey path(const char* section, const char* name, QString SV::*member,
                      Save save = Save::Never, int rank = 0, const char* defaultValue = "") {
    return {.section = section,
            .name = name,
            .save = save,
            .firstSaveRank = rank,
            .defaultValue = defaultValue,
            .text = member};
}

constexpr IniKey trueFalseKey(const char* section, const char* name, bool SV::*member, Save save,
                              int rank = 0) {
    return {.section = section,
            .name = name,
            .save = save,
            .firstSaveRank = rank,
            .defaultValue = "False",
            .flag = member};
}

constexpr IniKey custom(const char* section, const char* name, Save save, IniRead read,
                        IniWrite write, int rank = 0, const char* defaultValue = "No") {
    return {.section = section,
            .name = name,
            .save = save,
            .firstSaveRank = rank,
            .defaultValue = defaultValue,
            .read = read,
            .write = write};
}

// A list-index key: the combo's selection, stored as its number.
template <int Entries>
constexpr IniKey listIndex(const char* section, const char* name, ctl::Control control) {
    return {.section = section,
            .name = name,
            .save = Save::WithPreferences,
            .control = control,
            .defaultValue = "0",
            .read =
                [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
                    place.model.setIndex(key.control,
                                         listIndexValue(valueOf(key, profile), Entries));
                },
            .write = [](const IniKey& key, const IniSource& place) -> std::optional<QString> {
                return QString::number(place.model.index(key.control));
            }};
}

constexpr const char* kPaths = "Paths";
constexpr const char* kPreferences = "Preferences";
constexpr const char* kHevea = "Hevea";
constexpr const char* kTth = "Tth";
constexpr const char* kTexify = "Texify";
constexpr const char* kTex4ht = "TeX4ht";
constexpr const char* kL2h = "LaTeX2HTML";
constexpr const char* kLinks = "Links";
constexpr const char* kUpdate = "Update";

const IniKey kOwnKeys[] = {
    // Program locations: the CD-ROM volume here, the folders with the rows of
    // Program Locations (written by that dialog); the editors at every exit.
    custom(
        kPaths, "CD-ROM", Save::Never,
        [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
            place.vars.cdRom = valueOf(key, profile);
        },
        nullptr, 0, ""),
    path(kPaths, "Editor", &SV::editor, Save::Always, 6),
    path(kPaths, "TeXEditor", &SV::texEditor, Save::Always, 7),

    check(kPreferences, "SavePrefs", ctl::chkSave, Save::Always, 3),
    check(kPreferences, "RunHTML", ctl::chkIE, Save::WithPreferences),
    custom(
        kPreferences, "Showinownbrowser", Save::WithPreferences,
        [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
            place.model.setIndex(ctl::optIE, yesOf(key, profile) ? 1 : 0);
        },
        [](const IniKey&, const IniSource& place) -> std::optional<QString> {
            return YesNo(place.model.index(ctl::optIE) == 1);
        }),
    check(kPreferences, "Close", ctl::chkClose, Save::WithPreferences),
    custom(
        kPreferences, "StartupTab", Save::WithPreferences,
        [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
            // The route count is the route table's: the start-up takes the
            // remainder.
            place.vars.startupTab = numberValue(valueOf(key, profile));
            place.model.setIndex(ctl::cmbTabs, place.vars.startupTab);
        },
        [](const IniKey&, const IniSource& place) -> std::optional<QString> {
            return QString::number(place.model.index(ctl::cmbTabs));
        }),
    check(kPreferences, "Warning", ctl::chkWarning, Save::WithPreferences),
    check(kPreferences, "BrowserPos", ctl::chkSettings, Save::Always, 1),
    custom(
        kPreferences, "AllowMultiProcess", Save::WithPreferences,
        [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
            // The box's change reaction stays silent while its tag says so.
            const ctl::Control box = ctl::chkMulti;
            place.model.setTag(box, QStringLiteral("no message"));
            place.model.setCheckValue(box, yesOf(key, profile) ? 1 : 0);
            place.model.setTag(box, QString());
        },
        [](const IniKey&, const IniSource& place) -> std::optional<QString> {
            return YesNo(place.model.checkValue(ctl::chkMulti));
        }),
    custom(
        kPreferences, "FirstTime", Save::Never,
        [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
            place.vars.firstTime = yesOf(key, profile);
        },
        nullptr),
    custom(
        kPreferences, "ScrollPercent", Save::Always,
        [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
            place.vars.scrollFraction = scrollFractionValue(valueOf(key, profile));
        },
        [](const IniKey&, const IniSource& place) -> std::optional<QString> {
            return QString::number(scrollPercentValue(place.vars.scrollFraction));
        },
        8, "1"),
    trueFalseKey(kPreferences, "LowRes", &SV::lowRes, Save::Always, 9),
    trueFalseKey(kPreferences, "LongFileName", &SV::longFileName, Save::Always, 10),
    trueFalseKey(kPreferences, "AllowNonTeXFiles", &SV::allowNonTeXFiles, Save::Always, 11),
    // The limits of a converter run, written only once the user has set them:
    // files of users who never did stay as they were, and the memory limit
    // keeps following the machine's memory.
    custom(
        kPreferences, "TimeLimitMinutes", Save::Always,
        [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
            place.vars.timeLimitSeconds = storedLimitValue(valueOf(key, profile)) * 60;
        },
        [](const IniKey&, const IniSource& place) -> std::optional<QString> {
            if (place.vars.timeLimitSeconds <= 0)
                return std::nullopt;
            return QString::number((place.vars.timeLimitSeconds + 59) / 60);
        },
        16, ""),
    custom(
        kPreferences, "MemoryLimitMB", Save::Always,
        [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
            place.vars.memoryLimitMB = storedLimitValue(valueOf(key, profile));
        },
        [](const IniKey&, const IniSource& place) -> std::optional<QString> {
            if (place.vars.memoryLimitMB <= 0)
                return std::nullopt;
            return QString::number(place.vars.memoryLimitMB);
        },
        17, ""),
    // The main window's changed links (key link(entry,0) each), written by
    // the link editing itself.
    custom(
        kLinks, "link(i,0)", Save::Never,
        [](const IniKey&, const ProfileFile& profile, IniPlace& place) {
            Readlinks(profile, kMainWindowLinks, place.model);
        },
        nullptr),
};

const IniKey kHeveaKeys[] = {
    check(kHevea, "IncludeStyle", ctl::chkStyle, Save::WithPreferences),
    custom(
        kHevea, "OutputType", Save::WithPreferences,
        [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
            static const char* const words[] = {"html", "text", "info"};
            static const char* const extensions[] = {"html", "txt", "info"};
            const QString type = valueOf(key, profile).toLower();
            for (int i = 0; i < 3; ++i) {
                if (type == L(words[i])) {
                    place.model.setIndex(ctl::optOutput, i);
                    place.vars.heveaOutputExtension = L(extensions[i]);
                }
            }
        },
        [](const IniKey&, const IniSource& place) -> std::optional<QString> {
            return outputTypeWord(place.model.index(ctl::optOutput));
        }),
    path(kHevea, "DefaultConfig", &SV::defaultConfig, Save::Never, 0, "No"),
    check(kHevea, "Version1.05OrLater", ctl::chkVersion, Save::Always, 2),
    check(kHevea, "French", ctl::chkFrench, Save::WithPreferences),
    check(kHevea, "Fix", ctl::chkFix, Save::WithPreferences),
    check(kHevea, "Hacha", ctl::chkHacha, Save::WithPreferences),
    check(kHevea, "PrepareReferences", ctl::chkPrepareHevea, Save::Always, 12, "Yes"),
    custom(
        kHevea, "Verbose", Save::WithPreferences,
        [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
            const QString verbose = valueOf(key, profile).toLower();
            const ctl::Control combo = ctl::cmbHeveaVerbose;
            place.model.setItems(combo, heveaVerboseEntries());
            place.model.setIndex(combo, verbose == QStringLiteral("single")   ? 1
                                        : verbose == QStringLiteral("double") ? 2
                                                                              : 0);
        },
        [](const IniKey&, const IniSource& place) -> std::optional<QString> {
            const QStringList verbose = heveaVerboseEntries();
            const int level = place.model.index(ctl::cmbHeveaVerbose);
            return level >= 0 && level < verbose.size() ? verbose.at(level) : verbose.first();
        }),
    custom(
        kHevea, "Code", Save::WithPreferences,
        [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
            place.model.setIndex(ctl::optCode,
                                 valueOf(key, profile) == QStringLiteral("Native") ? 1 : 0);
        },
        [](const IniKey&, const IniSource& place) -> std::optional<QString> {
            return place.model.index(ctl::optCode) == 1 ? QStringLiteral("Native")
                                                        : QStringLiteral("Byte");
        }),
    check(kHevea, "Esponja", ctl::chkEsponja, Save::WithPreferences),
};

const IniKey kTthKeys[] = {
    check(kTth, "Italics", ctl::chkItalics, Save::WithPreferences),
    check(kTth, "NumberMulti", ctl::chkNumber, Save::WithPreferences),
    check(kTth, "Inline", ctl::chkInline, Save::WithPreferences),
    check(kTth, "Revise", ctl::chkRevise, Save::WithPreferences),
    check(kTth, "PrepareReferences", ctl::chkPrepareTth, Save::Always, 13, "Yes"),
};

const IniKey kTexifyKeys[] = {
    check(kTexify, "UseDVI", ctl::chkTexify(0), Save::WithPreferences),
    check(kTexify, "ReportDVI", ctl::chkReport(0), Save::WithPreferences),
    check(kTexify, "UsePDF", ctl::chkTexify(1), Save::WithPreferences),
    check(kTexify, "ReportPDF", ctl::chkReport(1), Save::WithPreferences),
    check(kTexify, "SWPGS", ctl::chkSWPGS, Save::WithPreferences),
    listIndex<5>(kTexify, "Passes", ctl::cmbpdfPasses),
};

const IniKey kTex4htKeys[] = {
    check(kTex4ht, "SWP", ctl::chkSWP, Save::WithPreferences),
    custom(
        kTex4ht, "SaveTo", Save::Always,
        [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
            // The TeX4ht directory is where the tex4ht program lives
            // (/usr/bin), no place for documents: without a stored root the
            // home folder is used.
            place.vars.tex4htSaveTo = pathOf(key, profile, QDir::homePath());
        },
        [](const IniKey&, const IniSource& place) -> std::optional<QString> {
            return place.vars.tex4htSaveTo;
        },
        4),
    check(kTex4ht, "ImagesSubDir", ctl::chkImages, Save::WithPreferences),
    custom(
        kTex4ht, "SubDir", Save::WithPreferences,
        [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
            place.model.setText(ctl::txtImages, valueOf(key, profile));
        },
        [](const IniKey&, const IniSource& place) -> std::optional<QString> {
            return place.model.text(ctl::txtImages);
        },
        0, ""),
    check(kTex4ht, "Htrun", ctl::chkHtrun, Save::WithPreferences, 0, ""),
    custom(
        kTex4ht, "Cmdline", Save::WithPreferences,
        [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
            QStringList args = tex4htArgs(place.model);
            splitCmdline(valueOf(key, profile), args);
            place.model.setItems(ctl::tex4htArgs, args);
        },
        [](const IniKey&, const IniSource& place) -> std::optional<QString> {
            if (!place.vars.advancedSave)
                return std::nullopt;
            return joinCmdline(tex4htArgs(place.model));
        },
        0, ""),
    custom(
        kTex4ht, "Usepackage", Save::WithPreferences,
        [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
            place.model.setTag(ctl::txt3, valueOf(key, profile));
        },
        [](const IniKey&, const IniSource& place) -> std::optional<QString> {
            return place.model.tag(ctl::txt3);
        },
        0, ""),
    custom(
        kTex4ht, "Htruncommand", Save::WithPreferences,
        [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
            QStringList args = tex4htArgs(place.model);
            splitHtruncommand(valueOf(key, profile), args);
            place.model.setItems(ctl::tex4htArgs, args);
        },
        [](const IniKey&, const IniSource& place) -> std::optional<QString> {
            if (!place.vars.advancedSave)
                return std::nullopt;
            return joinHtruncommand(tex4htArgs(place.model));
        },
        0, ""),
    listIndex<4>(kTex4ht, "SWPpasses", ctl::cmbPasses),
    // make4ht beside htlatex: ticked or not, its format and its LaTeX, as words.
    check(kTex4ht, "Make4ht", ctl::chkMake4ht, Save::WithPreferences),
    custom(
        kTex4ht, "Make4htFormat", Save::WithPreferences,
        [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
            place.model.setIndex(ctl::cmbMake4htFormat,
                                 int(make4htFormatOf(valueOf(key, profile))));
        },
        [](const IniKey&, const IniSource& place) -> std::optional<QString> {
            return make4htFormatWord(make4htFormatAt(place.model.index(ctl::cmbMake4htFormat)));
        },
        0, "html5"),
    custom(
        kTex4ht, "Make4htEngine", Save::WithPreferences,
        [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
            place.model.setIndex(ctl::cmbMake4htEngine,
                                 int(make4htEngineOf(valueOf(key, profile))));
        },
        [](const IniKey&, const IniSource& place) -> std::optional<QString> {
            return make4htEngineWord(make4htEngineAt(place.model.index(ctl::cmbMake4htEngine)));
        },
        0, "latex"),
    check(kTex4ht, "DOSPause", ctl::chkTex4htPause, Save::WithPreferences, 0, "0"),
    check(kTex4ht, "PrepareReferences", ctl::chkPrepareTex4ht, Save::Always, 14, "Yes"),
    custom(
        kTex4ht, "Ver2.5", Save::WithPreferences,
        [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
            place.vars.upgradeNoticeShown = yesOf(key, profile);
        },
        [](const IniKey&, const IniSource&) -> std::optional<QString> { return YesNo(true); }, 0,
        "0"),
    custom(
        kTex4ht, "AdvancedSave", Save::WithPreferences,
        [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
            place.vars.advancedSave = advancedSaveFlag(valueOf(key, profile));
        },
        [](const IniKey&, const IniSource& place) -> std::optional<QString> {
            return trueFalse(place.vars.advancedSave);
        },
        0, "0"),
    trueFalseKey(kTex4ht, "CheckForUsePackage", &SV::checkForUsePackage, Save::WithPreferences),
};

const IniKey kL2hKeys[] = {
    custom(
        kL2h, "SaveTo", Save::Always,
        [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
            place.vars.l2hSaveTo = pathOf(key, profile, place.vars.l2hSaveTo);
        },
        [](const IniKey&, const IniSource& place) -> std::optional<QString> {
            return place.vars.l2hSaveTo;
        },
        5),
    check(kL2h, "Anti-Virus", ctl::chkAntiVirus, Save::WithPreferences),
    check(kL2h, "PrepareReferences", ctl::chkPrepareL2h, Save::Always, 15, "Yes"),
    custom(
        kL2h, "ImageType", Save::WithPreferences,
        [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
            const QString type = valueOf(key, profile).toUpper();
            place.model.setIndex(ctl::optGifPng, type == QStringLiteral("PNG")   ? 1
                                                 : type == QStringLiteral("SVG") ? 2
                                                                                 : 0);
        },
        [](const IniKey&, const IniSource& place) -> std::optional<QString> {
            static const char* const words[] = {"GIF", "PNG", "SVG"};
            const int type = place.model.index(ctl::optGifPng);
            return QLatin1String(words[type >= 0 && type < 3 ? type : 1]);
        }),
    check(kL2h, "ImageSubDir", ctl::chkImageDir, Save::WithPreferences),
    check(kL2h, "NavLinks", ctl::chkNavigation, Save::WithPreferences),
    // A missing key selects "Default": a stored "No" would otherwise be
    // handed to LaTeX2HTML as the text of the address, about page or title.
    custom(
        kL2h, "Author", Save::WithPreferences,
        [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
            setTextCombo(place.model, ctl::cmbAddress, {QStringLiteral("Default")},
                         pathOf(key, profile, QStringLiteral("Default")));
        },
        [](const IniKey&, const IniSource& place) -> std::optional<QString> {
            return place.model.text(ctl::cmbAddress);
        }),
    custom(
        kL2h, "About", Save::WithPreferences,
        [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
            const QString about = pathOf(key, profile, QStringLiteral("Default"));
            setTextCombo(place.model, ctl::cmbAbout,
                         {QStringLiteral("Default"), QStringLiteral("None")},
                         about.isEmpty() ? QStringLiteral("None") : about);
        },
        [](const IniKey&, const IniSource& place) -> std::optional<QString> {
            return place.model.text(ctl::cmbAbout);
        }),
    custom(
        kL2h, "Title", Save::WithPreferences,
        [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
            const QString title = pathOf(key, profile, QStringLiteral("Default"));
            setTextCombo(place.model, ctl::cmbTitle, {QStringLiteral("Default")},
                         title.isEmpty() ? QStringLiteral("Default") : title);
        },
        [](const IniKey&, const IniSource& place) -> std::optional<QString> {
            return place.model.text(ctl::cmbTitle);
        }),
    // Two flags of the LaTeX2HTML tab kept in the tags of their controls.
    custom(
        kL2h, "CheckSyntax", Save::WithPreferences,
        [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
            place.model.setTag(ctl::cmdInit,
                               yesOf(key, profile) ? QStringLiteral("1") : QStringLiteral("0"));
        },
        [](const IniKey&, const IniSource& place) -> std::optional<QString> {
            return YesNo(place.model.tag(ctl::cmdInit).toInt());
        }),
    custom(
        kL2h, "DOSPause", Save::WithPreferences,
        [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
            place.model.setTag(ctl::Label25,
                               yesOf(key, profile) ? QStringLiteral("1") : QStringLiteral("0"));
        },
        [](const IniKey&, const IniSource& place) -> std::optional<QString> {
            return YesNo(place.model.tag(ctl::Label25).toInt());
        }),
    listIndex<10>(kL2h, "Split", ctl::cmbSplit),
    listIndex<10>(kL2h, "Verbosity", ctl::cmbVerbosity),
};

const IniKey kTrailingKeys[] = {
    // The update check's site: set by hand, never written by the program.
    path(kUpdate, "Site", &SV::updateSite, Save::Never, 0, "https://morvane.example.org"),
};

} // namespace

std::span<const IniKey> ownIniKeys() {
    return kOwnKeys;
}

std::span<const IniKey> trailingIniKeys() {
    return kTrailingKeys;
}

std::span<const IniKey> heveaIniKeys() {
    return kHeveaKeys;
}

std::span<const IniKey> tthIniKeys() {
    return kTthKeys;
}

std::span<const IniKey> texifyIniKeys() {
    return kTexifyKeys;
}

std::span<const IniKey> tex4htIniKeys() {
    return kTex4htKeys;
}

std::span<const IniKey> l2hIniKeys() {
    return kL2hKeys;
}

QString storedValue(const IniKey& key, const ProfileFile& profile) {
    return valueOf(key, profile);
}

IniKey homeDefaultRootKey(const char* section, QString SettingsVariables::*root, int rank) {
    return {.section = section,
            .name = "SaveTo",
            .save = Save::Always,
            .firstSaveRank = rank,
            .defaultValue = "",
            .text = root,
            .read =
                [](const IniKey& key, const ProfileFile& profile, IniPlace& place) {
                    const QString stored = dropTrailingSeparator(valueOf(key, profile));
                    place.vars.*key.text = stored.isEmpty() ? QDir::homePath() : stored;
                },
            .write = [](const IniKey& key, const IniSource& place) -> std::optional<QString> {
                const QString& value = place.vars.*key.text;
                if (value.isEmpty() || QDir::cleanPath(value) == QDir::cleanPath(QDir::homePath()))
                    return QString();
                return value;
            },
            .onlyWhenChanged = true};
}

IniKey locationIniKey(const char* name, QString SettingsVariables::*setting) {
    return path(kPaths, name, setting);
}

void readIniKey(const IniKey& key, const ProfileFile& profile, IniPlace& place) {
    if (key.read) {
        key.read(key, profile, place);
    } else if (key.control) {
        place.model.setCheckValue(key.control, yesOf(key, profile) ? 1 : 0);
    } else if (key.text) {
        place.vars.*key.text = pathOf(key, profile, L(key.defaultValue));
    } else if (key.flag) {
        place.vars.*key.flag = trueFlag(valueOf(key, profile));
    }
}

std::optional<QString> iniKeyValue(const IniKey& key, const IniSource& place) {
    if (key.save == IniSave::Never)
        return std::nullopt;
    if (key.write)
        return key.write(key, place);
    if (key.control)
        return YesNo(place.model.checkValue(key.control));
    if (key.text)
        return place.vars.*key.text;
    if (key.flag)
        return trueFalse(place.vars.*key.flag);
    return std::nullopt;
}

} // namespace morvane
