#pragma once

#include <QString>
#include <QStringList>

namespace morvane {

// How Morvane.ini values are spelled and read back.

// Yes/No flag: true when the value's first character, upper-cased, is "Y".
bool yesFlag(const QString& value);
// True/False flag: true when the whole value, lower-cased, is "true".
bool trueFlag(const QString& value);
// AdvancedSave: true unless the value is exactly "False".
bool advancedSaveFlag(const QString& value);

// The leading number of a value: leading blanks skipped, the longest numeric
// prefix taken ("3x" gives 3, "" and "No" give 0). Not rounded.
double leadingNumber(const QString& value);
// A number setting: the leading number rounded to an integer (halves to the
// even neighbour) and held within the 16-bit range.
int numberValue(const QString& value);
// A list-index setting: the number when it selects one of `entries`
// entries, else the first entry (0).
int listIndexValue(const QString& value, int entries);
// StartupTab: the number modulo the number of routes; a negative remainder
// gives the first tab.
int startupTabValue(int stored, int routeCount);
// ScrollPercent: the number held within 0..50, as a fraction.
double scrollFractionValue(const QString& value);
// The percentage stored for a scroll fraction.
int scrollPercentValue(double fraction);

// The TeX4ht argument list (index 0 = element 1) and the two keys that keep
// elements 5 and 6 (Cmdline) and elements 1 and 2 (Htruncommand).
// Reading restores the enclosing quotes that the profile read removed and
// splits at the first blank; with no blank element 5 takes the whole value
// and element 6 stays as it was.
void splitCmdline(const QString& stored, QStringList& args);
// Element 5 and element 6, each trimmed, joined by one blank (none when
// element 6 is empty). An empty element 5 before a non-empty element 6 is
// stored as an empty quoted argument, so that element 6 reads back into its
// own place.
QString joinCmdline(const QStringList& args);
// Element 1 is the program ("htlatex", "ht latex", "htrun", a batch file),
// element 2 the htrun switch, which always begins with "-": the value is
// split before " -"; without one element 1 takes the whole value and
// element 2 stays as it was.
void splitHtruncommand(const QString& stored, QStringList& args);
// Elements 1 and 2, trimmed, joined by one blank (none when element 2 is
// empty).
QString joinHtruncommand(const QStringList& args);

// The entries of the HeVeA verbosity combo.
QStringList heveaVerboseEntries();
// The OutputType word for the selected HeVeA output option.
QString outputTypeWord(int optOutputIndex);

} // namespace morvane
