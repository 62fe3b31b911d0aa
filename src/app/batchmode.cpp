#include "app/batchmode.h"

#include "app/startup.h"
#include "drivers/registry.h"
#include "pipeline/appcontext.h"
#include "pipeline/convertcommand.h"
#include "pipeline/savedpath.h"
#include "platform/launcher.h"
#include "platform/programdir.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "platform/stdoutconsole.h"
#include "settings/optionsmodel.h"
#include "ui/optionhandlers.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <array>
#include <cstdio>

namespace morvane {

namespace {

enum ExitStatus { CleanResult = 0, ErrorsInLog = 1, NothingProduced = 2 };

struct RouteName {
    const char* word;
    Tab tab;
    const char* label;
};

constexpr std::array<RouteName, 6> kRoutes{{
    {"hevea", TabHevea, "HeVeA"},
    {"tth", TabTth, "TtH"},
    {"tex4ht", TabTex4ht, "TeX4ht"},
    {"latex2html", TabL2h, "LaTeX2HTML"},
    {"dvi", TabDvi, "DVI"},
    {"pdf", TabPdf, "PDF"},
}};

const RouteName* findRoute(const QString& word) {
    for (const RouteName& route : kRoutes) {
        if (word == QLatin1String(route.word))
            return &route;
    }
    return nullptr;
}

void complain(const QString& text) {
    std::fprintf(stderr, "morvane: %s\n", text.toUtf8().constData());
    std::fflush(stderr);
}

QString routeWords() {
    QStringList words;
    for (const RouteName& route : kRoutes)
        words.append(QLatin1String(route.word));
    return words.join(QStringLiteral(", "));
}

// The state of the route's result before the run, so that a result left by
// an earlier run does not count as produced by this one.
struct OutputSnapshot {
    QString path;
    bool existed = false;
    QDateTime modified;
};

OutputSnapshot snapshot(const QString& path) {
    const QFileInfo info(path);
    return {path, info.exists(), info.exists() ? info.lastModified() : QDateTime()};
}

bool producedByThisRun(const QString& output, const OutputSnapshot& before,
                       const QDateTime& started) {
    if (output.isEmpty())
        return false;
    const QFileInfo info(output);
    // An empty page is no result (the window says "... is empty!" for it).
    if (!info.exists() || info.size() == 0)
        return false;
    if (output == before.path && before.existed && info.lastModified() == before.modified)
        return false;
    // File times come from a coarse clock that may lag the wall clock a little.
    return info.lastModified() >= started.addSecs(-1);
}

bool logMarked(const OptionsModel& model) {
    return model.isBold(QStringLiteral("cmdLog")) ||
           model.caption(QStringLiteral("cmdLog")) == QStringLiteral("Errors in &Log");
}

} // namespace

QString commandLineHelp() {
    return QStringLiteral(
               "Usage: morvane [FILE]\n"
               "       morvane --convert=ROUTE FILE\n"
               "\n"
               "Without --convert, opens the main window, with FILE in the file box.\n"
               "\n"
               "--convert=ROUTE FILE  converts FILE without a window, with the settings of\n"
               "                      Morvane.ini, exactly as the Convert button would.\n"
               "                      ROUTE is one of: ") +
           routeWords() +
           QStringLiteral(
               ".\n"
               "                      Questions take their default answer; messages go to\n"
               "                      standard error, the converter's output to standard\n"
               "                      output. Morvane.ini and the file history are not written.\n"
               "                      Exit status: 0 the result exists and the log is clean,\n"
               "                      1 the log holds errors, 2 the conversion stopped or\n"
               "                      produced nothing.\n"
               "--help                shows this text.\n");
}

int runBatchMode(const QString& routeWord, const QString& file) {
    const RouteName* route = findRoute(routeWord);
    if (!route) {
        complain(
            QStringLiteral("unknown route \"%1\"; choose one of %2.").arg(routeWord, routeWords()));
        return NothingProduced;
    }
    if (file.isEmpty()) {
        complain(QStringLiteral("no TeX file given: morvane --convert=%1 FILE").arg(routeWord));
        return NothingProduced;
    }
    const QString source = QDir::cleanPath(QDir::current().absoluteFilePath(file));
    const QFileInfo sourceInfo(source);
    if (!sourceInfo.exists()) {
        complain(QStringLiteral("%1 doesn't exist.").arg(QDir::toNativeSeparators(source)));
        return NothingProduced;
    }
    if (!sourceInfo.isFile()) {
        complain(QStringLiteral("%1 is not a file.").arg(QDir::toNativeSeparators(source)));
        return NothingProduced;
    }

    OptionsModel model;
    DefaultAnswerPrompter prompter;
    DesktopShell shell;
    QProcessLauncher launcher;
    StdoutConsoleFactory consoles;

    AppContext ctx;
    ctx.programDir = resolveProgramDirectory(currentProgramDirectoryInputs());
    ctx.model = &model;
    ctx.batchMode = true;
    ctx.prompter = &prompter;
    ctx.shell = &shell;
    ctx.launcher = &launcher;
    ctx.consoles = &consoles;
    // Nothing may end the program before it has given its exit status.
    ctx.quitProgram = [] {};
    installDrivers(ctx);
    connectOptionHandlers(ctx);

    if (!loadStep(ctx, QString()))
        return NothingProduced;

    if (!ctx.drivers[route->tab]) {
        complain(QStringLiteral("the %1 route is not built yet.").arg(QLatin1String(route->label)));
        return NothingProduced;
    }

    // A command-line conversion shows nothing: no browser opens, so the
    // close-after-running rule cannot end the program either.
    model.setCheckValue(QStringLiteral("chkIE"), 0);

    model.setIndex(QStringLiteral("tbstrip"), route->tab);
    tbstrip_Click(ctx);
    model.setText(QStringLiteral("cmbTeX"), source);
    // The window disables Convert when the route's program is missing.
    if (!model.isEnabled(QStringLiteral("cmdConvert"))) {
        complain(QStringLiteral("the %1 route cannot run: %2 Not Found (see the [Paths] section "
                                "of %3/Morvane.ini).")
                     .arg(QLatin1String(route->label), ctx.paths.programName[route->tab],
                          QDir::toNativeSeparators(ctx.programDir)));
        return NothingProduced;
    }

    SavedPath(ctx);
    const OutputSnapshot before = snapshot(ctx.expectedOutput);
    const QDateTime started = QDateTime::currentDateTime();

    cmdConvert_Click(ctx);

    if (!producedByThisRun(ctx.expectedOutput, before, started)) {
        complain(QStringLiteral("the conversion produced no %1.")
                     .arg(ctx.expectedOutput.isEmpty()
                              ? QStringLiteral("result")
                              : QDir::toNativeSeparators(ctx.expectedOutput)));
        return NothingProduced;
    }
    if (logMarked(model)) {
        complain(QStringLiteral("the converter reported problems; see %1")
                     .arg(QDir::toNativeSeparators(currentLogFile(ctx))));
        return ErrorsInLog;
    }
    return CleanResult;
}

} // namespace morvane
