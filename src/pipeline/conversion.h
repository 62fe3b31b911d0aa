#pragma once

#include "pipeline/logentry.h"

#include "pipeline/route.h"
#include "platform/runlimits.h"
#include "settings/optionsmodel.h"

#include <QByteArray>
#include <QString>

namespace morvane {

struct AppContext;

// One conversion, from the Convert command to its result. Everything that
// belongs to this run lives here, not on the shared context: in multiple mode
// a further Convert runs nested inside this one's wait and gets a value of its
// own, so neither can reset the other's stop flag or link answer.
struct Conversion {
    Conversion(AppContext& app, const Route& route, const QString& document);
    Conversion(const Conversion&) = delete;
    Conversion& operator=(const Conversion&) = delete;

    AppContext& app;
    const Route& route;
    // The file the user asked to convert, and the file the driver converts:
    // the same, or a copy or plain alias of it.
    QString document;
    QString source;
    // The options as they were when Convert was pressed: a nested conversion
    // or a click during the wait does not change what this run composes.
    OptionsModel options;

    QString sourceExtension = QStringLiteral(".tex"); // cut off to get the base name
    QString expectedOutput;                           // the file the route produces
    int linkAnswer = 0;                               // remembered answer of the link question
    int includeDepth = 0;                             // nested include handling
    // TeX4ht's working copy: the document places pictures in bare \frame{
    // blocks (set by the graphics fix-up, read by the babel and swpht step).
    bool rawFrame = false;
    // The author's own tex4ht package line stayed in the working copy (set by
    // the package step, read by the result-extension rule).
    bool keptPackageLine = false;
    // The batch driver as Writebat just wrote it, for the run about to start:
    // that run executes a private copy of these bytes.
    QByteArray writtenBatchDriver;
    // The folder of the user's document, for a route that converts a copy of
    // it elsewhere: TeX, BibTeX, Biber, makeindex and the converter look
    // there after the folder they run in, so they find the document's own
    // packages, bibliographies and pictures without a copy of its folder.
    // Empty when the converter runs beside the document.
    QString documentFolder;
    // A folder of stand-ins for programs the converter starts (the TeX4ht
    // route's, drivers/tex4htstandins.h), put first in its PATH; empty: the
    // programs run as the converter finds them.
    QString standInPrograms;
    // A private folder where the references, bibliography and index of a
    // document converted beside itself (HeVeA, TtH) were prepared: the
    // converter reads them from there, so none is written beside the
    // document. Empty when none was prepared.
    QString preparedFolder;
    // The errors and warnings of that preparation's LaTeX run: listed with
    // the converter's, though they never stop the conversion.
    LogEntries preparationEntries;
    // The console's title for a run that is a step of its own before the
    // converter ("Preparing references of paper.tex"); empty for the
    // converter's run.
    QString stepTitle;
    // The user stopped the converter: the run shows nothing.
    bool stopped = false;
    // A limit ended the converter (the run then counts as stopped too), and
    // the limits that run had.
    LimitReached limitReached = LimitReached::None;
    RunLimits limits;
    // The most memory one of its converter runs held, as the limit watch saw it.
    qint64 peakMemoryBytes = 0;
    // The user's document, lying in its own output directory, that the user
    // agreed to have converted where it lies once its backup existed: the
    // working-copy steps may edit it. Empty otherwise.
    QString convertedInPlace;

    ConversionResult result;
};

// The route's word for convert.sh, between blanks: " hevea ".
inline QString routeWord(const Conversion& conversion) {
    return QLatin1Char(' ') + QLatin1String(conversion.route.scriptRoute) + QLatin1Char(' ');
}

} // namespace morvane
