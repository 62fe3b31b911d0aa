#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace morvane {

// What a route's result holds, read from its pages: what a person comparing
// converters looks at first.
struct ResultMeasures {
    int pages = 0;               // web pages in the result's folder
    int mathml = 0;              // <math> elements
    int formulaImages = 0;       // pictures standing for formulas
    int rawTex = 0;              // TeX control words left in the text ("\frac")
    int undefinedReferences = 0; // "??" and "[?]" in the text
    QStringList brokenLinks;     // local src/href naming nothing in the folder: "page: target"
    QHash<QString, int> words;   // the text's words (lower case) and how often each comes
};

// The measures of one page's HTML, whose links are checked against `folder`
// (the page lying in `pageFolder` below it).
void measurePage(const QByteArray& html, const QString& pageFolder, const QString& folder,
                 const QString& pageName, ResultMeasures& into);

// The measures of every page below `folder` (its .html, .htm, .xhtml and
// .xht files, at most a few folders deep).
ResultMeasures measureResult(const QString& folder);

// The words of a text, lower case, of letters only and at least three long,
// with their counts.
QHash<QString, int> wordsOf(const QString& text);

// The words of a TeX document's text: comments, control words, mathematics
// between dollars and the arguments of \label, \ref, \cite, \begin and
// \end left out.
QHash<QString, int> texWordsOf(const QByteArray& tex);

// How much of `reference`'s text `result` holds: the share of its words
// (each counted as often as it comes, up to how often the result has it),
// from 0 to 1; 0 for an empty reference.
double textCoverage(const QHash<QString, int>& reference, const QHash<QString, int>& result);

} // namespace morvane
