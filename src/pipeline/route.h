#pragma once

#include "pipeline/copiedlines.h"
#include "pipeline/logentry.h"

#include "pipeline/logparsers.h"
#include "settings/controlnames.h"
#include "settings/inikeys.h"
#include "settings/programlocations.h"
#include "settings/settingsvariables.h"

#include <QHash>
#include <QList>

#include <QString>
#include <QStringList>
#include <functional>
#include <span>

namespace morvane {

struct AppContext;

// How Show and "Run ... file" open a route's result: web pages in the browser
// chosen on the tab, DVI and PDF files with the desktop's associated program.
enum class ResultKind { WebPage, Document };

// What a route's log says about the run.
enum class LogVerdict {
    Clean,     // View Log goes back to its plain caption
    Errors,    // View Log reads "Errors in &Log", in bold
    Unchanged, // the caption stays as it is
};

// What one run of a driver produced. A driver returns it; the Convert command
// applies the shared ending to it (remember the log, show the result or
// enable Show, set View Log's caption), and batch mode turns it into its exit
// status.
struct ConversionResult {
    QString output; // the file the route shows; empty when the run ended early
    QString log;    // the route's log; remembered for View Log when set
    LogVerdict verdict = LogVerdict::Unchanged;
    bool produced = false; // `output` was written by this run (set by the Convert command)
    // Logs and pages the run could not rewrite ("file: reason"): a log
    // without its header, pages without their link fix-ups. Such a run
    // counts as having errors.
    QStringList failedRewrites;
    // The working copy it converted, whose log entries name the user's files.
    CopiedDocument copied;
    // The errors and warnings of its log, as the error list shows them.
    LogEntries entries;
    // The most memory its converter held (0 when it ended before the first
    // look); set by the Convert command.
    qint64 peakMemoryBytes = 0;
};

// Where a route puts its result for a TeX file: the text of lblPath and the
// expected output file.
struct OutputPlace {
    QString label;
    QString expected;
};

struct Conversion;

using Driver = std::function<ConversionResult(Conversion& conversion)>;
using PlaceFinder = OutputPlace (*)(const AppContext& ctx, const QString& file);

using ResultWord = QString (*)(const AppContext& ctx);

// The settings-block lines a route writes into convert.sh for a command line,
// from the options of its conversion.
using SettingsBlock = QString (*)(const AppContext& ctx, const OptionsModel& options,
                                  const QString& commandLine);

// A program a route runs, the Debian package that provides it, and how it
// tells its version (nullptr: it has no such option). `--check` and the
// Check Converters table list them.
struct NeededProgram {
    const char* name;
    const char* package;
    const char* versionOption;
};
// The programs a route runs with the given options.
using NeededPrograms = QList<NeededProgram> (*)(const OptionsModel& options);

// A route as a value: everything about it that the tab strip, the Convert
// command, SavedPath, View Log, Show, the path check, the settings file,
// Program Locations, convert.sh, batch mode, --check and --help need. The
// route's tab is its place in the table (the first route is tab 1); the Help
// tab follows the last route.
struct Route {
    const char* key;        // batch-mode and --help name ("hevea", "latex2html")
    const char* caption;    // "HeVeA", "TtH", ...
    const char* tabCaption; // its page's caption on the tab strip ("He&VeA")
    const char* form;       // the Designer form of its page ("tab_hevea")
    const char* helpLine;   // what --help says of it after its key
    ResultWord resultWord;  // "HTML", "text", "DVI", ...: the Run/Show captions
    ResultWord showCaption; // Show's own caption where the route has one; else nullptr
    ResultKind shows;
    // Its log: the name View Log remembers it under (DVI and PDF share one)
    // and the parser of its errors and warnings.
    const char* logSlot;
    LogParser parseLog;
    RouteProgram program; // the program location key and the program it needs
    // The check box without which the route needs no program of its own
    // (DVI and PDF run latex or pdflatex unless texify is ticked); nullptr
    // when the program is always needed.
    ctl::Control programBox;
    NeededPrograms neededPrograms; // what --check looks for, with its packages
    // Its section of Morvane.ini and the keys it reads and writes there.
    const char* iniSection;
    std::span<const IniKey> iniKeys;
    // Its rows of Program Locations, in dialog order.
    std::span<const LocationRow> locations;
    SettingsBlock settingsBlock; // what Writebat puts in convert.sh's settings block
    const char* scriptRoute;     // convert.sh runs its route_NAME for this word
    PlaceFinder place;           // where its expected output lies
    // The output root chosen on the tab and the label that shows it (TeX4ht,
    // LaTeX2HTML); nullptr for routes that write next to the TeX file.
    QString SettingsVariables::*outputRoot;
    ctl::Control outputRootLabel;
    // latex, pdflatex, htlatex and texi2dvi fail on "~" or a blank in the
    // file name; HeVeA and TtH do not and need no renamed copy.
    bool needsPlainFileName;
    Driver driver;
    // What the route does when its tab is selected (not while loading);
    // nullptr for nothing.
    void (*tabSelected)(AppContext& ctx) = nullptr;
    // The working files and folders the converter reads back on its next run
    // in the route's output folder ("%1.xref" with %1 the base name, "TMP"):
    // a killed run's are removed by the next start, since one cut short
    // breaks later runs.
    std::span<const char* const> workingFiles = {};
    // A result of a web route that is no page for a browser (LaTeXML's JATS
    // article): it opens with the desktop's program, like DVI and PDF files.
    // nullptr: every result of a web route is a page.
    bool (*opensWithDesktop)(const QString& result) = nullptr;
};

// The last log of each route, read by View Log, under the route's log slot.
class RouteLogs {
public:
    QString& operator[](const Route& route) { return m_logs[QLatin1String(route.logSlot)]; }
    QString operator[](const Route& route) const {
        return m_logs.value(QLatin1String(route.logSlot));
    }

private:
    QHash<QString, QString> m_logs;
};

using RouteTable = std::span<const Route>;

// The program's routes in tab order. Defined with the drivers, so that
// every context starts with the complete table.
RouteTable builtInRoutes();

// The tab of a route of the table (1 for the first), and the Help tab's.
int tabOf(RouteTable routes, const Route& route);
int helpTab(RouteTable routes);
// The route on `tab`, or nullptr (the Help tab, an unknown index).
const Route* routeForTab(RouteTable routes, int tab);
// The route with batch-mode name `key`, or nullptr.
const Route* routeForKey(RouteTable routes, const QString& key);

// Validates the program locations for the context's routes (the path check
// of the settings, fed from the route table).
void CheckPaths(AppContext& ctx);
// True when the route's program was found, or is not needed with the
// options as they are (DVI and PDF without texify); the window disables
// Convert otherwise.
bool routeCanRun(const AppContext& ctx, const Route& route);

// Every key of Morvane.ini in reading order: the program's own keys, each
// route's section in tab order, then the keys that follow them.
QList<IniKey> allIniKeys(RouteTable routes);
// The rows of Program Locations, in dialog order (row 1 first): the TeX
// documents folder, each route's rows in tab order, the shared tools.
QList<LocationRow> allLocationRows(RouteTable routes);

} // namespace morvane
