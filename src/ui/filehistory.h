#pragma once

#include <QString>
#include <QStringList>

namespace morvane {

struct AppContext;

// Puts the file box's text at the top of the history (cmbTeX's items), at most
// ten entries, no two equal paths.
void rememberFile(AppContext& ctx);

// FileList.txt in the program directory.
QStringList loadFileHistory(const QString& programDir);
bool saveFileHistory(const QString& programDir, const QStringList& history);

} // namespace morvane
