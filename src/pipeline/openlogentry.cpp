#include "pipeline/openlogentry.h"

#include "pipeline/appcontext.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "settings/editorlines.h"

#include <QDir>
#include <QFileInfo>

namespace morvane {

namespace {

const QString kTitle = QStringLiteral("Open at Line");

void tell(AppContext& ctx, const QString& text) {
    if (ctx.seams.prompter)
        ctx.seams.prompter->tell(text, kTitle, Icon::Exclamation);
}

} // namespace

bool openLogEntry(AppContext& ctx, const LogEntry& entry) {
    if (!ctx.seams.shell)
        return false;
    if (!QFileInfo::exists(entry.file)) {
        tell(ctx, QDir::toNativeSeparators(entry.file) + QStringLiteral(" doesn't exist."));
        return false;
    }
    Shell& shell = *ctx.seams.shell;
    // As Edit Tex File: the TeX editor, else the text editor of More
    // Preferences (at the line), else the desktop's program for the file,
    // else the plain-text editor.
    const SettingsVariables& vars = ctx.settings.vars;
    const QString editor =
        (vars.texEditor.trimmed().isEmpty() ? vars.editor : vars.texEditor).trimmed();
    if (!editor.isEmpty()) {
        const EditorCommand command = editorCommandAt(editor, entry.file, entry.line);
        if (shell.startDetached(command.program, command.arguments))
            return true;
        tell(ctx, QStringLiteral("Can't start the editor ") + QDir::toNativeSeparators(editor) +
                      QStringLiteral(" (More Preferences); the file opens with another program."));
    }
    if (shell.open(entry.file))
        return true;
    const QString notepad = shell.notepad();
    if (!notepad.isEmpty() && shell.startDetached(notepad, {entry.file}))
        return true;
    tell(ctx, QStringLiteral("No program was found to open ") +
                  QDir::toNativeSeparators(entry.file) +
                  QStringLiteral(". Choose a TeX editor in More Preferences."));
    return false;
}

} // namespace morvane
