#pragma once

#include "pipeline/route.h"
#include "settings/pandocsettings.h"

#include <QString>

namespace morvane {

struct AppContext;
struct Conversion;
class OptionsModel;

// The pandoc tab's options.
struct PandocOptions {
    PandocFormat format = PandocFormat::Html5; // cmbPandocFormat
    bool standalone = true;                    // chkPandocStandalone: a whole web page
    bool tableOfContents = false;              // chkPandocToc
    bool numberSections = false;               // chkPandocNumber
    bool citations = true;                     // chkPandocCiteproc: citeproc and the .bib
    QString citationStyle;                     // txtPandocCsl: a .csl file; empty: pandoc's own

    static PandocOptions from(const OptionsModel& model);
};

// pandoc's options as the words of the settings block's command line. No
// name is among them: the citation style file has a setting of its own, and
// the document, the result and the picture folders are the batch driver's
// arguments.
QString pandocArguments(const PandocOptions& options);

// The folder of a document's results below the pandoc output root.
QString pandocOutputDirectory(const AppContext& ctx, const QString& file);

// Where the pandoc route saves its result: NAME.html (.epub, .docx, .odt) in
// a folder named after the file below the pandoc output root.
OutputPlace pandocPlace(const AppContext& ctx, const QString& file);

// The pandoc route: runs pandoc on the document where it lies (it reads the
// files the document inputs and its .bib from there, and writes nothing
// there) with the result in its own folder, gives its log a header, brings
// the pictures a web page names into that folder and checks the log.
ConversionResult Pandoc(Conversion& conv);

} // namespace morvane
