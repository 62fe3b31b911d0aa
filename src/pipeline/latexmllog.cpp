// latexmlc's log as errors and warnings.
//
// A message is one line, "Error:CATEGORY:OBJECT text" (or "Warning:",
// "Fatal:"). In the log file latexmlc writes, lines indented by a tab follow
// it: "at FILE; line N col M - line N col M" says where, with FILE only the
// file's name, and "In Core::Gullet[@0x...] /path/FILE; from line ..." gives
// the path it read that file from. On its standard error the same message
// is one line ending in " at FILE; line N col M".

#include "pipeline/logparsers.h"
#include "pipeline/logtext.h"

#include <QDir>
#include <QFileInfo>
#include <optional>

namespace morvane {

using namespace logtext;

namespace {

struct MessageKind {
    QByteArrayView prefix;
    LogEntry::Severity severity;
    bool fatal;
};

constexpr MessageKind kKinds[] = {
    {"Error:", LogEntry::Severity::Error, false},
    {"Warning:", LogEntry::Severity::Warning, false},
    {"Fatal:", LogEntry::Severity::Error, true},
};

const MessageKind* kindOf(QByteArrayView line) {
    for (const MessageKind& kind : kKinds)
        if (line.startsWith(kind.prefix))
            return &kind;
    return nullptr;
}

// "FILE; line N col M ..." after an "at ".
struct Position {
    QByteArrayView file;
    int line = 0;
};

std::optional<Position> positionIn(QByteArrayView text) {
    const qsizetype semicolon = text.indexOf("; line ");
    if (semicolon <= 0)
        return std::nullopt;
    return Position{text.first(semicolon), numberAfter(text.sliced(semicolon), "line")};
}

// The path an "In ..." detail line names for the file `name` (the text
// between the first " /" and "; from line"), or nothing.
QByteArrayView pathOfNamedFile(QByteArrayView detail, QByteArrayView name) {
    const qsizetype end = detail.indexOf("; from line");
    const qsizetype start = detail.indexOf(" /");
    if (end < 0 || start < 0 || start >= end)
        return {};
    const QByteArrayView path = detail.sliced(start + 1, end - start - 1);
    if (!path.endsWith(name) || path.size() == name.size() ||
        path[path.size() - name.size() - 1] != '/')
        return {};
    return path;
}

// What one message says about its place.
struct Place {
    std::optional<Position> position;
    QByteArrayView path; // from an "In ..." line; empty when none named the file
};

// Token lists and strings ("String", "Anonymous String") have no file.
bool namesAFile(QByteArrayView name) {
    return name.contains('.') || name.contains('/');
}

QString fileOf(const Place& place, const LogSource& source) {
    if (!place.position || !namesAFile(place.position->file))
        return QDir::cleanPath(source.document);
    if (!place.path.isEmpty())
        return QDir::cleanPath(QString::fromUtf8(place.path));
    // A name alone is the document's or a file beside it.
    return resolvedFile(place.position->file, QFileInfo(source.document).absolutePath());
}

LogEntry entryAt(const MessageKind& kind, QByteArrayView text, const Place& place,
                 const LogSource& source) {
    const bool located = place.position && namesAFile(place.position->file);
    LogEntry entry{kind.severity, fileOf(place, source), located ? place.position->line : 0,
                   messageText(text)};
    entry.fatal = kind.fatal;
    return entry;
}

} // namespace

LogEntries parseLatexmlLog(QByteArrayView log, const LogSource& source) {
    LogEntries entries;
    bool gaveUp = false;
    LogLines lines(log);
    QByteArrayView line;
    while (entries.size() < kMaxEntries && lines.next(line)) {
        if (line.startsWith("Status:conversion:")) {
            // 3 is latexmlc's own "fatal": it stopped before the end.
            if (!gaveUp && numberAfter(line, "conversion:") >= 3) {
                LogEntry entry{LogEntry::Severity::Error, QDir::cleanPath(source.document), 0,
                               messageText("latexmlc gave up (" + line.toByteArray() + ")")};
                entry.fatal = true;
                entries.append(entry);
                gaveUp = true;
            }
            continue;
        }
        const MessageKind* kind = kindOf(line);
        if (!kind)
            continue;
        QByteArrayView text = line.sliced(kind->prefix.size());
        Place place;
        // The standard error's form: the place at the end of the line.
        if (const qsizetype at = text.lastIndexOf(" at "); at > 0) {
            if (const auto position = positionIn(text.sliced(at + 4))) {
                place.position = position;
                text = text.first(at);
            }
        }
        // The log file's form: indented lines that follow.
        while (lines.peek().startsWith('\t')) {
            lines.next(line);
            const QByteArrayView detail = line.trimmed();
            if (!place.position && detail.startsWith("at "))
                place.position = positionIn(detail.sliced(3));
            else if (place.position && place.path.isEmpty() && detail.startsWith("In "))
                place.path = pathOfNamedFile(detail, place.position->file);
        }
        entries.append(entryAt(*kind, text, place, source));
        gaveUp = gaveUp || kind->fatal;
    }
    return entries;
}

} // namespace morvane
