#pragma once

#include "settings/optionsmodel.h"
#include "settings/settingsvariables.h"

#include <QString>
#include <QStringList>
#include <array>
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

// Route tabs of the main window's tab strip, numbered as the strip numbers them.
enum Tab {
    TabHevea = 1,
    TabTth = 2,
    TabTex4ht = 3,
    TabL2h = 4,
    TabDvi = 5,
    TabPdf = 6,
    TabHelp = 7
};

// The last log of each route, read by View Log.
struct RouteLogs {
    QString hevea;
    QString tth;
    QString tex4ht;
    QString l2h;
    QString dviPdf;
};

using Driver = std::function<void(const QString& source)>;

// Everything the conversion pipeline and the drivers share: the options model
// (the window's live controls), the settings variables, run-time state and
// the seams to the outside world. The main window owns one; batch mode owns
// one without a window.
struct AppContext {
    QString programDir;
    OptionsModel* model = nullptr;
    SettingsVariables vars;
    PathCheck paths;
    RouteLogs logs;

    QString expectedOutput;                           // the file the selected route produces
    QString sourceExtension = QStringLiteral(".tex"); // default source extension
    int linkAnswer = 0;                               // remembered answer of the link question
    int includeDepth = 0;                             // nested include handling in one conversion
    bool loading = false;                             // true while the main window loads
    bool l2hRun = false;                              // a LaTeX2HTML conversion was started
    bool batchMode = false;                           // no window: questions take their defaults
    bool latexCount = false;  // htrun.ini asks htrun to count the LaTeX passes
    int runningProcesses = 0; // processes tracked in multiple mode

    // Drivers by tab (1..6); an empty slot means the route is not built.
    std::array<Driver, 8> drivers;

    Prompter* prompter = nullptr;
    Shell* shell = nullptr;
    Launcher* launcher = nullptr;
    ConsoleFactory* consoles = nullptr;
    FolderChooser* folders = nullptr;
    VolumeTable* volumes = nullptr;
    ResultViewer* viewer = nullptr;       // built-in browser window
    LinkQuestion* linkQuestion = nullptr; // the change-link dialog

    // Ends the program at once, without questions and without saving (the
    // "Close after running" rule). Tests put a recorder here.
    std::function<void()> quitProgram;

    // Gives a control of the main window the keyboard focus (the file box
    // after a refused Convert); unset without a window.
    std::function<void(const QString& control)> requestFocus;

    // Reactions that a settings reload runs when their owners are built:
    // applying the start-up HeVeA configuration and composing the TeX4ht
    // command line again from the options. Unset, the reload skips them.
    std::function<void()> loadDefaultConfig;
    std::function<void()> composeTex4htCommandLine;

    int selectedTab() const { return model->index(QStringLiteral("tbstrip")); }
    QString convertFile() const { return model->text(QStringLiteral("cmbTeX")); }
    QString batchDriverPath() const { return programDir + QStringLiteral("/convert.sh"); }
};

} // namespace morvane
