#pragma once

#include "pipeline/logentry.h"
#include "pipeline/route.h"
#include "settings/optionsmodel.h"
#include "settings/settingsvariables.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace morvane {

class Prompter;
class Shell;
class Launcher;
class ConsoleFactory;
class FolderChooser;
class VolumeTable;
class ResultViewer;
class LinkQuestion;
class Downloader;
class PrinterList;

// The program's ways to the outside world, built once at start-up: the
// window's own implementations, batch mode's quiet ones, or the tests'
// scripted doubles. Any of them may be unset where nothing needs it.
struct Seams {
    Prompter* prompter = nullptr;
    Shell* shell = nullptr;
    Launcher* launcher = nullptr;
    ConsoleFactory* consoles = nullptr;
    FolderChooser* folders = nullptr;
    VolumeTable* volumes = nullptr;
    ResultViewer* viewer = nullptr;       // built-in browser window
    LinkQuestion* linkQuestion = nullptr; // the change-link dialog
    Downloader* downloader = nullptr;     // the update check's web fetches
    PrinterList* printers = nullptr;      // the installed printers

    // Ends the program at once, without questions and without saving (the
    // "Close after running" rule). Tests put a recorder here.
    std::function<void()> quitProgram;

    // Gives a control of the main window the keyboard focus (the file box
    // after a refused Convert); unset without a window.
    std::function<void(ctl::Control control)> requestFocus;

    // Shows the TeX4ht advanced options dialog modally; unset without a window.
    std::function<void()> showTex4htAdvanced;

    // Shows the LaTeX2HTML init-file editor modally; unset without a window.
    std::function<void()> showL2hInitEditor;

    // Shows the errors and warnings read from the log of the conversion that
    // just ended: the window's error list, batch mode's standard error.
    std::function<void(const LogEntries&)> showLogEntries;
};

// Everything the conversion pipeline and the drivers share: the options model
// (the window's live controls), the settings, the route table and the seams
// to the outside world. What belongs to one conversion is a `Conversion`. The main window
// owns one; batch mode owns one without a window.
struct AppContext {
    QString programDir;
    OptionsModel* model = nullptr;
    Seams seams;
    Settings settings;

    // The default source extension: ".tex", or the accepted file's own when
    // non-TeX files are allowed (set by Checkfile, cut off to get base names).
    QString sourceExtension = QStringLiteral(".tex");
    // The file the selected route produces for the file box's file: what
    // Show opens and the path label names.
    QString expectedOutput;

    // The routes of the tab strip.
    RouteTable routes = builtInRoutes();
    RouteLogs logs;

    // No one answers questions (batch mode, --watch, --check): what needs
    // the user's consent is not done.
    bool unattended = false;
    // A batch run of a route that uses no HeVeA style: the style lists are
    // not read from HeVeA's library.
    bool heveaStylesUnused = false;
    bool loading = false;     // true while the main window loads
    bool l2hRun = false;      // a LaTeX2HTML conversion was started
    bool latexCount = false;  // htrun.ini asks htrun to count the LaTeX passes
    int runningProcesses = 0; // processes tracked in multiple mode
    QString runningAlone;     // the document a single-mode run converts now

    // Reactions that a settings reload runs when their owners are built:
    // applying the start-up HeVeA configuration and composing the TeX4ht
    // command line again from the options. Unset, the reload skips them.
    std::function<void()> loadDefaultConfig;
    std::function<void()> composeTex4htCommandLine;

    int selectedTab() const { return model->index(ctl::tbstrip); }
    // The route of the selected tab; nullptr on the Help tab.
    const Route* selectedRoute() const { return routeForTab(routes, selectedTab()); }
    QString convertFile() const { return model->text(ctl::cmbTeX); }
    QString batchDriverPath() const { return programDir + QStringLiteral("/convert.sh"); }
};

} // namespace morvane
