#pragma once

// Lines and commands of a TeX working copy, read as bytes: a document may be
// in any encoding, and every byte the fix-ups do not mean to change must come
// back as it was.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace morvane {
struct Conversion;
}

namespace morvane::fixups {

// One line of a file: [start, end) is its text without the line end ("\n" or
// "\r\n"); `next` is where the following line starts (the size of the file
// after the last line).
struct LineSpan {
    qsizetype start = 0;
    qsizetype end = 0;
    qsizetype next = 0;

    bool hasLineEnd() const { return next > end; }
    QByteArrayView in(QByteArrayView content) const { return content.sliced(start, end - start); }
};

// The line that starts at `pos` (which lies inside `content`).
LineSpan lineAt(QByteArrayView content, qsizetype pos);

// In TeX sources a line counts as commented out only when its very first
// byte is "%"; blanks before the "%" do not make it a comment.
inline bool isCommentedOut(QByteArrayView line) {
    return line.startsWith('%');
}

// The line without blanks at either end, in ASCII lower case.
QByteArray trimmedLower(QByteArrayView line);

// Finds a needle again and again from growing positions without scanning the
// rest of a large file each time: a needle that is absent once stays absent.
class ForwardSearch {
public:
    ForwardSearch(QByteArrayView haystack, QByteArrayView needle)
        : m_haystack(haystack), m_needle(needle) {}
    qsizetype from(qsizetype pos);

private:
    QByteArrayView m_haystack;
    QByteArrayView m_needle;
    qsizetype m_found = -2; // -2: not searched yet; -1: absent from m_searchedFrom on
    qsizetype m_searchedFrom = 0;
};

// The text inside the braces of a command's argument: after `pos` (just past
// the command's name) may come blanks, line ends and up to
// `optionalArguments` bracketed options; then "{" must follow. Nothing when
// anything else comes first or the file ends before the "}" (the command
// then names no argument and is left alone).
struct ArgumentSpan {
    qsizetype start = 0; // first byte inside "{"
    qsizetype end = 0;   // position of "}"
};
std::optional<ArgumentSpan> braceArgument(QByteArrayView content, qsizetype pos,
                                          int optionalArguments);

// The first \documentclass command that is not commented out, found within
// the first `maxLines` lines (all lines when negative). A class line may
// carry its options over several lines; what goes "after the class line"
// goes after `closingLine`, the line holding the "}" of the class name.
struct DocumentClass {
    LineSpan firstLine;
    LineSpan closingLine;
    QByteArray name;
};
std::optional<DocumentClass> findDocumentClass(QByteArrayView content, int maxLines = -1);

// Appends `line` to `out` as a line of its own after the line `after` of
// `content` has been copied: a last line without a line end gets "\n" first.
void appendInsertedLine(QByteArray& out, QByteArrayView content, const LineSpan& after,
                        QByteArrayView line);

// True when `workingCopy` is the user's own TeX file (the file box) and may
// not be written, so the working-copy steps leave it alone. The one exception
// is a document converted where it lies (conv.convertedInPlace): the user
// agreed to that, and its backup exists.
bool isUsersOwnFile(const Conversion& conv, const QString& workingCopy);

// Replaces the working copy atomically (the new text goes to a temporary file
// beside it and is renamed over it), so a failure leaves the old copy whole.
// Refuses the user's own file. False when nothing was written. A working copy
// is made again from the user's file on every run and is not synced; the
// user's document converted in place is.
bool replaceWorkingCopy(const Conversion& conv, const QString& workingCopy,
                        const QByteArray& content);

} // namespace morvane::fixups
