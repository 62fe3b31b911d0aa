#pragma once

#include "pipeline/resultmeasures.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

namespace morvane {

struct AppContext;
class ChildPrograms;

// One web route of a comparison and what its run gave.
struct ComparedRoute {
    // How it runs: the route's key, the word batch mode takes for it, its
    // caption in the report, and the Morvane.ini keys set for it
    // ("Section/Key=value").
    QString routeKey;
    QString word;
    QString caption;
    QStringList settings;

    // Where it runs: its folder in the comparison, with the program
    // directory and the copy of the document it converts.
    QString folder;

    // What it gave.
    bool ran = false; // its run ended (false: not started, or stopped)
    int status = 2;   // batch mode's exit status
    QString result;   // the page it produced; empty when none
    QString log;
    int errors = 0;
    int warnings = 0;
    double seconds = 0;
    qint64 peakMB = 0;
    ResultMeasures measures;
    double textCoverage = 0; // of the reference text, 0 to 1
    QString thumbnail;       // a PNG of the page's start; empty when none was made

    bool produced() const { return !result.isEmpty(); }
};

// A document converted by every installed web route into a comparison
// folder of its own, each route on its own copy of the document, several at
// once, and the results measured side by side. The user's files are only
// read.
class Comparison {
public:
    Comparison(AppContext& ctx, QString document);
    ~Comparison();

    // Makes the comparison folder next to the usual output places, with a
    // folder per route that can run; false, with `error` set, when it cannot.
    bool prepare(QString* error);
    // The runs of the routes (and of the PDF route whose text is the
    // reference, when pdflatex and pdftotext are there), `jobs` at once. The
    // caller starts them and serves events until they end.
    ChildPrograms& runs(int jobs);
    // The runs made by runs(), or nullptr before.
    ChildPrograms* currentRuns() const { return m_runs.get(); }
    // The run's route for child `child` of runs(); -1 for the reference.
    int routeOfChild(int child) const;
    // Reads what the runs reported, measures the pages, makes the thumbnails
    // and writes compare.json and compare.html into the folder.
    void finish();

    QString folder() const { return m_folder; }
    QString document() const { return m_document; }
    const QList<ComparedRoute>& routes() const { return m_routes; }
    // What the text coverage was measured against: "the PDF's text" or "the
    // source's words".
    QString referenceName() const { return m_referenceName; }
    // The route the score puts first; -1 when none produced a page.
    int recommended() const;

    // An aligned table of the routes, for batch mode.
    QString table() const;

private:
    void readReport(ComparedRoute& route, const QByteArray& line);
    void makeReferenceText();
    void makeThumbnails();
    void writeJson() const;
    void writeHtml() const;

    AppContext& m_ctx;
    QString m_document;
    QString m_folder;
    QString m_referencePdf;
    QString m_referenceName;
    QHash<QString, int> m_referenceWords;
    QList<ComparedRoute> m_routes;
    QList<int> m_childRoutes;
    std::unique_ptr<ChildPrograms> m_runs;
    QList<QByteArray> m_reports;
};

// A route's measures as the report shows them, after its status: errors,
// warnings, "??", broken links, MathML, formula pictures, TeX left, text
// held, pages, seconds, peak MB; and the captions of those columns.
QStringList measureCells(const ComparedRoute& route);
QStringList measureHeaders();

// Whether route `a` is better than route `b`: something produced first,
// then nothing lost (text coverage, in steps of 5 %), then references
// resolved (fewest "??" and broken links), then mathematics (fewest TeX
// words left, then MathML over pictures), then the shorter time.
bool betterThan(const ComparedRoute& a, const ComparedRoute& b);

// Makes the route of `compared` the selected tab, with the choices it ran
// with in the comparison (its output format, make4ht with MathML).
void useComparedRoute(AppContext& ctx, const ComparedRoute& compared);

// `morvane --compare FILE [--jobs=N] [--timeout=S] [--memory=MB]`: the
// comparison in batch mode, with progress and the table on standard
// output. Status 0 when at least one route gave a page without errors.
int runComparison(QStringList arguments);

} // namespace morvane
