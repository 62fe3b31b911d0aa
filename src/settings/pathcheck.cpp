#include "settings/pathcheck.h"

#include "pipeline/appcontext.h"

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
QString usableOutputRoot(const QString& root) {
    return exists(root) ? root : QDir::homePath();
}

} // namespace

void CheckPaths(AppContext& ctx) {
    SettingsVariables& vars = ctx.vars;
    PathCheck& paths = ctx.paths;

    paths.texDocsExists = exists(vars.texDocs);

    // On Linux every program may share /usr/bin, so a location counts only
    // when it holds the route's program.
    for (bool& found : paths.programFound)
        found = false;
    paths.programFound[TabHevea] = holdsProgram(vars.hevea, QStringLiteral("hevea"));
    paths.programFound[TabTth] = holdsProgram(vars.tth, QStringLiteral("tth"));
    paths.programFound[TabTex4ht] = holdsProgram(vars.tex4ht, QStringLiteral("tex4ht"));
    paths.programFound[TabL2h] = holdsFile(vars.l2h, QStringLiteral("l2hconf.pm"));
    paths.programFound[TabDvi] = holdsProgram(vars.texify, QStringLiteral("texi2dvi")) ||
                                 holdsProgram(vars.texify, QStringLiteral("texify"));
    paths.programFound[TabPdf] = paths.programFound[TabDvi];

    paths.programName[TabHevea] = QStringLiteral("Hevea");
    paths.programName[TabTth] = QStringLiteral("Tth");
    paths.programName[TabTex4ht] = QStringLiteral("Tex4ht");
    paths.programName[TabL2h] = QStringLiteral("L2h");
    paths.programName[TabDvi] = QStringLiteral("Texify");
    paths.programName[TabPdf] = paths.programName[TabDvi];

    vars.tex4htSaveTo = usableOutputRoot(vars.tex4htSaveTo);
    vars.l2hSaveTo = usableOutputRoot(vars.l2hSaveTo);

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
