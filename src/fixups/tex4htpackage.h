#pragma once

// The tex4ht package in a TeX4ht working copy: the package step makes the
// copy carry exactly one suitable package line, and the babel and swpht step
// loads swpht for Scientific WorkPlace documents in French with bare frames.
// Both change only the working copy, never the user's file.

#include <QByteArrayView>
#include <QString>

namespace morvane {

struct Conversion;

// Answers of the package question.
enum class PackageAnswer { Cancel = 0, Replace = 1, Keep = 2, NotFound = 10 };

// Answers of the swpht question.
enum class SwphtAnswer { Cancel = 0, Leave = 1, Change = 2 };

// A line that loads tex4ht ("\usepackage...{tex4ht}") or swpht
// ("\RequirePackage...{swpht}") and is not commented out; letters in any case.
bool isTex4htPackageLine(QByteArrayView line);

// What to do with the author's own package line `foundLine`: answers at once
// when there is nothing to ask (keeping the line), otherwise asks the user.
// Sets conv.keptPackageLine when the author's line stays.
PackageAnswer askAboutPackageLine(Conversion& conv, const QString& foundLine);

// The package step. Looks for the author's package line in the first 100
// lines before \begin{document} and, as the user answers, replaces or
// removes it, or puts the wanted package line (the tag of txt3) after the
// document's class line. False only when the user cancelled or the working
// copy could not be read or written. The edited text goes to a temporary
// file beside the working copy, which lies in `outputDir`.
bool Addtex4ht(Conversion& conv, const QString& outputDir, const QString& workingCopy);

// The swpht question ("Graphics Frame Problem").
SwphtAnswer askAboutSwpht(Conversion& conv);

// The babel and swpht step, for Scientific WorkPlace documents with bare
// frames (conv.rawFrame) that load babel with French: on the user's Yes
// the babel line moves below the class line, swpht is loaded after it and
// the old babel and swpht lines are commented out. False only when the user
// cancelled or the working copy could not be read or written.
bool babelAndSwpht(Conversion& conv, const QString& outputDir, const QString& workingCopy);

// The options of a "\usepackage[...]{...}" line: the text between the first
// "[" and the following "]" (the rest of the line when no "]" follows),
// without quotes. Empty for a line that does not begin with "\usepackage" or
// has no "[".
QString packageLineOptionsOf(const QString& line);

} // namespace morvane
