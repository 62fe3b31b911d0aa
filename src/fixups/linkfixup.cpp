// The image-line test, the link rewrite and the link fix-up of produced pages.

#include "fixups/firstlink.h"
#include "fixups/fixupfiles.h"
#include "fixups/htmlfixups.h"
#include "pipeline/appcontext.h"
#include "pipeline/conversion.h"

#include <QFileInfo>

namespace morvane {

using namespace fixups;

namespace {

enum LinkAnswer { NotAsked = 0, Yes = 1, No = 2, YesToAll = 3, NoToAll = 4 };

void askAboutLink(Conversion& conv, const QByteArray& target, const QByteArray& proposal,
                  const QString& pageName) {
    if (!conv.app.seams.linkQuestion) {
        // Without a window the question takes its default button, Yes, and
        // the all-box stays unticked, as the dialog opens.
        conv.linkAnswer = Yes;
        return;
    }
    const QString text = QStringLiteral("Link to ") + QString::fromUtf8(target) +
                         QStringLiteral(" found in ") + pageName + QStringLiteral(".\n\n") +
                         QStringLiteral("Do you wish to change this link to ") +
                         QString::fromUtf8(proposal) + QStringLiteral("?");
    NormalPointer normal;
    conv.linkAnswer = conv.app.seams.linkQuestion->ask(text);
}

} // namespace

bool isImageLine(QByteArrayView line) {
    const qsizetype opener = indexOfAnyCase(line, imageOpener);
    if (opener < 0)
        return false;
    const qsizetype tagEnd = line.indexOf('>', opener);
    // The nearest image extension after the opener decides. (Adding up the
    // positions of all three would reject a line holding a GIF and a PNG.)
    qsizetype nearest = -1;
    for (QByteArrayView extension : {QByteArrayView(".gif"), QByteArrayView(".png"),
                                     QByteArrayView(".jpg"), QByteArrayView(".svg")}) {
        const qsizetype at = line.indexOf(extension, opener);
        if (at >= 0 && (nearest < 0 || at < nearest))
            nearest = at;
    }
    return nearest >= 0 && (tagEnd < 0 || nearest < tagEnd);
}

bool isImageLine(const QString& line) {
    return isImageLine(QByteArrayView(line.toUtf8()));
}

QByteArray rewriteLink(Conversion& conv, const LinkRules& rules, const QByteArray& target,
                       const QString& pageName) {
    if (conv.linkAnswer == NoToAll)
        return target;
    if (rules.bareNamesAreLabels && !target.contains('.')) {
        // A bare label becomes a fragment. An empty target, a fragment, an
        // address with a scheme, a path (/url) and a query (script?x=1) are
        // left alone: as fragments they would lead nowhere, and prefixing
        // them again on every run would break the page's own anchors.
        const bool bareName = !target.isEmpty() && !target.contains('#') && !target.contains(':') &&
                              !target.contains('/') && !target.contains('?');
        return bareName ? '#' + target : target;
    }
    if (target.contains(':'))
        return target;
    const QByteArray sourceExtension = asciiLower(conv.sourceExtension.toUtf8());
    // The extension counts where it ends the file name, before a fragment or
    // a query: "notes.texts.html" and "my.tex.d/a.html" are no TeX files, and
    // "a.tex.tex" becomes "a.tex.html", which a second run leaves alone.
    qsizetype pathEnd = target.size();
    for (const char stop : {'#', '?'}) {
        const qsizetype i = target.indexOf(stop);
        if (i >= 0 && i < pathEnd)
            pathEnd = i;
    }
    const qsizetype at = pathEnd - sourceExtension.size();
    if (sourceExtension.isEmpty() || at < 0 ||
        indexOfAnyCase(QByteArrayView(target).first(pathEnd), sourceExtension, at) != at)
        return target;
    // Keep the dot, swap the extension, keep whatever followed it (#label).
    const QByteArray proposal = target.left(at + 1) + rules.pageExtension;
    if (conv.linkAnswer < YesToAll)
        askAboutLink(conv, target, proposal, pageName);
    if (conv.linkAnswer == Yes || conv.linkAnswer == YesToAll)
        return proposal + target.mid(at + sourceExtension.size());
    return target;
}

QString rewriteLink(Conversion& conv, const LinkRules& rules, const QString& target,
                    const QString& pageName) {
    return QString::fromUtf8(rewriteLink(conv, rules, target.toUtf8(), pageName));
}

namespace fixups {

std::optional<QByteArray> rewriteFirstLink(Conversion& conv, const LinkRules& rules,
                                           QByteArrayView line, const QString& pageName) {
    const qsizetype opener = indexOfAnyCase(line, linkOpener);
    if (opener < 0)
        return std::nullopt;
    const qsizetype start = opener + linkOpener.size();
    const qsizetype close = line.indexOf('"', start);
    if (close < 0)
        return std::nullopt; // an unterminated attribute is left as it is
    const QByteArray target = line.sliced(start, close - start).toByteArray();
    const QByteArray rewritten = rewriteLink(conv, rules, target, pageName);
    if (rewritten == target)
        return std::nullopt;
    QByteArray result;
    result.reserve(line.size() + rewritten.size() - target.size());
    result.append(line.first(start));
    result.append(rewritten);
    result.append(line.sliced(close));
    return result;
}

} // namespace fixups

void fixLinks(Conversion& conv, const LinkRules& rules, const QString& page) {
    const QFileInfo info(page);
    if (!info.isFile())
        return;
    BusyPointer busy;
    const QString pageName = info.fileName();
    editFileLines(
        page, [&](QByteArrayView line) { return rewriteFirstLink(conv, rules, line, pageName); });
}

} // namespace morvane
