#include "pipeline/copiedlines.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace morvane {

namespace {

// How far ahead in the original a copied line is looked for: Morvane's
// edits are a few lines each, and a bounded search keeps long documents
// linear.
constexpr int kLookAhead = 200;

QByteArrayList linesOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArrayList lines = file.readAll().split('\n');
    for (QByteArray& line : lines)
        line = line.trimmed();
    return lines;
}

// The user's file that a file of the copy's folder was copied from; empty
// when there is none.
QString originalOf(const QString& file, const CopiedDocument& copied) {
    if (file == copied.copy)
        return copied.document;
    const QString prefix = copied.copyFolder + QLatin1Char('/');
    if (!file.startsWith(prefix))
        return {};
    const QString original = copied.originalFolder + QLatin1Char('/') + file.mid(prefix.size());
    return QFileInfo(original).isFile() ? original : QString();
}

} // namespace

QList<int> originalLines(const QByteArrayList& original, const QByteArrayList& copy) {
    QList<int> map(copy.size());
    qsizetype next = 0; // the first original line not yet matched
    for (qsizetype i = 0; i < copy.size(); ++i) {
        qsizetype found = -1;
        // A blank line is no evidence of where the copy is: it matches only
        // the next original line. Further ahead, a match counts when the
        // line after it matches too, so that an inserted "\makeatother" does
        // not jump to the user's own.
        const qsizetype end = copy[i].isEmpty() ? qMin(original.size(), next + 1)
                                                : qMin(original.size(), next + kLookAhead);
        for (qsizetype k = next; k < end; ++k) {
            const bool confirmed = k == next || i + 1 >= copy.size() || k + 1 >= original.size() ||
                                   original[k + 1] == copy[i + 1];
            if (original[k] == copy[i] && confirmed) {
                found = k;
                break;
            }
        }
        if (found >= 0) {
            map[i] = int(found + 1);
            next = found + 1;
        } else if (next < original.size() && i + 1 < copy.size() && next + 1 < original.size() &&
                   original[next + 1] == copy[i + 1]) {
            map[i] = int(next + 1); // a changed line: it stands for the one it replaced
            ++next;
        } else {
            map[i] = int(qMax<qsizetype>(next, 1)); // an inserted line
        }
    }
    return map;
}

namespace {

// The first line of `lines` (1-based) that holds `text`; 0 when none does.
int firstLineWith(const QByteArrayList& lines, QByteArrayView text) {
    if (text.isEmpty())
        return 0;
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines[i].contains(text))
            return int(i + 1);
    return 0;
}

// An entry of a file the converter wrote itself (LaTeX2HTML's images.tex)
// or of a command it does not know, placed where the document has the same
// text; else it stays where it is, marked as the converter's.
void placeInDocument(LogEntry& entry, const CopiedDocument& copied,
                     const QByteArrayList& document) {
    const QString unknown = QStringLiteral("Unknown command ");
    if (entry.file == copied.document) {
        // The converter's other messages about the document name no line.
        if (entry.line == 0 && entry.message.startsWith(unknown))
            entry.line = firstLineWith(document, entry.message.mid(unknown.size()).toUtf8());
        return;
    }
    // TeX names the line it was reading when the error showed, which may
    // follow the one with the user's text (a formula is set when its box
    // closes): the lines just before count too.
    const QByteArrayList generated = linesOf(entry.file);
    int line = 0;
    for (int back = 0; back < 4 && line == 0 && entry.line - 1 - back >= 0; ++back) {
        QByteArray text = generated.value(entry.line - 1 - back);
        while (text.endsWith('%'))
            text.chop(1);
        if (text.size() > 2)
            line = firstLineWith(document, text.trimmed());
    }
    if (line > 0) {
        entry.file = copied.document;
        entry.line = line;
    } else {
        entry.message = QStringLiteral("(in the converter's ") + QFileInfo(entry.file).fileName() +
                        QStringLiteral(") ") + entry.message;
    }
}

} // namespace

LogEntries entriesInOriginals(LogEntries entries, const CopiedDocument& copied) {
    if (copied.copy.isEmpty() || copied.copy == copied.document)
        return entries;
    QHash<QString, QList<int>> maps;
    const QByteArrayList document = linesOf(copied.document);
    for (LogEntry& entry : entries) {
        const QString original = originalOf(entry.file, copied);
        if (original.isEmpty()) {
            if (entry.file == copied.document ||
                entry.file.startsWith(copied.copyFolder + QLatin1Char('/')))
                placeInDocument(entry, copied, document);
            continue;
        }
        if (entry.line > 0) {
            auto map = maps.find(entry.file);
            if (map == maps.end())
                map =
                    maps.insert(entry.file, originalLines(linesOf(original), linesOf(entry.file)));
            if (entry.line <= map->size())
                entry.line = map->at(entry.line - 1);
        }
        entry.file = original;
    }
    return entries;
}

} // namespace morvane
