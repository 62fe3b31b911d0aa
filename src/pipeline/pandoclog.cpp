// pandoc's messages as errors and warnings.
//
// pandoc writes "[WARNING] message" (continued on lines indented by two
// blanks), often ending "at FILE line N column M"; it gives up with
// "Error at "FILE" (line N, column M):" followed by the reason, or with a
// line starting "pandoc: ".

#include "pipeline/logparsers.h"
#include "pipeline/logtext.h"

namespace morvane {

using namespace logtext;

namespace {

struct Place {
    QString file;
    int line = 0;
};

// "... at main.tex line 83 column 26": the file and line at the end of a
// warning; the document where the message names none.
Place placeInWarning(QByteArrayView message, const LogSource& source) {
    const qsizetype at = message.lastIndexOf(" at ");
    const qsizetype line = message.lastIndexOf(" line ");
    if (at < 0 || line < at)
        return {source.document, 0};
    const QByteArrayView file = message.sliced(at + 4, line - at - 4).trimmed();
    return {file.isEmpty() ? source.document : resolvedFile(file, source.baseDir),
            numberAfter(message.sliced(line), "line")};
}

// "Error at "bad.tex" (line 8, column 2):"
Place placeInError(QByteArrayView line, const LogSource& source) {
    const qsizetype open = line.indexOf('"');
    const qsizetype close = open < 0 ? -1 : line.indexOf('"', open + 1);
    if (close < 0)
        return {source.document, 0};
    return {resolvedFile(line.sliced(open + 1, close - open - 1), source.baseDir),
            numberAfter(line.sliced(close), "line")};
}

// pandoc names a page without a \title after its file, and says so on
// every such run; nothing is lost by it.
bool isRoutine(QByteArrayView message) {
    return message.startsWith("This document format requires a nonempty <title> element.");
}

bool isContinuation(QByteArrayView line) {
    return line.startsWith("  ") || line.trimmed() == "^";
}

// The message and the lines that continue it, joined by blanks.
QByteArray withContinuations(QByteArrayView first, LogLines& lines) {
    QByteArray message = first.trimmed().toByteArray();
    while (!lines.atEnd() && isContinuation(lines.peek())) {
        QByteArrayView next;
        lines.next(next);
        if (next.trimmed() != "^" && !next.trimmed().isEmpty())
            message += ' ' + next.trimmed().toByteArray();
    }
    return message;
}

} // namespace

LogEntries parsePandocLog(QByteArrayView log, const LogSource& source) {
    LogEntries entries;
    LogLines lines(log);
    QByteArrayView line;
    while (entries.size() < kMaxEntries && lines.next(line)) {
        if (line.startsWith("[WARNING] ")) {
            const QByteArray message = withContinuations(line.sliced(10), lines);
            if (isRoutine(message))
                continue;
            const Place place = placeInWarning(message, source);
            entries.append(
                {LogEntry::Severity::Warning, place.file, place.line, messageText(message)});
        } else if (line.startsWith("Error at \"")) {
            const Place place = placeInError(line, source);
            // The reason follows on the lines up to a blank one.
            QByteArray reason;
            while (!lines.atEnd() && !lines.peek().trimmed().isEmpty()) {
                QByteArrayView next;
                lines.next(next);
                reason += (reason.isEmpty() ? "" : "; ") + next.trimmed().toByteArray();
            }
            LogEntry entry{LogEntry::Severity::Error, place.file, place.line,
                           messageText(reason.isEmpty() ? line : reason)};
            entry.fatal = true;
            entries.append(entry);
        } else if (line.startsWith("pandoc: ")) {
            LogEntry entry{LogEntry::Severity::Error, source.document, 0,
                           messageText(withContinuations(line.sliced(8), lines))};
            entry.fatal = true;
            entries.append(entry);
        } else if (line.startsWith("! Morvane: ")) {
            // Morvane's own finding: pictures the page shows that are not there.
            entries.append(
                {LogEntry::Severity::Error, source.document, 0, messageText(line.sliced(2))});
        }
    }
    return entries;
}

} // namespace morvane
