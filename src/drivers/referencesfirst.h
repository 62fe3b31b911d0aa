#pragma once

#include "platform/privatefile.h"

#include "settings/controlnames.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace morvane {

struct Conversion;

// "Prepare references, bibliography and index": before a web route's
// converter runs, LaTeX with BibTeX or Biber and makeindex (latexmk where
// installed, else texi2dvi, in non-stop mode) makes the document's .aux, .bbl
// and .ind where the converter reads them, when the document needs them and
// they are missing or older than any of its sources. The step shows on the
// console as a step of its own; its errors show there and never stop the
// conversion.

// What a document's text asks LaTeX's helpers for.
struct ReferenceNeeds {
    bool aux = false;          // \ref, \pageref, \eqref, \cite and their kin
    bool bibliography = false; // \bibliography or biblatex's \addbibresource
    bool index = false;        // \makeindex or \printindex

    bool any() const { return aux || bibliography || index; }
    // The files that hold what it asks for: BASE.aux, BASE.bbl, BASE.ind.
    QStringList products(const QString& base) const;
};

// The needs of a TeX text (comments skipped).
ReferenceNeeds referenceNeedsOf(const QByteArray& texText);

// The document's sources: itself, the TeX files and pictures it inputs, and
// the bibliography files its \bibliography and \addbibresource name (found
// beside it).
QStringList referenceSourcesOf(const QString& document);

// The needs of the document and the TeX files it inputs.
ReferenceNeeds referenceNeedsOfDocument(const QString& document);

// True when one of `products` is missing or older than one of `sources`.
bool productsOutOfDate(const QStringList& products, const QStringList& sources);

// The engine the preparation runs: DVI for the TeX4ht route (its working
// copy may load the tex4ht package, which writes DVI), else PDF.
enum class PreparationEngine { Dvi, Pdf };

// Runs the preparation of `file` (a name in `folder`, or an absolute path)
// in `folder`, which must never be the document's own (LaTeX would write
// over the author's .aux, .log and .pdf) through convert.sh's "prepare" route, with the console
// titled as a step of its own. The conversion's document folder is searched as for the converter.
// Its outcome is not judged: the converter's run shows what is still missing. A stop from the
// console stops the conversion (conv.stopped).
void runReferencePreparation(Conversion& conv, const QString& file, const QString& folder,
                             PreparationEngine engine);

// The check box's decision for a route whose converter reads the results
// in `folder` as BASE.aux/.bbl/.ind, of those `reads` names: true when `box`
// is ticked, `document` needs one of them and it is missing there or older
// than one of the document's sources. A bibliography counts only when one of
// its .bib files lies beside the document: without it BibTeX would only spoil
// the .bbl the document came with.
bool referencesNeedPreparing(const Conversion& conv, ctl::Control box, const QString& document,
                             const QString& folder, const QString& base,
                             const ReferenceNeeds& reads);

// For a route that converts the working copy `workingCopy` in its output
// folder (TeX4ht, LaTeX2HTML): prepares there what `reads` names when
// referencesNeedPreparing says so for the conversion's source, but never for
// a document converted where it lies (LaTeX would write over its author's
// own files). False when the user stopped the step.
bool prepareBesideWorkingCopy(Conversion& conv, ctl::Control box, const QString& workingCopy,
                              const ReferenceNeeds& reads, PreparationEngine engine);

// For a converter that runs beside the document (HeVeA, TtH) and reads
// what `reads` names: when the document needs it and its own files beside
// it lack it or are out of date, prepares it in a private folder, which
// lives as long as this value, and names that folder in the conversion
// (Conversion::preparedFolder) for convert.sh to hand to the converter.
// Nothing is written beside the document.
class PrivatePreparation {
public:
    PrivatePreparation(Conversion& conv, ctl::Control box, const ReferenceNeeds& reads);
    PrivatePreparation(const PrivatePreparation&) = delete;
    PrivatePreparation& operator=(const PrivatePreparation&) = delete;

private:
    std::unique_ptr<PrivateFolder> m_dir;
};

} // namespace morvane
