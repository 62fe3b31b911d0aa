#pragma once

#include <QString>
#include <QStringList>

namespace morvane {

// A program with its arguments, started without a shell.
struct EditorCommand {
    QString program;
    QStringList arguments;
};

// The command that opens `file` at `line` in `editor` (a program name or
// path from the settings). Well-known editors get their own line argument;
// any other editor, and line 0, get the file alone.
EditorCommand editorCommandAt(const QString& editor, const QString& file, int line);

} // namespace morvane
