// TtH's Revise: the "<title>@hour</title>" block taken out of a page.
//
// Input: the page's bytes. Invariants:
//  - a page without the block (as hasHourBlock finds it in the first 4000
//    bytes) is left byte for byte, and not even rewritten;
//  - a revised page is the page less whole lines: each title line and at
//    most the 21 lines after it; everything before the first title line is
//    kept, and so is every other line, in order, with its line end;
//  - no title line is left, so revising again changes nothing;
//  - the file holds what withoutHourBlock gives for the page.

#include "drivers/tth.h"
#include "support/fuzzsupport.h"

#include <QFile>
#include <sys/stat.h>

using namespace morvane;
using namespace morvane::fuzz;

namespace {

const QByteArray kTitle = "<title>@hour</title>";

// The file's inode: an atomic replacement gives the path a new one.
ino_t inodeOf(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        fail("page exists", path);
    return info.st_ino;
}

// The page's lines with their line ends.
QList<QByteArray> linesWithEnds(const QByteArray& page) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < page.size()) {
        qsizetype end = page.indexOf('\n', start);
        end = end < 0 ? page.size() : end + 1;
        lines.append(page.mid(start, end - start));
        start = end;
    }
    return lines;
}

// True when `part` is `whole` with some of its lines left out.
bool isSubsequence(const QList<QByteArray>& part, const QList<QByteArray>& whole) {
    qsizetype j = 0;
    for (const QByteArray& line : whole) {
        if (j < part.size() && part[j] == line)
            ++j;
    }
    return j == part.size();
}

// The revised page is the original less title lines and some of the 21
// lines after each: every line farther from a title line is still there, in
// order.
void checkOnlyBlocksRemoved(const QByteArray& page, const QByteArray& revised) {
    const QList<QByteArray> before = linesWithEnds(page);
    const QList<QByteArray> after = linesWithEnds(revised);
    QList<QByteArray> mustStay;
    int sinceTitle = 1000; // lines since the last title line
    for (const QByteArray& line : before) {
        if (line.contains(kTitle))
            sinceTitle = 0;
        else if (++sinceTitle > 21)
            mustStay.append(line);
    }
    FUZZ_CHECK(isSubsequence(after, before), shown(revised.left(3000)));
    FUZZ_CHECK(isSubsequence(mustStay, after),
               QStringLiteral("a line was lost from\n") + shown(page.left(3000)) +
                   QStringLiteral("\nrevised:\n") + shown(revised.left(3000)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64 * 1024)
        return -1;
    const QByteArray page(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = scratchDir() + QStringLiteral("/paper.htm");
    writeScratchFile(path, page);
    const ino_t written = inodeOf(path);
    const bool block = hasHourBlock(page.left(4000));
    FUZZ_CHECK(hasHourBlock(page) == block, QString());

    Revise(path);
    const QByteArray revised = readScratchFile(path);
    if (!block) {
        FUZZ_CHECK(revised == page, shown(page.left(3000)));
        FUZZ_CHECK(inodeOf(path) == written,
                   QStringLiteral("a page without the block was rewritten"));
        return 0;
    }
    FUZZ_CHECK(revised == withoutHourBlock(page), shown(revised.left(3000)));
    FUZZ_CHECK(!revised.contains(kTitle), shown(revised.left(3000)));
    FUZZ_CHECK(revised.size() < page.size(), QString());
    const qsizetype firstTitle = page.lastIndexOf('\n', page.indexOf(kTitle)) + 1;
    FUZZ_CHECK(revised.left(firstTitle) == page.left(firstTitle), shown(revised.left(3000)));
    checkOnlyBlocksRemoved(page, revised);

    Revise(path);
    FUZZ_CHECK(readScratchFile(path) == revised, QString());
    return 0;
}
