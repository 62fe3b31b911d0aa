#include "app/inicommands.h"

#include "drivers/hevea.h"
#include "pipeline/appcontext.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "settings/controlnames.h"
#include "settings/hevealibrary.h"
#include "settings/inisync.h"

namespace morvane {

QString iniPath(const AppContext& ctx) {
    return ctx.programDir + QStringLiteral("/Morvane.ini");
}

void readini(AppContext& ctx) {
    readini(iniPath(ctx), *ctx.model, ctx.settings.vars, allIniKeys(ctx.routes));
}

bool writeini(AppContext& ctx) {
    return writeini(iniPath(ctx), *ctx.model, ctx.settings.vars, *ctx.seams.prompter,
                    allIniKeys(ctx.routes));
}

void reloadIni(AppContext& ctx) {
    readini(ctx);
    readini(ctx);
    CheckPaths(ctx);

    OptionsModel& model = *ctx.model;
    // An unreadable style folder leaves the list empty.
    const QStringList styles = styleFileNames(heveaStyleDirectory(ctx));
    model.setItems(ctl::File1, styles);
    if (ctx.settings.paths.texDocsExists)
        ctx.settings.vars.openDialogDir = ctx.settings.vars.texDocs;
    model.setItems(ctl::List1, styleListFrom(styles));
    model.setText(ctl::txtExclude, QString());
    if (ctx.loadDefaultConfig)
        ctx.loadDefaultConfig();
    model.setVisible(ctl::chkHtrun, true);
    if (ctx.composeTex4htCommandLine)
        ctx.composeTex4htCommandLine();
}

void editIni(AppContext& ctx) {
    const QString ini = iniPath(ctx);
    Shell& shell = *ctx.seams.shell;
    const QString& editor = ctx.settings.vars.editor;
    if (!editor.isEmpty() && shell.startDetached(editor, {ini}))
        return;
    if (shell.open(ini))
        return;
    const QString notepad = shell.notepad();
    if (!notepad.isEmpty() && shell.startDetached(notepad, {ini}))
        return;
    ctx.seams.prompter->tell(QStringLiteral("No text editor was found to open ") + ini +
                                 QLatin1Char('.'),
                             QStringLiteral("INI File"), Icon::Exclamation);
}

} // namespace morvane
