#pragma once

#include <QString>
#include <QStringList>

namespace morvane {

// The LaTeXML tab's choices: the format latexmlc writes (`cmbLatexmlFormat`)
// and where it splits the document into pages (`cmbLatexmlSplit`). The
// entries of the two lists, in order; the first is the default.
enum class LatexmlFormat { Html5, Xhtml, Jats };
enum class LatexmlSplit { OnePage, Chapter, Section };
QStringList latexmlFormatEntries(); // "HTML5", "XHTML", "JATS XML"
QStringList latexmlSplitEntries();  // "One page", "At each chapter", "At each section"

// The words the settings file keeps for them ("html5", "xhtml", "jats";
// "none", "chapter", "section"), which for the formats are latexmlc's own
// names; an unknown word gives the default.
QString latexmlFormatWord(LatexmlFormat format);
LatexmlFormat latexmlFormatOf(const QString& word);
QString latexmlSplitWord(LatexmlSplit split);
LatexmlSplit latexmlSplitOf(const QString& word);

// The choice in a list of the options model: its index, kept in range.
LatexmlFormat latexmlFormatAt(int index);
LatexmlSplit latexmlSplitAt(int index);

// The main result's extension: ".html", ".xhtml" or ".xml".
QString latexmlResultExtension(LatexmlFormat format);

} // namespace morvane
