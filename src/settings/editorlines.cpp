#include "settings/editorlines.h"

#include <QFileInfo>

namespace morvane {

namespace {

// How an editor takes a line: the arguments before and after the file, with
// LINE and FILE standing for the line and the file.
struct LineArguments {
    const char* program;
    const char* arguments;
};

const LineArguments kEditors[] = {
    {"gedit", "+LINE FILE"},
    {"gnome-text-editor", "+LINE FILE"},
    {"kate", "--line LINE FILE"},
    {"kwrite", "--line LINE FILE"},
    {"mousepad", "--line=LINE FILE"},
    {"emacs", "+LINE FILE"},
    {"emacsclient", "--no-wait +LINE FILE"},
    {"vim", "+LINE FILE"},
    {"gvim", "+LINE FILE"},
    {"code", "--goto FILE:LINE"},
    {"texstudio", "FILE --line LINE"},
    {"texworks", "--position=LINE FILE"},
    {"kile", "--line LINE FILE"},
};

} // namespace

EditorCommand editorCommandAt(const QString& editor, const QString& file, int line) {
    EditorCommand command{editor, {file}};
    if (line <= 0)
        return command;
    const QString name = QFileInfo(editor).fileName();
    for (const LineArguments& known : kEditors) {
        if (name != QLatin1String(known.program))
            continue;
        command.arguments.clear();
        const QString number = QString::number(line);
        // Each word becomes one argument, so a file name with blanks stays whole.
        for (const QString& word : QString::fromLatin1(known.arguments).split(QLatin1Char(' '))) {
            QString argument = word;
            // The line first: a file name may itself contain "LINE".
            argument.replace(QStringLiteral("LINE"), number);
            argument.replace(QStringLiteral("FILE"), file);
            command.arguments.append(argument);
        }
        break;
    }
    return command;
}

} // namespace morvane
