#pragma once

#include <QList>
#include <QString>

namespace morvane {

// One message a converter wrote into its log, placed at its source line.
struct LogEntry {
    enum class Severity { Error, Warning };
    Severity severity = Severity::Error;
    QString file; // absolute path of the file the message is about
    int line = 0; // 1-based; 0 when the converter named no line
    QString message;
    // The converter gave up here ("Fatal error"): what it wrote is not the
    // whole document, whatever it produced.
    bool fatal = false;

    bool operator==(const LogEntry&) const = default;
};

using LogEntries = QList<LogEntry>;

// "file:line: error: message" (or "warning"), the form editors and IDEs jump
// to; without a line, "file: error: message".
QString compilerStyleLine(const LogEntry& entry);

// "2 errors, 1 warning" for the count beside View Log; empty for no entries.
QString entryCountText(const LogEntries& entries);

} // namespace morvane
