#pragma once

#include "pipeline/logentry.h"

#include <QObject>

class QTreeWidget;
class QTreeWidgetItem;

namespace morvane {

struct AppContext;

// The list of the last conversion's errors and warnings below the lower
// frame, with their count beside View Log. It hides itself when the log
// holds none, empties when the file box or the tab changes or a conversion
// starts; a double-click opens the file at its line in the TeX editor.
class ErrorList : public QObject {
    Q_OBJECT
public:
    ErrorList(AppContext& ctx, QTreeWidget* list, QObject* parent = nullptr);

    void show(const LogEntries& entries);

private:
    void open(QTreeWidgetItem* item);

    AppContext& m_ctx;
    QTreeWidget* m_list;
    LogEntries m_entries;
};

} // namespace morvane
