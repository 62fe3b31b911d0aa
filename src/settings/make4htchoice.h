#pragma once

#include <QString>
#include <QStringList>

namespace morvane {

// make4ht, TeX4ht's build tool, offered beside htlatex on the TeX4ht tab
// (`chkMake4ht`), with its output format (`cmbMake4htFormat`) and the LaTeX
// it runs (`cmbMake4htEngine`). The entries of the two lists, in order; the
// first is make4ht's own default. An office document (ODT) comes from
// make4ht too; an e-book (EPUB 3) from tex4ebook, its sibling for e-books.
enum class Make4htFormat { Html5, Xhtml, Odt, Epub3 };
enum class Make4htEngine { Latex, LuaLatex, XeLatex };
QStringList make4htFormatEntries(); // "html5", "xhtml", "odt", "E-book (EPUB 3)"
QStringList make4htEngineEntries(); // "LaTeX", "LuaLaTeX", "XeLaTeX"

// The words the settings file keeps for them ("html5", "epub3", "lualatex"),
// which are also the programs' own format names, and back; an unknown word
// gives the default.
QString make4htFormatWord(Make4htFormat format);
Make4htFormat make4htFormatOf(const QString& word);
QString make4htEngineWord(Make4htEngine engine);
Make4htEngine make4htEngineOf(const QString& word);

// The choice in a list of the options model: its index, kept in range.
Make4htFormat make4htFormatAt(int index);
Make4htEngine make4htEngineAt(int index);

// The result's extension for a format: ".odt" and ".epub" for the documents,
// empty for the web formats (whose extension the TeX4ht options decide).
QString make4htDocumentExtension(Make4htFormat format);

} // namespace morvane
