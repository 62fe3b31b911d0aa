#pragma once

#include <QString>
#include <QStringList>

namespace morvane {

// codefragments.txt: one code fragment per line, offered in the TeX4ht
// tab's `cmbFrags` for the manual command line.

// The entries of `cmbFrags`: nothing when the file is missing, otherwise
// "-- Select a code fragment --" and then every line of the file.
QStringList codeFragmentEntries(const QString& programDir);

// The command line with `fragment` inserted at `cursor`.
QString withFragmentInserted(const QString& commandLine, qsizetype cursor, const QString& fragment);

} // namespace morvane
