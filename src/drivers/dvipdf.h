#pragma once

#include "pipeline/route.h"

#include <QByteArray>
#include <QString>

namespace morvane {

struct AppContext;
struct Conversion;
class OptionsModel;

// The DVI and PDF tabs' options.
struct DviPdfOptions {
    bool dviTexify = false; // chkTexify(0): texify instead of one LaTeX run
    bool dviReport = false; // chkReport(0): texify reports what it does
    bool pdfTexify = false; // chkTexify(1): texify in PDF mode
    bool pdfReport = false; // chkReport(1)
    bool swpgs = false;     // chkSWPGS: the TrueTeX + Ghostscript chain
    int passesIndex = 0;    // cmbpdfPasses' list index

    static DviPdfOptions from(const OptionsModel& model);
};

// How a DVI or PDF conversion is made.
enum class DviPdfMethod {
    Latex,    // one latex run (DVI)
    Pdflatex, // one pdflatex run (PDF)
    Texify,   // texify (texi2dvi), for DVI or PDF
    Chain,    // TrueTeX + Ghostscript (not available on Linux)
    None,     // texify and the chain both ticked: nothing is run
};

// The PDF method: 10 x texify + chain, as the tab's two boxes give it.
DviPdfMethod pdfMethod(const DviPdfOptions& options);
DviPdfMethod dviMethod(const DviPdfOptions& options);

// texify's options for DVI: " -V " with its blanks when reporting, else empty.
QString dviTexifyOptions(const DviPdfOptions& options);
// texify's options for PDF: "-p", or "-p -V" when reporting.
QString pdfTexifyOptions(const DviPdfOptions& options);

// One composed conversion: what convert.sh is told and which files it makes.
struct DviPdfRun {
    DviPdfMethod method = DviPdfMethod::None;
    bool writesSettings = false; // Writebat(settings, "texify") comes first
    QString settings;            // texify's options
    QString commandLine;         // the convert.sh command; empty when nothing runs
    QString result;              // the DVI or PDF file
    QString log;                 // LaTeX's log
};

// Composes the run for `source` (a TeX file with `sourceExtension`):
// `batchDriver` is the path of convert.sh. The result and the log are the
// source cut before its extension with ".dvi"/".pdf" and ".log", for every
// method: latex, pdflatex and texi2dvi all name their files so.
DviPdfRun composeDviRun(const DviPdfOptions& options, const QString& batchDriver,
                        const QString& source, const QString& sourceExtension);
DviPdfRun composePdfRun(const DviPdfOptions& options, const QString& batchDriver,
                        const QString& source, const QString& sourceExtension);

// True when a LaTeX log reports an error: a line that begins with "!"
// ("! Undefined control sequence.", "! LaTeX Error: ...", "! Emergency stop."),
// or one in the file:line:error form ("./paper.tex:3: Undefined control
// sequence.") that texi2dvi asks TeX for.
bool latexLogHasErrors(const QByteArray& messages);
// Puts `header` in front of a LaTeX log and judges what LaTeX wrote; a log
// that could not be read or rewritten leaves View Log as it is.
LogVerdict judgeLatexLog(const QString& log, const QString& header);

// The DVI and PDF routes write next to the TeX file.
OutputPlace dviPlace(const AppContext& ctx, const QString& file);
OutputPlace pdfPlace(const AppContext& ctx, const QString& file);

// What the PDF route tells the user when the TrueTeX chain is chosen.
QString trueTexUnavailableText();

// The DVI route: latex once, or texify, on `source` through the batch driver;
// gives LaTeX's log a header and judges it.
ConversionResult TeXtoDVI(Conversion& conv);
// The PDF route: pdflatex once, or texify in PDF mode; the TrueTeX chain is
// not available on Linux and says so.
ConversionResult TeXtoPDF(Conversion& conv);

} // namespace morvane
