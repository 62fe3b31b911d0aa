// The fix-ups of produced pages: the link rewrite, the image subdirectory
// and the copies of a page's pictures.
//
// Input: a byte choosing the source extension, the page extension, the
// HeVeA rule (bare names are labels), the remembered link answer and the
// image subdirectory's name, each ended by a NUL byte; then the page's bytes.
// Invariants:
//  - every line keeps its line end, and the page its number of lines;
//  - a rewritten line differs from the original only inside the value of
//    its first link, and that value holds no quote or line break;
//  - a page grows by a bounded amount per line;
//  - fixing a page twice gives what fixing it once gave (a second
//    conversion's fix-ups change nothing more);
//  - the link fix-up of a file gives what the same edit in memory gives,
//    and an unchanged page is not rewritten;
//  - the fix-ups write no file outside the page's folder.

#include "fixups/firstlink.h"
#include "fixups/fixupfiles.h"
#include "fixups/htmlfixups.h"
#include "pipeline/appcontext.h"
#include "pipeline/conversion.h"
#include "settings/optionsmodel.h"
#include "support/fuzzsupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>

using namespace morvane;
using namespace morvane::fuzz;
using morvane::fixups::editLines;
using morvane::fixups::indexOfAnyCase;
using morvane::fixups::rewriteFirstLink;

namespace {

struct Setup {
    QString sourceExtension;
    LinkRules rules;
    int linkAnswer = 0;
    QString subdir;
};

Setup setupFrom(Pieces& in) {
    static const char* const sources[] = {".tex", ".ltx", ".TeX", ".t", ""};
    static const char* const pages[] = {"html", "xml", "htm", "xht", "txt"};
    static const char* const subdirs[] = {"img", "images/sub", "Pics", "img/", ".", "../up", ""};
    Setup s;
    s.sourceExtension = QString::fromLatin1(sources[in.small() % 5]);
    s.rules.pageExtension = pages[in.small() % 5];
    s.rules.bareNamesAreLabels = in.small() % 2 == 1;
    s.linkAnswer = in.small() % 5;
    s.subdir = QString::fromLatin1(subdirs[in.small() % 7]);
    return s;
}

QList<QByteArray> linesOf(const QByteArray& page) {
    return page.split('\n');
}

qsizetype imageOpeners(QByteArrayView line) {
    qsizetype count = 0;
    for (qsizetype at = indexOfAnyCase(line, fixups::imageOpener); at >= 0;
         at = indexOfAnyCase(line, fixups::imageOpener, at + 1))
        ++count;
    return count;
}

// Same lines with the same ends; each line grows at most by the link's new
// extension and by `prefix` bytes for each of its image sources.
void checkLineShape(const QByteArray& before, const QByteArray& after, qsizetype linkGrowth,
                    qsizetype prefix) {
    const QList<QByteArray> a = linesOf(before);
    const QList<QByteArray> b = linesOf(after);
    FUZZ_CHECK(a.size() == b.size(), shown(before) + QStringLiteral("\n-->\n") + shown(after));
    for (qsizetype i = 0; i < a.size(); ++i) {
        FUZZ_CHECK(a[i].endsWith('\r') == b[i].endsWith('\r'),
                   shown(a[i]) + QStringLiteral(" --> ") + shown(b[i]));
        FUZZ_CHECK(b[i].size() <= a[i].size() + linkGrowth + prefix * imageOpeners(a[i]),
                   shown(a[i]) + QStringLiteral(" --> ") + shown(b[i]));
    }
}

// The first link's rewrite touches its value only.
void checkFirstLink(Conversion& conv, const LinkRules& rules, QByteArrayView line) {
    const std::optional<QByteArray> rewritten =
        rewriteFirstLink(conv, rules, line, QStringLiteral("page.html"));
    if (!rewritten)
        return;
    const qsizetype start = indexOfAnyCase(line, fixups::linkOpener) + fixups::linkOpener.size();
    const qsizetype close = line.indexOf('"', start);
    FUZZ_CHECK(start >= fixups::linkOpener.size() && close >= start, shown(line.toByteArray()));
    const qsizetype tail = line.size() - close;
    FUZZ_CHECK(rewritten->startsWith(line.first(start)) && rewritten->endsWith(line.sliced(close)),
               shown(line.toByteArray()) + QStringLiteral(" --> ") + shown(*rewritten));
    const QByteArray value = rewritten->mid(start, rewritten->size() - start - tail);
    const QByteArrayView target = line.sliced(start, close - start);
    FUZZ_CHECK(!value.contains('"') && !value.contains('\n') &&
                   (!value.contains('\r') || target.contains('\r')),
               shown(*rewritten));
}

QByteArray linkFixed(Conversion& conv, const LinkRules& rules, const QByteArray& page) {
    return editLines(page,
                     [&](QByteArrayView line) {
                         return rewriteFirstLink(conv, rules, line, QStringLiteral("page.html"));
                     })
        .value_or(page);
}

QSet<QString> filesBelow(const QString& dir) {
    QSet<QString> files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.insert(it.next());
    return files;
}

void checkNothingWrittenOutside(const QString& root, const QSet<QString>& before,
                                const QString& pageDir) {
    for (const QString& file : filesBelow(root)) {
        if (!before.contains(file))
            FUZZ_CHECK(file.startsWith(pageDir + QLatin1Char('/')), file);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64 * 1024)
        return -1;
    Pieces in(data, size);
    const Setup setup = setupFrom(in);
    const QByteArray page = in.rest();

    OptionsModel model;
    AppContext ctx;
    ctx.model = &model;
    Conversion conv(ctx, builtInRoutes()[0], QString());
    conv.sourceExtension = setup.sourceExtension;
    conv.linkAnswer = setup.linkAnswer;

    // isImageLine on any bytes, in both of its forms.
    for (const QByteArray& line : linesOf(page)) {
        const bool image = isImageLine(QByteArrayView(line));
        if (QString::fromUtf8(line).toUtf8() == line)
            FUZZ_CHECK(isImageLine(QString::fromUtf8(line)) == image, shown(line));
        checkFirstLink(conv, setup.rules,
                       QByteArrayView(line).chopped(line.endsWith('\r') ? 1 : 0));
    }

    // The link fix-up in memory, once and twice.
    const qsizetype growth = setup.rules.pageExtension.size() + 1;
    conv.linkAnswer = setup.linkAnswer;
    const QByteArray once = linkFixed(conv, setup.rules, page);
    checkLineShape(page, once, growth, 0);
    const QByteArray twice = linkFixed(conv, setup.rules, once);
    FUZZ_CHECK(twice == once, QStringLiteral("once:\n") + shown(once) +
                                  QStringLiteral("\ntwice:\n") + shown(twice));

    // The same on files, with pictures beside the TeX file to be fetched.
    static int round = 0;
    const QString root = scratchDir() + QStringLiteral("/r") + QString::number(++round);
    const QString pageDir = root + QStringLiteral("/out");
    const QString sourceDir = root + QStringLiteral("/src");
    QDir().mkpath(pageDir);
    QDir().mkpath(sourceDir + QStringLiteral("/sub"));
    for (const char* picture : {"a.png", "fig.gif", "sub/b.jpg", "doc.png"})
        writeScratchFile(sourceDir + QLatin1Char('/') + QLatin1String(picture), "picture");
    writeScratchFile(sourceDir + QStringLiteral("/doc.tex"), "\\documentclass{article}");
    model.setText(ctl::cmbTeX, sourceDir + QStringLiteral("/doc.tex"));
    const QString pagePath = pageDir + QStringLiteral("/page.html");

    writeScratchFile(pagePath, page);
    const QSet<QString> start = filesBelow(root);
    conv.linkAnswer = setup.linkAnswer;
    fixPlainImagesAndLinks(conv, setup.rules, pagePath, pageDir);
    FUZZ_CHECK(readScratchFile(pagePath) == once, shown(readScratchFile(pagePath)));
    checkNothingWrittenOutside(root, start, pageDir);

    writeScratchFile(pagePath, page);
    conv.linkAnswer = setup.linkAnswer;
    fixImageSubdirectory(conv, setup.rules, pagePath, setup.subdir, false);
    const QByteArray subdirOnce = readScratchFile(pagePath);
    checkLineShape(page, subdirOnce, growth, setup.subdir.size() + 1);
    conv.linkAnswer = setup.linkAnswer;
    fixImageSubdirectory(conv, setup.rules, pagePath, setup.subdir, false);
    const QByteArray subdirTwice = readScratchFile(pagePath);
    FUZZ_CHECK(subdirTwice == subdirOnce, QStringLiteral("page:\n") + shown(page) +
                                              QStringLiteral("\nonce:\n") + shown(subdirOnce) +
                                              QStringLiteral("\ntwice:\n") + shown(subdirTwice));
    checkNothingWrittenOutside(root, start, pageDir);

    QDir(root).removeRecursively();
    return 0;
}
