#include "settings/latexmlchoice.h"

namespace morvane {

namespace {

struct Choice {
    const char* entry;
    const char* word;
};

constexpr Choice kFormats[] = {{"HTML5", "html5"}, {"XHTML", "xhtml"}, {"JATS XML", "jats"}};
constexpr Choice kSplits[] = {
    {"One page", "none"}, {"At each chapter", "chapter"}, {"At each section", "section"}};

template <std::size_t N> QStringList entriesOf(const Choice (&choices)[N]) {
    QStringList entries;
    for (const Choice& choice : choices)
        entries.append(QString::fromLatin1(choice.entry));
    return entries;
}

template <std::size_t N> int indexOfWord(const Choice (&choices)[N], const QString& word) {
    const QString lower = word.trimmed().toLower();
    for (std::size_t i = 0; i < N; ++i)
        if (lower == QLatin1String(choices[i].word))
            return int(i);
    return 0;
}

template <std::size_t N> int inRange(const Choice (&)[N], int index) {
    return index >= 0 && index < int(N) ? index : 0;
}

} // namespace

QStringList latexmlFormatEntries() {
    return entriesOf(kFormats);
}

QStringList latexmlSplitEntries() {
    return entriesOf(kSplits);
}

QString latexmlFormatWord(LatexmlFormat format) {
    return QString::fromLatin1(kFormats[inRange(kFormats, int(format))].word);
}

LatexmlFormat latexmlFormatOf(const QString& word) {
    return LatexmlFormat(indexOfWord(kFormats, word));
}

QString latexmlSplitWord(LatexmlSplit split) {
    return QString::fromLatin1(kSplits[inRange(kSplits, int(split))].word);
}

LatexmlSplit latexmlSplitOf(const QString& word) {
    return LatexmlSplit(indexOfWord(kSplits, word));
}

LatexmlFormat latexmlFormatAt(int index) {
    return LatexmlFormat(inRange(kFormats, index));
}

LatexmlSplit latexmlSplitAt(int index) {
    return LatexmlSplit(inRange(kSplits, index));
}

QString latexmlResultExtension(LatexmlFormat format) {
    switch (format) {
    case LatexmlFormat::Xhtml:
        return QStringLiteral(".xhtml");
    case LatexmlFormat::Jats:
        return QStringLiteral(".xml");
    case LatexmlFormat::Html5:
        break;
    }
    return QStringLiteral(".html");
}

} // namespace morvane
