#include "app/configcommands.h"

#include "app/inicommands.h"
#include "pipeline/appcontext.h"
#include "platform/prompter.h"
#include "settings/controlnames.h"
#include "settings/heveaconfigs.h"
#include "settings/hevealibrary.h"
#include "settings/iniencoding.h"
#include "settings/profilefile.h"

namespace morvane {

namespace {

const QString kConfigs = QStringLiteral("HeveaConfigs");
const QString kHevea = QStringLiteral("Hevea");
const QString kDefaultConfig = QStringLiteral("DefaultConfig");

QString S(const char* text) {
    return QString::fromLatin1(text);
}

bool askReplace(AppContext& ctx, const QString& name) {
    return ctx.seams.prompter->ask(S("The name ") + name + S(" already exists. ") +
                                       QLatin1Char('\n') + QLatin1Char(' ') + QLatin1Char('\n') +
                                       S(" Replace existing configuration?"),
                                   S("Save Confiuration"), Buttons::YesNo, Icon::Exclamation,
                                   Answer::No) == Answer::Yes;
}

} // namespace

void cmdSaveConfig_Click(AppContext& ctx, const InputConfigName& inputConfigName) {
    OptionsModel& model = *ctx.model;
    const QString ini = iniPath(ctx);
    const QStringList names = readProfileKeys(ini, kConfigs);
    const QStringList styleList = model.items(ctl::List1);
    const QString excluded = model.text(ctl::txtExclude);
    const bool deleteMode = isEmptyCombination(styleList, excluded);
    const QString suggestion = deleteMode ? QString() : suggestedConfigName(names);

    ConfigNameChoice choice;
    for (;;) {
        choice = inputConfigName(suggestion);
        // Blanks around a name would not survive the INI file.
        choice.name = choice.name.trimmed();
        if (choice.name.isEmpty())
            return;
        if (deleteMode || !names.contains(choice.name, Qt::CaseInsensitive) ||
            askReplace(ctx, choice.name))
            break;
    }

    bool written = false;
    if (deleteMode) {
        written = deleteProfileKey(ini, kConfigs, choice.name);
    } else {
        const QString type = outputTypeWord(model.index(ctl::optOutput));
        written =
            writeProfileString(ini, kConfigs, choice.name, configValue(styleList, excluded, type));
    }
    if (!written)
        ctx.seams.prompter->tell(S("Unable to save configuration"), S("Save Preferences"),
                                 Icon::Critical);
    if (choice.makeStartup) {
        const QString startup = deleteMode ? QString() : choice.name;
        writeProfileString(ini, kHevea, kDefaultConfig, startup);
        ctx.settings.vars.defaultConfig = startup;
    }
}

bool canLoadConfig(AppContext& ctx) {
    if (!ctx.model->items(ctl::File1).isEmpty())
        return true;
    ctx.seams.prompter->tell(S("No HeVeA style files found"), S("Load Configuration"),
                             Icon::Critical);
    return false;
}

void LoadDefaultConfig(AppContext& ctx) {
    OptionsModel& model = *ctx.model;
    if (model.items(ctl::File1).isEmpty())
        return;
    const QString ini = iniPath(ctx);
    ctx.settings.vars.defaultConfig = readProfileString(ini, kHevea, S("Defaultconfig"), QString());
    if (ctx.settings.vars.defaultConfig.isEmpty())
        return;
    const QString value =
        readProfileString(ini, kConfigs, ctx.settings.vars.defaultConfig, QString());
    if (value.isEmpty())
        return;
    model.setText(ctl::txtExclude, QString());
    const std::optional<HeveaConfig> config = parseConfigValue(value);
    if (!config)
        return;
    // The output type first: choosing it fills the style list of its kind.
    const int output = outputIndexOfType(config->type);
    if (output >= 0)
        model.setIndex(ctl::optOutput, output);
    model.setText(ctl::txtExclude, config->excluded);
    model.setItems(ctl::List1, withStylesOnTop(model.items(ctl::List1), config->styles));
}

void applyConfiguration(AppContext& ctx, const QStringList& styles, const QString& excluded) {
    OptionsModel& model = *ctx.model;
    // Styles of an earlier configuration fall back below the separator.
    const QStringList rebuilt = styleListFrom(model.items(ctl::File1));
    model.setText(ctl::txtExclude, QString());
    model.setItems(ctl::List1, withStylesOnTop(rebuilt, styles));
    model.setText(ctl::txtExclude, excluded);
}

bool deleteConfiguration(AppContext& ctx, const QString& name, bool wasStartup) {
    const QString ini = iniPath(ctx);
    const bool deleted = deleteProfileKey(ini, kConfigs, name);
    if (!deleted)
        ctx.seams.prompter->tell(S("Unable to delete configuration"), S("Save Preferences"),
                                 Icon::Critical);
    if (wasStartup) {
        deleteProfileKey(ini, kHevea, kDefaultConfig);
        ctx.settings.vars.defaultConfig.clear();
    }
    return deleted;
}

void makeStartupConfiguration(AppContext& ctx, const QString& name) {
    writeProfileString(iniPath(ctx), kHevea, kDefaultConfig, name);
    ctx.settings.vars.defaultConfig = name;
}

} // namespace morvane
