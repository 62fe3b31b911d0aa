#pragma once

#include "pipeline/logentry.h"

#include <QByteArrayList>
#include <QList>
#include <QString>

namespace morvane {

// The working copy a route converts instead of the document (TeX4ht,
// LaTeX2HTML): the copy, with the files it includes copied beside it, and
// where they came from.
struct CopiedDocument {
    QString copy;           // the working copy of the document
    QString document;       // the user's document
    QString copyFolder;     // where the copy and its included files lie
    QString originalFolder; // the document's folder
};

// For each line of `copy` (0-based), the line of `original` (1-based) it
// came from: equal lines are matched in order; a line Morvane changed
// stands for the line it replaced, and a line it inserted for the line
// before it (the first line when there is none).
QList<int> originalLines(const QByteArrayList& original, const QByteArrayList& copy);

// The entries of a working copy's log moved to the user's files and lines,
// so that the list names what the user wrote and a double-click opens it
// rather than a copy the next run overwrites. Entries of files the converter
// wrote itself (LaTeX2HTML's images.tex) and of commands it does not know go
// to the document's line with the same text; those that cannot be placed
// say they are the converter's.
LogEntries entriesInOriginals(LogEntries entries, const CopiedDocument& copied);

} // namespace morvane
