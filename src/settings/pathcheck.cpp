#include "settings/pathcheck.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace morvane {

namespace {

bool exists(const QString& path) {
    return !path.isEmpty() && QFileInfo::exists(path);
}

bool holdsProgram(const QString& dir, const QString& name) {
    if (!exists(dir))
        return false;
    const QFileInfo program(dir + QLatin1Char('/') + name);
    return program.isFile() && program.isExecutable();
}

bool holdsFile(const QString& dir, const QString& name) {
    return exists(dir) && QFileInfo(dir + QLatin1Char('/') + name).isFile();
}

// An editor setting may name a program on PATH ("gedit") as well as a path.
bool editorExists(const QString& editor) {
    if (exists(editor))
        return true;
    return !editor.isEmpty() && !editor.contains(QLatin1Char('/')) &&
           !QStandardPaths::findExecutable(editor).isEmpty();
}

// Output roots must be folders the user can write to; the program folders
// that Windows used as a fall-back (/usr/bin, /usr/share/latex2html) are not.
// A root that was set and is gone is noted.
void useExistingOutputRoot(SettingsVariables& vars, PathCheck& paths,
                           QString SettingsVariables::*root) {
    QString& value = vars.*root;
    if (exists(value))
        return;
    if (!value.isEmpty())
        paths.replacedRoots.append({root, value});
    value = QDir::homePath();
}

// A location never set takes the folder of the first of the program's names
// found on PATH.
void useFolderOnPath(SettingsVariables& vars, const RouteProgram& program) {
    QString& dir = vars.*program.location;
    if (!dir.isEmpty())
        return;
    for (const char* name : program.names) {
        if (!name)
            continue;
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty()) {
            dir = QFileInfo(found).absolutePath();
            return;
        }
    }
}

bool holdsRouteProgram(const SettingsVariables& vars, const RouteProgram& program) {
    // A route without a location of its own finds its program on PATH.
    if (!program.location) {
        for (const char* name : program.names)
            if (name && !QStandardPaths::findExecutable(QString::fromLatin1(name)).isEmpty())
                return true;
        return false;
    }
    const QString& dir = vars.*program.location;
    for (const char* name : program.names) {
        if (!name)
            continue;
        const QString file = QString::fromLatin1(name);
        if (program.executable ? holdsProgram(dir, file) : holdsFile(dir, file))
            return true;
    }
    return false;
}

} // namespace

void CheckPaths(Settings& settings, std::span<const ProgramRequirement> requirements) {
    SettingsVariables& vars = settings.vars;
    PathCheck& paths = settings.paths;

    paths.texDocsExists = exists(vars.texDocs);

    // On Linux every program may share /usr/bin, so a location counts only
    // when it holds the route's program.
    int tabs = 1;
    for (const ProgramRequirement& requirement : requirements)
        tabs = qMax(tabs, requirement.tab + 1);
    paths.programFound = QList<bool>(tabs, false);
    paths.programName = QStringList(tabs, QString());
    for (const ProgramRequirement& requirement : requirements) {
        if (requirement.tab < 1)
            continue;
        if (requirement.program.onPathWhenUnset && requirement.program.location)
            useFolderOnPath(vars, requirement.program);
        paths.programFound[requirement.tab] = holdsRouteProgram(vars, requirement.program);
        paths.programName[requirement.tab] = QString::fromLatin1(requirement.program.locationKey);
    }

    paths.replacedRoots.clear();
    useExistingOutputRoot(vars, paths, &SettingsVariables::tex4htSaveTo);
    useExistingOutputRoot(vars, paths, &SettingsVariables::l2hSaveTo);
    useExistingOutputRoot(vars, paths, &SettingsVariables::pandocSaveTo);
    useExistingOutputRoot(vars, paths, &SettingsVariables::latexmlSaveTo);

    if (!editorExists(vars.editor))
        vars.editor.clear();
    if (!editorExists(vars.texEditor))
        vars.texEditor.clear();
    if (!exists(vars.htrunM))
        vars.htrunM.clear();
    if (!exists(vars.htrunS))
        vars.htrunS.clear();
}

} // namespace morvane
