#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace morvane {

struct AppContext;

// What the save/delete dialog hands back: the name (empty when cancelled)
// and whether it becomes the start-up configuration.
struct ConfigNameChoice {
    QString name;
    bool makeStartup = false;
};
// Opens the save/delete dialog; an empty suggestion opens it in delete mode.
using InputConfigName = std::function<ConfigNameChoice(const QString& suggestion)>;

// "Save Co&nfiguration": stores the HeVeA tab's combination under a name,
// or deletes a configuration when nothing is in use.
void cmdSaveConfig_Click(AppContext& ctx, const InputConfigName& inputConfigName);

// "Load Confi&guration": false (after telling the user) when there are no
// style files to configure; the caller then opens no dialog.
bool canLoadConfig(AppContext& ctx);

// Applies the start-up configuration after the settings were loaded.
void LoadDefaultConfig(AppContext& ctx);

// The load dialog's OK: the style list rebuilt with `styles` on top, and
// the excluded file.
void applyConfiguration(AppContext& ctx, const QStringList& styles, const QString& excluded);

// The load dialog's keys: Del deletes a configuration (and the start-up
// mark with it), "*" makes one the start-up configuration. False when the
// file could not be written.
bool deleteConfiguration(AppContext& ctx, const QString& name, bool wasStartup);
void makeStartupConfiguration(AppContext& ctx, const QString& name);

} // namespace morvane
