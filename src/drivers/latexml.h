#pragma once

#include "pipeline/route.h"
#include "settings/latexmlchoice.h"

#include <QString>
#include <QStringList>

namespace morvane {

struct AppContext;
struct Conversion;
class OptionsModel;

// The LaTeXML tab's options.
struct LatexmlOptions {
    LatexmlFormat format = LatexmlFormat::Html5; // cmbLatexmlFormat
    LatexmlSplit split = LatexmlSplit::OnePage;  // cmbLatexmlSplit
    bool mathImages = false;                     // optLatexmlMath_1
    bool bibliography = true;                    // chkLatexmlBibliography
    // latexmlc's own time cap, which would otherwise end a run at 600 s
    // whatever time limit the user allows; 0 leaves latexmlc's.
    int timeoutSeconds = 0;

    static LatexmlOptions from(const OptionsModel& model);
};

// latexmlc's options for them, fixed words and numbers only (never a name):
// "--format=html5", "--splitat=section", "--mathimages --nopresentationmathml",
// "--preload=[nobibtex]latexml.sty" (LaTeXML then reads the document's
// BibTeX .bbl instead of its .bib files), "--timeout=N".
QStringList latexmlArguments(const LatexmlOptions& options);

// The settings block: latexmlc's folder (progpath) and its options (cmdline).
QString latexmlSettings(const AppContext& ctx, const OptionsModel& options,
                        const QString& commandLine);

// The document's output folder: <root>/<name>, or <root>/<name>-latexml when
// <root>/<name> is the document's own folder, where the pages, pictures and
// style sheets would lie among the author's files.
QString latexmlOutputDirectory(const AppContext& ctx, const QString& file);

// Where the route saves its result: <name>.html (.xhtml, .xml for JATS) in
// the document's output folder.
OutputPlace latexmlPlace(const AppContext& ctx, const QString& file);

// "HTML", "XHTML" or "XML": the Run/Show captions for the chosen format.
QString latexmlResultWord(const AppContext& ctx);

// A JATS article is XML for other programs, not a page: it opens with the
// desktop's program for it.
bool latexmlOpensWithDesktop(const QString& result);

// The LaTeXML driver: runs latexmlc through the batch driver in the
// document's output folder, with the document's folder on its search path,
// gives its log the header and judges it. Nothing is written beside the
// document.
ConversionResult Latexml(Conversion& conv);

} // namespace morvane
