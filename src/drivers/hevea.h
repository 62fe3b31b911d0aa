#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace morvane {

struct AppContext;
class OptionsModel;

// HeVeA's options from the HeVeA tab, in the order HeVeA wants them: French
// mode, verbosity, the used style files and the excluded file, -fix, -O, with
// "-exec xxdate.exe " in front when the 1.05-or-later box is ticked.
QString heveaOptions(const OptionsModel& model);

// The output-type piece that goes in front of the options: "", " -text " or
// " -info " for optOutput 0, 1, 2.
QString heveaOutputTypePiece(const OptionsModel& model);

// The file HeVeA's route shows: index.<ext> with hacha, else <name>.<ext>,
// in `dir` (which ends in "/").
QString heveaResultFile(const QString& dir, const QString& name, const QString& extension,
                        bool hacha);

// The pages hacha leaves in `dir`: index.html and name???.html, sorted.
QStringList hachaPages(const QString& dir, const QString& name);

// What the HeVeA log says about the run.
enum class LogVerdict { Clean, Errors, Unchanged };

// Judges a HeVeA log: `logSize` is its length in bytes, `logStart` its first
// bytes, `headerLength` the bytes of its header line with both line ends and
// `dirLength` the bytes of the TeX file's directory. Fewer than 31 bytes
// beyond header and directory is clean; otherwise the log holds errors when
// at least 51 characters of what HeVeA wrote (within the first 500 bytes of
// the log) remain after dropping "hevea is using the .hvb file".
LogVerdict judgeHeveaLog(qint64 logSize, const QByteArray& logStart, qint64 headerLength,
                         qint64 dirLength);

// The HeVeA route: runs hevea (and hacha, esponja) on `source` through the
// batch driver, fixes the links of the produced pages, shows the result and
// marks View Log when HeVeA complained.
void Hevea(AppContext& ctx, const QString& source);

} // namespace morvane
