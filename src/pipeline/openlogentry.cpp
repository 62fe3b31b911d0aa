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
    const QString editor = ctx.settings.vars.texEditor.trimmed();
    if (editor.isEmpty()) {
        if (ctx.seams.shell->open(entry.file))
            return true;
        tell(ctx, QStringLiteral("No program is associated with ") +
                      QDir::toNativeSeparators(entry.file) +
                      QStringLiteral(". Choose a TeX editor in More Preferences."));
        return false;
    }
    const EditorCommand command = editorCommandAt(editor, entry.file, entry.line);
    if (ctx.seams.shell->startDetached(command.program, command.arguments))
        return true;
    tell(ctx, QStringLiteral("Can't start the TeX editor ") + QDir::toNativeSeparators(editor) +
                  QStringLiteral(". Check its name in More Preferences."));
    return false;
}

} // namespace morvane
