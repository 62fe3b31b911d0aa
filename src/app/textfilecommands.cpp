#include "app/textfilecommands.h"

#include "pipeline/appcontext.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "settings/optionsmodel.h"

#include <QFileInfo>

namespace morvane {

namespace {

// Starts `editor` with the file; false when none is set or it cannot start,
// so that the caller can offer the next way.
bool runEditor(AppContext& ctx, const QString& editor, const QString& file) {
    return !editor.isEmpty() && ctx.seams.shell->startDetached(editor, {file});
}

// The plain-text editor that stands in for Notepad; the user hears when
// there is none.
void runNotepad(AppContext& ctx, const QString& file, const QString& title) {
    Shell& shell = *ctx.seams.shell;
    const QString notepad = shell.notepad();
    if (!notepad.isEmpty() && shell.startDetached(notepad, {file}))
        return;
    ctx.seams.prompter->tell(QStringLiteral("No text editor was found to open ") + file +
                                 QLatin1Char('.'),
                             title, Icon::Exclamation);
}

// The desktop's program for the file, else the plain-text editor. A failing
// open counts as "no program associated".
void openWithDesktop(AppContext& ctx, const QString& file, const QString& title) {
    if (!ctx.seams.shell->open(file))
        runNotepad(ctx, file, title);
}

bool fileMissing(AppContext& ctx, const QString& file, const QString& title) {
    if (QFileInfo(file).isFile())
        return false;
    // An editor would open an empty new file, the desktop an error page.
    ctx.seams.prompter->tell(QStringLiteral("Can't find ") + file + QStringLiteral(" file."), title,
                             Icon::Exclamation);
    return true;
}

} // namespace

void cmdReadMe_Click(AppContext& ctx) {
    const QString title = QStringLiteral("Readme File");
    const QString readme = ctx.programDir + QStringLiteral("/readme.txt");
    if (fileMissing(ctx, readme, title))
        return;
    if (!runEditor(ctx, ctx.settings.vars.editor, readme))
        openWithDesktop(ctx, readme, title);
}

void cmdBatch_Click(AppContext& ctx) {
    const QString title = QStringLiteral("Batch File");
    const QString script = ctx.programDir + QStringLiteral("/convert.sh");
    if (fileMissing(ctx, script, title))
        return;
    if (!runEditor(ctx, ctx.settings.vars.editor, script))
        runNotepad(ctx, script, title);
}

void cmdEditTex_Click(AppContext& ctx) {
    const QString title = QStringLiteral("Edit Tex File");
    const QString file = ctx.model->text(ctl::cmbTeX);
    if (file.isEmpty() || fileMissing(ctx, file, title))
        return;
    const SettingsVariables& vars = ctx.settings.vars;
    const QString& editor = vars.texEditor.isEmpty() ? vars.editor : vars.texEditor;
    if (!runEditor(ctx, editor, file))
        openWithDesktop(ctx, file, title);
}

} // namespace morvane
