#pragma once

#include <QString>
#include <QStringList>

namespace morvane {

class OptionsModel;

// Puts the file box's text at the top of the history (cmbTeX's items), at most
// ten entries, no two equal paths.
void rememberFile(OptionsModel& model);

// FileList.txt in the program directory.
QStringList loadFileHistory(const QString& programDir);
bool saveFileHistory(const QString& programDir, const QStringList& history);

} // namespace morvane
