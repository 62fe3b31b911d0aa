// The logs of HeVeA, TtH and LaTeX2HTML as errors and warnings, and the
// reading of a route's log with its parser.

#include "pipeline/logparsers.h"
#include "pipeline/logtext.h"

#include <QFile>
#include <QFileInfo>

namespace morvane {

using namespace logtext;

LogEntries parseHeveaLog(QByteArrayView log, const LogSource& source) {
    LogEntries entries;
    LogLines lines(log);
    QByteArrayView line;
    int lastLine = 0;
    // With "Iterate for xrefs" HeVeA runs again until its labels settle: a
    // label an earlier round reported undefined is defined in the last one.
    const qsizetype lastRound =
        log.contains("Fixpoint reached in ") ? log.lastIndexOf("Run, run, again...") : -1;
    while (entries.size() < kMaxEntries && lines.next(line)) {
        if (line.data() - log.data() < lastRound && line.contains(": Warning: Undefined label: "))
            continue;
        // An uncaught exception ends HeVeA with a line that names no place:
        // the last place it named is where it was.
        // Morvane's own finding (pictures the pages show that were not made).
        if (line.startsWith("! Morvane: ")) {
            entries.append(
                {LogEntry::Severity::Error, source.document, 0, messageText(line.sliced(2))});
            continue;
        }
        if (line.startsWith("Fatal error")) {
            LogEntry fatal{LogEntry::Severity::Error, source.document, lastLine, messageText(line)};
            fatal.fatal = true;
            entries.append(fatal);
            continue;
        }
        const auto located = locatedLine(line);
        if (!located)
            continue;
        lastLine = located->line;
        // HeVeA warns of a file it cannot read, but the text or picture in it
        // is missing from the page: for the user that is an error.
        const bool lostFile = located->rest.startsWith("Warning: Cannot open file: ") ||
                              located->rest.startsWith("Warning: Cannot find file: ");
        const bool warning = located->rest.startsWith("Warning: ") && !lostFile;
        entries.append({warning ? LogEntry::Severity::Warning : LogEntry::Severity::Error,
                        resolvedFile(located->file, source.baseDir), located->line,
                        messageText(located->rest.startsWith("Warning: ") ? located->rest.sliced(9)
                                                                          : located->rest)});
    }
    return entries;
}

LogEntries parseTthLog(QByteArrayView log, const LogSource& source) {
    LogEntries entries;
    LogLines lines(log);
    QByteArrayView line;
    while (entries.size() < kMaxEntries && lines.next(line)) {
        // An \input file TtH cannot find is text missing from the page.
        if (line.startsWith("Input file ") && line.trimmed().endsWith(" not found")) {
            entries.append({LogEntry::Severity::Error, source.document, 0, messageText(line)});
            continue;
        }
        if (!line.startsWith("****"))
            continue;
        const QByteArrayView message = line.sliced(4);
        const bool error = message.contains("Error") || message.contains("Fatal");
        int number = qMax(numberAfter(message, "Line"), numberAfter(message, "line"));
        // A fatal error names its line on the next line: "Check for TeX
        // errors or incompatibilities before line 3,".
        if (number == 0 && !lines.peek().startsWith("****"))
            number = numberAfter(lines.peek(), "line");
        LogEntry entry{error ? LogEntry::Severity::Error : LogEntry::Severity::Warning,
                       source.document, number, messageText(message)};
        entry.fatal = message.contains("Fatal") || message.contains("FATAL");
        entries.append(entry);
    }
    return entries;
}

namespace {

// The paragraphs of LaTeX2HTML's WARNINGS file, one warning each.
void addWarningParagraphs(QByteArrayView text, const LogSource& source, LogEntries& entries) {
    LogLines lines(text);
    QByteArray paragraph;
    QByteArrayView line;
    auto flush = [&] {
        if (!paragraph.trimmed().isEmpty() && entries.size() < kMaxEntries)
            entries.append(
                {LogEntry::Severity::Warning, source.document, 0, messageText(paragraph)});
        paragraph.clear();
    };
    while (entries.size() < kMaxEntries && lines.next(line)) {
        if (line.trimmed().isEmpty()) {
            flush();
        } else if (paragraph.size() < kMaxMessage) {
            if (!paragraph.isEmpty())
                paragraph += ' ';
            paragraph += line.trimmed().toByteArray();
        }
    }
    flush();
}

} // namespace

LogEntries parseL2hLog(QByteArrayView log, const LogSource& source) {
    // The images log comes first; latex2html's own messages begin with its
    // banner; the WARNINGS file follows the last "Warnings:" line.
    qsizetype messages = log.indexOf("\nThis is LaTeX2HTML");
    if (messages < 0)
        messages = log.size();
    // The "Warnings:" line may end in CR LF, as every other line may.
    qsizetype warnings = log.lastIndexOf("\nWarnings:\n");
    qsizetype warningsLineEnd = 1;
    if (const qsizetype crlf = log.lastIndexOf("\nWarnings:\r\n"); crlf > warnings) {
        warnings = crlf;
        warningsLineEnd = 2;
    }
    if (warnings < messages)
        warnings = -1;

    LogEntries entries = parseLatexLog(log.first(messages), source);
    const QByteArrayView converterMessages =
        log.sliced(messages, (warnings < 0 ? log.size() : warnings) - messages);
    LogLines lines(converterMessages);
    QByteArrayView line;
    while (entries.size() < kMaxEntries && lines.next(line)) {
        const qsizetype at = line.indexOf("*** Error: ");
        if (at >= 0)
            entries.append(
                {LogEntry::Severity::Error, source.document, 0, messageText(line.sliced(at + 11))});
        // "Unknown commands: foo bar": each is left out of the page.
        if (line.startsWith("Unknown commands: ")) {
            for (const QByteArray& name : line.sliced(18).toByteArray().simplified().split(' '))
                if (!name.isEmpty() && entries.size() < kMaxEntries)
                    entries.append(
                        {LogEntry::Severity::Warning, source.document, 0,
                         QStringLiteral("Unknown command \\") + QString::fromUtf8(name)});
        }
    }
    if (warnings >= 0)
        addWarningParagraphs(log.sliced(warnings + 10 + warningsLineEnd), source, entries);
    return entries;
}

LogEntries readRouteLog(LogParser parse, const QString& logFile, const QString& document) {
    QFile file(logFile);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Mapped rather than read: a log of many megabytes costs no copy.
    const qsizetype size = file.size();
    const uchar* mapped = size > 0 ? file.map(0, size) : nullptr;
    QByteArray read;
    if (!mapped && size > 0)
        read = file.readAll();
    const QByteArrayView log =
        mapped ? QByteArrayView(reinterpret_cast<const char*>(mapped), size) : QByteArrayView(read);

    const LogSource source{QFileInfo(logFile).absolutePath(), document};
    return parse(log, source);
}

} // namespace morvane
