#include "fixups/texlines.h"

#include "fixups/fixupfiles.h"
#include "pipeline/appcontext.h"
#include "pipeline/conversion.h"
#include "platform/atomicfile.h"

namespace morvane::fixups {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isWhiteSpace(char c) {
    return isBlank(c) || c == '\r' || c == '\n';
}

qsizetype skipWhiteSpace(QByteArrayView content, qsizetype pos) {
    while (pos < content.size() && isWhiteSpace(content.at(pos)))
        ++pos;
    return pos;
}

} // namespace

LineSpan lineAt(QByteArrayView content, qsizetype pos) {
    const qsizetype newline = content.indexOf('\n', pos);
    if (newline < 0)
        return {pos, content.size(), content.size()};
    const qsizetype end = newline > pos && content.at(newline - 1) == '\r' ? newline - 1 : newline;
    return {pos, end, newline + 1};
}

QByteArray trimmedLower(QByteArrayView line) {
    qsizetype first = 0;
    qsizetype last = line.size();
    while (first < last && isBlank(line.at(first)))
        ++first;
    while (last > first && isBlank(line.at(last - 1)))
        --last;
    return asciiLower(line.sliced(first, last - first));
}

qsizetype ForwardSearch::from(qsizetype pos) {
    if (m_found == -1 && pos >= m_searchedFrom)
        return -1;
    if (m_found >= pos && pos >= m_searchedFrom)
        return m_found;
    m_searchedFrom = pos;
    m_found = m_haystack.indexOf(m_needle, pos);
    return m_found;
}

std::optional<ArgumentSpan> braceArgument(QByteArrayView content, qsizetype pos,
                                          int optionalArguments) {
    pos = skipWhiteSpace(content, pos);
    for (int i = 0; i < optionalArguments && pos < content.size() && content.at(pos) == '['; ++i) {
        const qsizetype close = content.indexOf(']', pos);
        if (close < 0)
            return std::nullopt;
        pos = skipWhiteSpace(content, close + 1);
    }
    if (pos >= content.size() || content.at(pos) != '{')
        return std::nullopt;
    const qsizetype close = content.indexOf('}', pos);
    if (close < 0)
        return std::nullopt;
    return ArgumentSpan{pos + 1, close};
}

std::optional<DocumentClass> findDocumentClass(QByteArrayView content, int maxLines) {
    static constexpr QByteArrayView command("\\documentclass");
    qsizetype pos = 0;
    for (int count = 0; pos < content.size() && (maxLines < 0 || count < maxLines); ++count) {
        const LineSpan line = lineAt(content, pos);
        pos = line.next;
        const QByteArrayView text = line.in(content);
        const qsizetype at = indexOfAnyCase(text, command);
        if (at < 0 || isCommentedOut(text))
            continue;
        const std::optional<ArgumentSpan> name =
            braceArgument(content, line.start + at + command.size(), 1);
        if (!name)
            return std::nullopt; // a class line that never closes names no class
        qsizetype closingStart = content.lastIndexOf('\n', name->end) + 1;
        return DocumentClass{line, lineAt(content, closingStart),
                             content.sliced(name->start, name->end - name->start).toByteArray()};
    }
    return std::nullopt;
}

void appendInsertedLine(QByteArray& out, QByteArrayView content, const LineSpan& after,
                        QByteArrayView line) {
    out.append(content.sliced(after.start, after.next - after.start));
    if (!after.hasLineEnd())
        out.append('\n');
    out.append(line);
    out.append('\n');
}

namespace {

bool isConvertedInPlace(const Conversion& conv, const QString& workingCopy) {
    return !conv.convertedInPlace.isEmpty() && sameFile(conv.convertedInPlace, workingCopy);
}

} // namespace

bool isUsersOwnFile(const Conversion& conv, const QString& workingCopy) {
    const QString usersFile = conv.app.model ? conv.app.convertFile() : QString();
    return !usersFile.isEmpty() && sameFile(usersFile, workingCopy) &&
           !isConvertedInPlace(conv, workingCopy);
}

bool replaceWorkingCopy(const Conversion& conv, const QString& workingCopy,
                        const QByteArray& content) {
    if (isUsersOwnFile(conv, workingCopy))
        return false;
    return replaceFileAtomically(workingCopy, content,
                                 isConvertedInPlace(conv, workingCopy) ? Durability::WaitForDisk
                                                                       : Durability::NoWait);
}

} // namespace morvane::fixups
