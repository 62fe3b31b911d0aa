#pragma once

#include "pipeline/route.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace morvane {

struct AppContext;
struct Conversion;
class OptionsModel;

// The HeVeA tab's options as the driver composes them.
struct HeveaOptions {
    bool french = false;        // chkFrench
    int verbosity = 0;          // cmbHeveaVerbose: 0 quiet, 1 "-v", 2 "-v -v"
    bool useStyles = false;     // chkStyle
    QStringList styleRows;      // List1, in the order HeVeA is to read them
    QString excluded;           // txtExclude
    bool iterate = false;       // chkFix
    bool recentVersion = false; // chkVersion (1.05 or later: "-exec xxdate.exe")
    bool esponja = false;       // chkEsponja
    int outputType = 0;         // optOutput: 0 HTML, 1 text, 2 info
    bool hacha = false;         // chkHacha

    static HeveaOptions from(const OptionsModel& model);
};

// HeVeA's options in the order HeVeA wants them: French mode, verbosity, the
// used style files and the excluded file, -fix, -O, with "-exec xxdate.exe "
// in front for HeVeA 1.05 or later.
QString heveaOptions(const HeveaOptions& options);

// The output-type piece that goes in front of the options: "", " -text " or
// " -info " for the output types 0, 1, 2.
QString heveaOutputTypePiece(const HeveaOptions& options);

// The folder whose *.hva files fill the HeVeA tab's style list.
QString heveaStyleDirectory(const AppContext& ctx);

// The output-kind word: "txt" gives "text"; "html" gives "HTML" with the case
// flag "U", else "html"; anything else is returned as it is.
QString Extend(const QString& outputType, const QString& caseFlag);

// The file HeVeA's route shows: index.<ext> with hacha, else <name>.<ext>,
// in `dir` (which ends in "/").
QString heveaResultFile(const QString& dir, const QString& name, const QString& extension,
                        bool hacha);

// The pages hacha leaves in `dir`: index.html and name???.html, sorted.
QStringList hachaPages(const QString& dir, const QString& name);

// Judges a HeVeA log: `logSize` is its length in bytes, `logStart` its first
// bytes, `headerLength` the bytes of its header line with both line ends and
// `dirLength` the bytes of the TeX file's directory. Fewer than 31 bytes
// beyond header and directory is clean; otherwise the log holds errors when
// at least 51 characters of what HeVeA wrote (within the first 500 bytes of
// the log) remain after dropping "hevea is using the .hvb file".
LogVerdict judgeHeveaLog(qint64 logSize, const QByteArray& logStart, qint64 headerLength,
                         qint64 dirLength);

// Where the HeVeA route saves its result: next to the TeX file, as
// index.html when hacha splits the pages.
OutputPlace heveaPlace(const AppContext& ctx, const QString& file);

// The HeVeA route: runs hevea (and hacha, esponja) on `source` through the
// batch driver, fixes the links of the produced pages and judges the log.
ConversionResult Hevea(Conversion& conv);

} // namespace morvane
