#pragma once

#include "settings/controlnames.h"
#include "settings/settingsvariables.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <span>

namespace morvane {

struct AppContext;

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

// Which of the remembered route logs a route writes; DVI and PDF share one.
enum class LogKind { Hevea, Tth, Tex4ht, L2h, DviPdf };

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
};

// The last log of each route, read by View Log.
struct RouteLogs {
    QString hevea;
    QString tth;
    QString tex4ht;
    QString l2h;
    QString dviPdf;

    QString& operator[](LogKind kind);
    const QString& operator[](LogKind kind) const;
};

// Where a route puts its result for a TeX file: the text of lblPath and the
// expected output file.
struct OutputPlace {
    QString label;
    QString expected;
};

using Driver = std::function<ConversionResult(AppContext& ctx, const QString& source)>;
using PlaceFinder = OutputPlace (*)(const AppContext& ctx, const QString& file);

using ResultWord = QString (*)(const AppContext& ctx);

// A route as a value: everything the tab strip, SavedPath, View Log, Show,
// CheckPaths, batch mode and --help need to know about it.
struct Route {
    const char* key;       // batch-mode and --help name ("hevea", "latex2html")
    Tab tab;               // its page of the tab strip
    const char* caption;   // "HeVeA", "TtH", ...
    ResultWord resultWord; // "HTML", "text", "DVI", ...: the Run/Show captions
    ResultKind shows;
    LogKind log;
    RouteProgram program; // the program location key and the program it needs
    // The check box without which the route needs no program of its own
    // (DVI and PDF run latex or pdflatex unless texify is ticked); nullptr
    // when the program is always needed.
    ctl::Control programBox;
    PlaceFinder place; // where its expected output lies
    // The output root chosen on the tab and the label that shows it (TeX4ht,
    // LaTeX2HTML); nullptr for routes that write next to the TeX file.
    QString SettingsVariables::*outputRoot;
    ctl::Control outputRootLabel;
    // latex, pdflatex, htlatex and texi2dvi fail on "~" or a blank in the
    // file name; HeVeA and TtH do not and need no renamed copy.
    bool needsPlainFileName;
    Driver driver; // nullptr while the route is not built
};

using RouteTable = std::span<const Route>;

// The program's six routes in tab order. Defined with the drivers, so that
// every context starts with the complete table.
RouteTable builtInRoutes();

// The route on `tab`, or nullptr (the Help tab, an unknown index).
const Route* routeForTab(RouteTable routes, int tab);
// The route with batch-mode name `key`, or nullptr.
const Route* routeForKey(RouteTable routes, const QString& key);

// Validates the program locations for the context's routes (the path check
// of the settings, fed from the route table).
void CheckPaths(AppContext& ctx);

} // namespace morvane
