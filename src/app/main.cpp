#include "app/batchmode.h"
#include "app/comparison.h"
#include "app/convertercheck.h"
#include "app/startup.h"
#include "platform/bytenames.h"
#include "platform/processgroup.h"
#include "platform/programdir.h"
#include "platform/programmodule.h"
#include "platform/runjournal.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <cstring>

namespace {

// The window and its dialogs live in the GUI library, loaded only for the
// window: `morvane --help` and `morvane --convert=ROUTE FILE` then run with
// Qt Core alone, which starts in a fraction of the time that Qt's widget,
// GUI and network libraries take to load.
using RunGui = int (*)(int* argc, char** argv);

// The lifeline the converters' groups watch is opened before anything else,
// so that it gets a descriptor a script can name (0 to 9): convert.sh then
// starts its group's watcher itself, for a fraction of a separate program's
// cost.
void openLifelineEarly() {
    morvane::lifelineForScript();
}

int runWindow(int argc, char** argv) {
    openLifelineEarly();
    QString error;
    const auto run = reinterpret_cast<RunGui>(morvane::resolveProgramModule(
        QStringLiteral("libmorvane_gui.so"), "morvane_run_gui", &error));
    if (!run) {
        std::fprintf(stderr, "morvane: cannot load the window: %s\n",
                     error.toLocal8Bit().constData());
        return 1;
    }
    return run(&argc, argv);
}

// A picture of a page's start, drawn without a screen by the GUI library:
// `morvane --thumbnail=PNG PAGE`, which a comparison runs for each result.
using RenderThumbnail = int (*)(const char* page, const char* png);

int renderThumbnail(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("morvane: usage: morvane --thumbnail=PNG PAGE\n", stderr);
        return 2;
    }
    QString error;
    const auto render = reinterpret_cast<RenderThumbnail>(morvane::resolveProgramModule(
        QStringLiteral("libmorvane_gui.so"), "morvane_render_thumbnail", &error));
    if (!render) {
        std::fprintf(stderr, "morvane: cannot load the GUI library: %s\n",
                     error.toLocal8Bit().constData());
        return 1;
    }
    return render(argv[2], argv[1] + std::strlen("--thumbnail="));
}

void reportRestored(const QStringList& restored) {
    if (!restored.isEmpty())
        std::fprintf(stderr, "morvane: %s\n",
                     morvane::restoredAfterCrashText(restored).toLocal8Bit().constData());
}

// Options of the window's toolkit, which take two dashes too.
bool isToolkitOption(const char* argument) {
    static const char* const names[] = {"--platform",        "--platformpluginpath",
                                        "--platformtheme",   "--plugin",
                                        "--qwindowgeometry", "--qwindowtitle",
                                        "--qwindowicon",     "--reverse",
                                        "--session",         "--display",
                                        "--style",           "--stylesheet"};
    for (const char* name : names) {
        const std::size_t length = std::strlen(name);
        if (std::strncmp(argument, name, length) == 0 &&
            (argument[length] == 0 || argument[length] == '='))
            return true;
    }
    return false;
}

// The arguments from `first` on as the program holds names: a file in a
// folder whose name is not valid text is reached through a link to it.
QStringList reachableArguments(int argc, char** argv, int first) {
    QStringList arguments;
    for (int i = first; i < argc; ++i) {
        const QByteArray raw(argv[i]);
        const morvane::ReachableName reached = morvane::reachableName(raw);
        if (!reached.error.isEmpty())
            std::fprintf(stderr, "morvane: %s\n", reached.error.toLocal8Bit().constData());
        arguments << (reached.name.isEmpty() ? QFile::decodeName(raw) : reached.name);
    }
    return arguments;
}

} // namespace

int main(int argc, char** argv) {
    morvane::keepStandardChannelsOpen();
    const char* first = argc > 1 ? argv[1] : "";
    if (std::strcmp(first, "--help") == 0) {
        std::fputs(morvane::commandLineHelp().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (std::strcmp(first, "--check") == 0) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setOrganizationName(QStringLiteral("Morvane"));
        QCoreApplication::setApplicationName(QStringLiteral("Morvane"));
        morvane::keepPerUserStoreIn(qEnvironmentVariable("MORVANE_HOME"));
        return morvane::runConverterCheck();
    }
    if (std::strncmp(first, "--thumbnail=", 12) == 0)
        return renderThumbnail(argc, argv);
    if (std::strcmp(first, "--compare") == 0) {
        openLifelineEarly();
        QCoreApplication app(argc, argv);
        QCoreApplication::setOrganizationName(QStringLiteral("Morvane"));
        QCoreApplication::setApplicationName(QStringLiteral("Morvane"));
        morvane::keepPerUserStoreIn(qEnvironmentVariable("MORVANE_HOME"));
        reportRestored(morvane::journal::recoverDeadRuns());
        morvane::stopProcessGroupsOnSignals();
        return morvane::runComparison(reachableArguments(argc, argv, 2));
    }
    constexpr const char* convert = "--convert=";
    if (std::strncmp(first, convert, std::strlen(convert)) == 0) {
        openLifelineEarly();
        QCoreApplication app(argc, argv);
        QCoreApplication::setOrganizationName(QStringLiteral("Morvane"));
        QCoreApplication::setApplicationName(QStringLiteral("Morvane"));
        morvane::keepPerUserStoreIn(qEnvironmentVariable("MORVANE_HOME"));
        reportRestored(morvane::journal::recoverDeadRuns());
        const QString route = app.arguments().at(1).mid(static_cast<int>(std::strlen(convert)));
        QStringList files = reachableArguments(argc, argv, 2);
        const bool watch = files.removeAll(QStringLiteral("--watch")) > 0;
        return morvane::runBatchMode(route, files, watch);
    }
    // An option this program does not know is not a file to open: say so,
    // without a window (and without needing a display).
    if (std::strncmp(first, "--", 2) == 0 && std::strcmp(first, "--") != 0 &&
        !isToolkitOption(first)) {
        std::fprintf(stderr, "morvane: unknown option '%s'; see morvane --help.\n", first);
        return 2;
    }
    return runWindow(argc, argv);
}
