#pragma once

#include "fixups/graphicsfixup.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace morvane {

struct Conversion;

// The change-link dialog ("Change Link Filename"): sets conv.linkAnswer to
// 1 (yes), 2 (no), 3 (yes to all) or 4 (no to all).
class LinkQuestion {
public:
    virtual ~LinkQuestion() = default;
    virtual int ask(const QString& text) = 0;
};

// How a route's pages link to other documents of the conversion.
struct LinkRules {
    // HeVeA: a target without a "." is one of its labels and becomes a fragment.
    bool bareNamesAreLabels = false;
    // The extension a link to a TeX file gets: "html", or TeX4ht's own.
    QByteArray pageExtension = QByteArrayLiteral("html");
};

// Pages are edited as bytes: they may hold any encoding, or none, and every
// byte outside the edited attribute must come back as it was. The QString
// forms below are for callers holding text; they work through UTF-8.

// True when the line refers to an image (src=" followed by .gif/.png/.jpg
// before the tag ends).
bool isImageLine(QByteArrayView line);
bool isImageLine(const QString& line);

// The target a link should get; may ask the change-link question.
QByteArray rewriteLink(Conversion& conv, const LinkRules& rules, const QByteArray& target,
                       const QString& pageName);
QString rewriteLink(Conversion& conv, const LinkRules& rules, const QString& target,
                    const QString& pageName);

// Rewrites links to .tex files in one page.
void fixLinks(Conversion& conv, const LinkRules& rules, const QString& page);

// Moves the page directory's images into `subdir` and points the page at it.
void fixImageSubdirectory(Conversion& conv, const LinkRules& rules, const QString& page,
                          const QString& subdir, bool keepOriginals);

// Copies images a line refers to from the TeX file's folder into `destinationDir`.
void copySourceImages(Conversion& conv, QByteArrayView line, const QString& destinationDir);
void copySourceImages(Conversion& conv, const QString& line, const QString& destinationDir);

// Copies the images a page refers to from the TeX file's folder to `outputDir`.
void fixPlainImages(Conversion& conv, const QString& page, const QString& outputDir);

// The plain image fix-up and the link fix-up of one page in a single pass:
// the page is read once and replaced only when a link changed.
void fixPlainImagesAndLinks(Conversion& conv, const LinkRules& rules, const QString& page,
                            const QString& outputDir);

// Whether include handling runs the graphics fix-up on the working copy it
// was called for, or leaves that to a caller that runs it later (once).
enum class TopFileGraphics { Fix, LeftToCaller };

// Copies the files a TeX source includes next to its working copy `destination`
// and rewrites the include lines to the bare names. Every working copy of an
// included file gets the graphics fix-up, with or without the \KWZTeXExt
// block; `destination` itself as `top` says.
void handleIncludes(Conversion& conv, const QString& source, const QString& destination,
                    KwzTexExtBlock block, TopFileGraphics top = TopFileGraphics::Fix);

// Points the image openers of a TeX4ht mouse-over script at `subdir`.
void fixJavaScript(const QString& script, const QString& subdir);

} // namespace morvane
