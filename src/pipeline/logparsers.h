#pragma once

// The converters' logs read as lists of errors and warnings. Every parser
// takes the log's bytes, the converter's working directory (relative file
// names in the log are relative to it) and the document the log is about
// (the file of messages that name none). They stay linear in the log's size
// and give at most logtext::kMaxEntries entries.

#include "pipeline/logentry.h"

#include <QByteArrayView>

namespace morvane {

struct LogSource {
    QString baseDir;  // where the converter ran
    QString document; // the file of messages that name no file
};

// LaTeX's own log: "! message" with its "l.N" line, in the file that the
// parentheses of the log have open; "file:line: message" lines
// (-file-line-error); LaTeX, class and package warnings; TeX4ht's warnings.
LogEntries parseLatexLog(QByteArrayView log, const LogSource& source);
// HeVeA's messages: "file.tex:N: Warning: ..." and "file.tex:N: ..." errors.
LogEntries parseHeveaLog(QByteArrayView log, const LogSource& source);
// TtH's messages: "**** ..." lines, with the line they name.
LogEntries parseTthLog(QByteArrayView log, const LogSource& source);
// The LaTeX2HTML route's log: the images log (a LaTeX log), latex2html's
// "*** Error:" lines and the WARNINGS file after a "Warnings:" line.
LogEntries parseL2hLog(QByteArrayView log, const LogSource& source);
// pandoc's messages: "[WARNING] ..." lines (a position "at FILE line N" at
// their end), and the "Error at ..." or "pandoc: ..." with which it gives up.
LogEntries parsePandocLog(QByteArrayView log, const LogSource& source);
// latexmlc's log: "Error:CATEGORY:OBJECT message", "Warning:..." and
// "Fatal:..." lines, placed by the tab-indented lines that follow them ("at
// FILE; line N col M - ...", and "In ... /path/FILE; from line ..." for the
// file's path); "Status:conversion:3" without a "Fatal:" line still means
// it gave up.
LogEntries parseLatexmlLog(QByteArrayView log, const LogSource& source);

// A route's parser of its log.
using LogParser = LogEntries (*)(QByteArrayView log, const LogSource& source);

// The log read from `logFile` with a route's parser; no entries when it
// cannot be read.
LogEntries readRouteLog(LogParser parse, const QString& logFile, const QString& document);

} // namespace morvane
