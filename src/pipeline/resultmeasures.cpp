#include "pipeline/resultmeasures.h"

#include "pipeline/watchedfiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace morvane {

namespace {

constexpr int kFolderDepth = 4;
constexpr qint64 kMaxPageBytes = 64 << 20;

const QRegularExpression& pattern(const char* text) {
    // Each call site passes a literal; the cache keeps one compiled copy each.
    static QHash<const char*, QRegularExpression> compiled;
    auto it = compiled.find(text);
    if (it == compiled.end())
        it = compiled.insert(
            text, QRegularExpression(QString::fromLatin1(text),
                                     QRegularExpression::CaseInsensitiveOption |
                                         QRegularExpression::DotMatchesEverythingOption));
    return *it;
}

QString decodedEntities(QString text) {
    static const std::pair<const char*, const char*> named[] = {{"&nbsp;", " "}, {"&lt;", "<"},
                                                                {"&gt;", ">"},   {"&quot;", "\""},
                                                                {"&#39;", "'"},  {"&amp;", "&"}};
    for (const auto& [entity, character] : named)
        text.replace(QLatin1String(entity), QLatin1String(character));
    return text;
}

// The text a reader sees: no markup, scripts, styles or head; formulas
// out of it (they are counted on their own).
QString visibleText(QString html) {
    html.remove(pattern("<head\\b.*?</head>"));
    html.remove(pattern("<script\\b.*?</script>"));
    html.remove(pattern("<style\\b.*?</style>"));
    html.remove(pattern("<math\\b.*?</math>"));
    html.replace(pattern("<[^>]*>"), QStringLiteral(" "));
    return decodedEntities(html);
}

bool isFormulaImage(const QString& tag) {
    static const QRegularExpression mathClass(QStringLiteral("class=\"[^\"]*math"),
                                              QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression texAlt(QStringLiteral("alt=\"\\s*(\\$|\\\\[\\[(a-zA-Z])"),
                                           QRegularExpression::CaseInsensitiveOption);
    return mathClass.match(tag).hasMatch() || texAlt.match(tag).hasMatch();
}

void checkLinks(const QString& html, const QString& pageFolder, const QString& folder,
                const QString& pageName, QStringList& broken) {
    static const QRegularExpression reference(QStringLiteral("(?:src|href)=\"([^\"]*)\""),
                                              QRegularExpression::CaseInsensitiveOption);
    const QString root = QFileInfo(folder).canonicalFilePath() + QLatin1Char('/');
    for (auto it = reference.globalMatch(html); it.hasNext();) {
        QString target = it.next().captured(1);
        if (target.isEmpty() || target.startsWith(QLatin1Char('#')) ||
            target.contains(QLatin1Char(':')))
            continue; // a fragment, or a web or mail address
        target = QUrl::fromPercentEncoding(decodedEntities(target)
                                               .section(QLatin1Char('#'), 0, 0)
                                               .section(QLatin1Char('?'), 0, 0)
                                               .toUtf8());
        const QFileInfo file(pageFolder + QLatin1Char('/') + target);
        if (!file.exists() || !file.canonicalFilePath().startsWith(root))
            broken.append(pageName + QStringLiteral(": ") + target);
    }
}

} // namespace

void measurePage(const QByteArray& bytes, const QString& pageFolder, const QString& folder,
                 const QString& pageName, ResultMeasures& into) {
    const QString html = QString::fromUtf8(bytes);
    ++into.pages;
    into.mathml += int(html.count(pattern("<(?:m:)?math\\b")));
    for (auto it = pattern("<img\\b[^>]*>").globalMatch(html); it.hasNext();)
        if (isFormulaImage(it.next().captured()))
            ++into.formulaImages;
    // Code shown as code (a verbatim block of TeX) is the document's text,
    // not TeX the converter left: its words count, its control words are
    // not TeX left.
    QString code;
    for (auto it = pattern("<(pre|code)\\b[^>]*>(.*?)</\\1>").globalMatch(html); it.hasNext();)
        code += visibleText(it.next().captured(2)) + QLatin1Char(' ');
    QString prose = html;
    prose.remove(pattern("<(pre|code)\\b.*?</\\1>"));
    QString text = visibleText(prose);
    into.rawTex += int(text.count(pattern("\\\\[a-z]{2,}")));
    // TeX left in the text is not the document's text.
    text.remove(pattern("\\\\[a-z]{2,}"));
    into.undefinedReferences +=
        int(text.count(QStringLiteral("??")) + text.count(QStringLiteral("[?]")));
    checkLinks(html, pageFolder, folder, pageName, into.brokenLinks);
    const QHash<QString, int> words = wordsOf(text + QLatin1Char(' ') + code);
    for (auto it = words.cbegin(); it != words.cend(); ++it)
        into.words[it.key()] += it.value();
}

ResultMeasures measureResult(const QString& folder) {
    ResultMeasures measures;
    const QDir root(folder);
    QDirIterator it(folder,
                    {QStringLiteral("*.html"), QStringLiteral("*.htm"), QStringLiteral("*.xhtml"),
                     QStringLiteral("*.xht")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString page = it.next();
        const QString relative = root.relativeFilePath(page);
        if (relative.count(QLatin1Char('/')) >= kFolderDepth ||
            it.fileInfo().size() > kMaxPageBytes)
            continue;
        QFile file(page);
        if (file.open(QIODevice::ReadOnly))
            measurePage(file.readAll(), it.fileInfo().absolutePath(), folder, relative, measures);
    }
    return measures;
}

QHash<QString, int> wordsOf(const QString& text) {
    QHash<QString, int> words;
    static const QRegularExpression word(QStringLiteral("\\p{L}{3,}"));
    for (auto it = word.globalMatch(text); it.hasNext();)
        ++words[it.next().captured().toLower()];
    return words;
}

QHash<QString, int> texWordsOf(const QByteArray& tex) {
    QString text;
    for (const QByteArray& line : tex.split('\n'))
        text += QString::fromUtf8(withoutTexComment(line)) + QLatin1Char('\n');
    // The preamble is not text.
    const qsizetype body = text.indexOf(QStringLiteral("\\begin{document}"));
    if (body >= 0)
        text = text.mid(body);
    text.remove(pattern("\\$\\$.*?\\$\\$"));
    text.remove(pattern("\\$[^$]*\\$"));
    text.remove(pattern("\\\\(?:label|ref|eqref|cite[a-z]*|begin|end|usepackage|documentclass|"
                        "input|include|includegraphics|bibliography[a-z]*)\\s*(\\[[^\\]]*\\])?"
                        "\\s*\\{[^}]*\\}"));
    text.remove(pattern("\\\\[a-zA-Z@]+\\*?"));
    return wordsOf(text);
}

double textCoverage(const QHash<QString, int>& reference, const QHash<QString, int>& result) {
    qint64 total = 0;
    qint64 found = 0;
    for (auto it = reference.cbegin(); it != reference.cend(); ++it) {
        total += it.value();
        found += std::min(it.value(), result.value(it.key()));
    }
    return total == 0 ? 0.0 : double(found) / double(total);
}

} // namespace morvane
