#pragma once

// What the log parsers share: walking a log line by line without copying it,
// and turning bytes of any kind into a short, printable message.

#include "pipeline/logentry.h"

#include <QByteArrayView>
#include <optional>

namespace morvane::logtext {

// A log yields at most this many entries, and a message at most this many
// characters: a 50 MB log of errors must still give a list a person can read.
inline constexpr qsizetype kMaxEntries = 1000;
inline constexpr qsizetype kMaxMessage = 400;

// The lines of a log, without their line ends ("\n" or "\r\n").
// Which of the bytes that the parsers look for a line holds: a line without
// them is passed over without searching it again.
struct LineShape {
    bool parenthesis = false; // '(' or ')'
    bool colon = false;
    bool dash = false;
    LineShape& operator|=(LineShape other) {
        parenthesis |= other.parenthesis;
        colon |= other.colon;
        dash |= other.dash;
        return *this;
    }
};

class LogLines {
public:
    explicit LogLines(QByteArrayView text) : m_text(text) {}
    bool next(QByteArrayView& line);
    // The same, noting the line's shape in the one pass that finds its end.
    bool next(QByteArrayView& line, LineShape& shape);
    // The line `next` would give, without taking it; empty at the end.
    QByteArrayView peek() const;
    bool atEnd() const { return m_pos >= m_text.size(); }

private:
    QByteArrayView lineAt(qsizetype pos, qsizetype* end) const;
    QByteArrayView m_text;
    qsizetype m_pos = 0;
};

// A "file:line: rest" line, as HeVeA and LaTeX's -file-line-error write them.
struct LocatedLine {
    QByteArrayView file;
    int line = 0;
    QByteArrayView rest;
};
std::optional<LocatedLine> locatedLine(QByteArrayView line);

// The number after `word` ("line 12", "Line:3"), or 0.
int numberAfter(QByteArrayView text, QByteArrayView word);

// Bytes of a log as message text: broken UTF-8 and control bytes replaced,
// blanks trimmed, cut at kMaxMessage characters.
QString messageText(QByteArrayView bytes);

// The first position at or after `from` that holds `a` or `b`, or -1. Log
// lines are scanned for parentheses on every line of the log, so this looks
// at sixteen bytes at a time where the processor allows.
qsizetype indexOfEither(QByteArrayView text, char a, char b, qsizetype from = 0);

// Whether `text` holds "--- ": a '-' search first, since most lines hold none.
bool containsDashRun(QByteArrayView text);

// `file` as an absolute path: relative names are relative to `baseDir`,
// the converter's working directory.
QString resolvedFile(QByteArrayView file, const QString& baseDir);

} // namespace morvane::logtext
