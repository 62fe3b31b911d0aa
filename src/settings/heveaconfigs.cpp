#include "settings/heveaconfigs.h"

#include "settings/iniencoding.h"
#include "settings/profilefile.h"

namespace morvane {

namespace {

constexpr int kMaxStoredStyles = 6;
const QString kExcludeSwitch = QStringLiteral("-e");

QString separator() {
    return QString(26, QLatin1Char('-'));
}

} // namespace

std::optional<HeveaConfig> parseConfigValue(const QString& value) {
    const qsizetype comma = value.lastIndexOf(QLatin1Char(','));
    if (comma < 0)
        return std::nullopt;
    HeveaConfig config;
    config.type = value.mid(comma + 1);
    const QString styles = value.left(comma);
    qsizetype at = 0;
    while (at < styles.size()) {
        const QString rest = styles.mid(at);
        if (rest == kExcludeSwitch || rest.startsWith(kExcludeSwitch + QLatin1Char(' '))) {
            config.excluded = rest.mid(3);
            break;
        }
        qsizetype blank = styles.indexOf(QLatin1Char(' '), at);
        if (blank < 0)
            blank = styles.size();
        // Two blanks in a row make no empty style name.
        if (blank > at)
            config.styles.append(styles.mid(at, blank - at));
        at = blank + 1;
    }
    return config;
}

QString configValue(const QStringList& styleList, const QString& excluded, const QString& type) {
    QString value;
    for (int i = 0; i < kMaxStoredStyles && i < styleList.size(); ++i) {
        if (styleList[i] == separator())
            break;
        value += styleList[i] + QLatin1Char(' ');
    }
    if (!excluded.isEmpty())
        value += kExcludeSwitch + QLatin1Char(' ') + excluded;
    return value.trimmed() + QLatin1Char(',') + type;
}

bool isEmptyCombination(const QStringList& styleList, const QString& excluded) {
    return excluded.isEmpty() && (styleList.isEmpty() || styleList.first() == separator());
}

QString suggestedConfigName(const QStringList& names) {
    for (int number = 1;; ++number) {
        const QString name = QStringLiteral("Config") + QString::number(number);
        if (!names.contains(name, Qt::CaseInsensitive))
            return name;
    }
}

QStringList withStylesOnTop(QStringList styleList, const QStringList& names) {
    for (int i = 0; i < names.size(); ++i) {
        styleList.removeAll(names[i]);
        styleList.insert(qMin(qsizetype(i), styleList.size()), names[i]);
    }
    return styleList;
}

QString outputTypeCaption(int index) {
    static const char* const captions[] = {"HTML", "Text", "Info"};
    return index >= 0 && index < 3 ? QString::fromLatin1(captions[index]) : QString();
}

int outputIndexOfType(const QString& word) {
    for (int i = 0; i < 3; ++i) {
        if (word == outputTypeWord(i))
            return i;
    }
    return -1;
}

bool sameConfigName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QList<ConfigEntry> configEntries(const QString& iniFile, const QString& type,
                                 const QString& startupName) {
    const ProfileFile profile = ProfileFile::load(iniFile);
    const QString section = QStringLiteral("HeveaConfigs");
    QList<ConfigEntry> entries;
    for (const QString& name : profile.keys(section)) {
        const QString value = profile.read(section, name, QString());
        const std::optional<HeveaConfig> config = parseConfigValue(value);
        if (!config || config->type != type)
            continue;
        entries.append({name, value, !startupName.isEmpty() && sameConfigName(name, startupName)});
    }
    return entries;
}

QString shownName(const ConfigEntry& entry) {
    return entry.startup ? entry.name + QStringLiteral(" *") : entry.name;
}

} // namespace morvane
