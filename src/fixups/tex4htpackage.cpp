#include "fixups/tex4htpackage.h"

#include "fixups/fixupfiles.h"
#include "fixups/texlines.h"
#include "pipeline/appcontext.h"
#include "pipeline/conversion.h"
#include "platform/eventpump.h"
#include "platform/prompter.h"
#include "settings/controlnames.h"

#include <functional>

namespace morvane {

using namespace fixups;

namespace {

constexpr int packageScanLines = 100;
constexpr int babelScanLines = 500;
constexpr qsizetype tex4htArgumentCount = 6;

QString S(const char* text) {
    return QString::fromUtf8(text);
}

// The TeX4ht argument list, 0-based: [0] program or batch file, [1] htrun
// format switch, [4] tex4ht option string in quotes.
QStringList tex4htArguments(const Conversion& conv) {
    QStringList args = conv.app.model->items(ctl::tex4htArgs);
    while (args.size() < tex4htArgumentCount)
        args.append(QString());
    return args;
}

QString packageLine(const Conversion& conv) {
    return conv.app.model->tag(ctl::txt3);
}

QString htrunFormatName(const QString& htrunSwitch) {
    if (htrunSwitch == S("-xh"))
        return S("xhtml");
    if (htrunSwitch == S("-xhm"))
        return S("mathml");
    if (htrunSwitch == S("-mz"))
        return S("mozilla");
    return {};
}

QString packageQuestionText(const QStringList& args, const QString& wanted,
                            const QString& foundLine) {
    QString text = S("The following line has been found in the tex file:\n\n") +
                   foundLine.trimmed() + S("\n\n");
    if (wanted.isEmpty()) {
        if (args.at(1).isEmpty())
            text += S("If you want to use ") + args.at(0) + S(" this line ought to be removed.");
        else
            text += S("If you want to use htrun to output in ") + htrunFormatName(args.at(1)) +
                    S(" format this line needs to be removed.");
        text += S("\n\nChanges are only made to a copy, not to the original file\n\n"
                  "Yes:\tRemove the line\n"
                  "No:\tKeep tex file as it is, ignoring output format\n"
                  "Cancel:\tCancel file conversion\n\n\n");
    } else {
        text += S("Do you wish to remove this line and use:\n\n") + wanted +
                S("\n\nChanges are only made to a copy, not to the original file\n\n"
                  "Yes:\tReplace with new options\n"
                  "No:\tKeep tex file as it is, ignoring new options\n"
                  "Cancel:\tCancel file conversion\n\n\n");
    }
    return text;
}

// The wanted line as it goes into the working copy: after a blank.
QByteArray insertedPackageLine(const QString& wanted) {
    return ' ' + wanted.toUtf8();
}

// Scans the top of the document for the author's package line and asks
// about it; NotFound when the scan ends first.
PackageAnswer findAndAskAboutPackageLine(Conversion& conv, const QByteArray& content) {
    qsizetype pos = 0;
    for (int counted = 0; pos < content.size() && counted < packageScanLines; ++counted) {
        serveEvents();
        const LineSpan line = lineAt(content, pos);
        const QByteArrayView text = line.in(content);
        if (isTex4htPackageLine(text))
            return askAboutPackageLine(conv, QString::fromUtf8(text));
        if (containsAnyCase(text, "\\begin{document}"))
            break;
        pos = line.next;
    }
    return PackageAnswer::NotFound;
}

// Every package line of the document becomes the wanted line, or goes when
// no line is wanted; the other lines keep their bytes.
QByteArray replacePackageLines(const QByteArray& content, const QString& wanted) {
    QByteArray out;
    out.reserve(content.size());
    for (qsizetype pos = 0; pos < content.size();) {
        const LineSpan line = lineAt(content, pos);
        pos = line.next;
        if (!isTex4htPackageLine(line.in(content))) {
            out.append(QByteArrayView(content).sliced(line.start, line.next - line.start));
        } else if (!wanted.isEmpty()) {
            out.append(insertedPackageLine(wanted));
            out.append(QByteArrayView(content).sliced(line.end, line.next - line.end));
        }
    }
    return out;
}

// The document with `lines` put after its class line; nothing without one.
std::optional<QByteArray>
insertAfterClassLine(const QByteArray& content, const QList<QByteArray>& lines,
                     const std::function<QByteArray(QByteArrayView)>& otherLine = {}) {
    const std::optional<DocumentClass> documentClass = findDocumentClass(content);
    if (!documentClass)
        return std::nullopt;
    QByteArray out;
    out.reserve(content.size() + 256);
    for (qsizetype pos = 0; pos < content.size();) {
        const LineSpan line = lineAt(content, pos);
        pos = line.next;
        const bool classLine = line.start >= documentClass->firstLine.start &&
                               line.start <= documentClass->closingLine.start;
        if (line.start == documentClass->closingLine.start) {
            appendInsertedLine(out, content, line, lines.first());
            for (qsizetype i = 1; i < lines.size(); ++i)
                out.append(lines.at(i) + '\n');
        } else if (!classLine && otherLine) {
            out.append(otherLine(line.in(content)));
            out.append(QByteArrayView(content).sliced(line.end, line.next - line.end));
        } else {
            out.append(QByteArrayView(content).sliced(line.start, line.next - line.start));
        }
    }
    return out;
}

// A line loading a package, not commented out (blanks before "%" count
// here), in lower case.
bool loadsPackage(const QByteArray& lower) {
    return !lower.startsWith('%') &&
           (lower.contains("\\requirepackage") || lower.contains("\\usepackage"));
}

bool isFrenchBabelLine(QByteArrayView line) {
    const QByteArray lower = trimmedLower(line);
    return loadsPackage(lower) && lower.contains("{babel}") &&
           (lower.contains("french") || lower.contains("francais"));
}

bool isBabelOrSwphtLine(QByteArrayView line) {
    const QByteArray lower = trimmedLower(line);
    return loadsPackage(lower) && (lower.contains("{swpht}") || lower.contains("{babel}"));
}

std::optional<LineSpan> findFrenchBabelLine(const QByteArray& content) {
    qsizetype pos = 0;
    for (int count = 0; pos < content.size() && count < babelScanLines; ++count) {
        serveEvents();
        const LineSpan line = lineAt(content, pos);
        if (isFrenchBabelLine(line.in(content)))
            return line;
        pos = line.next;
    }
    return std::nullopt;
}

// swpht gets the tex4ht options itself when no package line carries them.
QByteArray swphtLine(const Conversion& conv) {
    QString extra;
    if (packageLine(conv).isEmpty()) {
        QString options = tex4htArguments(conv).at(4);
        options.remove(QLatin1Char('"'));
        if (!options.isEmpty())
            extra = QLatin1Char(',') + options;
    }
    return " \\usepackage[yes" + extra.toUtf8() + "]{swpht}";
}

} // namespace

bool isTex4htPackageLine(QByteArrayView line) {
    if (isCommentedOut(line))
        return false;
    // "\usepackage{tex4ht}" and "\usepackage {tex4ht}" are among these.
    return (containsAnyCase(line, "\\usepackage") && containsAnyCase(line, "{tex4ht}")) ||
           (containsAnyCase(line, "\\requirepackage") && containsAnyCase(line, "{swpht}"));
}

PackageAnswer askAboutPackageLine(Conversion& conv, const QString& foundLine) {
    if (!conv.app.settings.vars.checkForUsePackage) {
        conv.keptPackageLine = true;
        return PackageAnswer::Keep;
    }
    const QString wanted = packageLine(conv);
    const QStringList args = tex4htArguments(conv);
    if (!wanted.isEmpty() && args.at(0).isEmpty())
        return PackageAnswer::Keep;
    // The line already says what is wanted.
    if (!wanted.isEmpty() &&
        wanted.trimmed().compare(foundLine.trimmed(), Qt::CaseInsensitive) == 0)
        return PackageAnswer::Keep;

    switch (conv.app.seams.prompter->ask(packageQuestionText(args, wanted, foundLine),
                                         S("Package Found"), Buttons::YesNoCancel, Icon::Question,
                                         Answer::No)) {
    case Answer::Yes:
        return PackageAnswer::Replace;
    case Answer::No:
        conv.keptPackageLine = true;
        return PackageAnswer::Keep;
    default:
        return PackageAnswer::Cancel;
    }
}

bool Addtex4ht(Conversion& conv, const QString& /*outputDir*/, const QString& workingCopy) {
    conv.keptPackageLine = false;
    if (isUsersOwnFile(conv, workingCopy))
        return true; // the user's own document is never edited
    const std::optional<QByteArray> content = readFile(workingCopy);
    if (!content)
        return false;
    const PackageAnswer answer = findAndAskAboutPackageLine(conv, *content);
    const QString wanted = packageLine(conv);
    if (answer == PackageAnswer::Cancel)
        return false;
    if (answer == PackageAnswer::Keep || (answer == PackageAnswer::NotFound && wanted.isEmpty()))
        return true;

    std::optional<QByteArray> edited;
    if (answer == PackageAnswer::Replace)
        edited = replacePackageLines(*content, wanted);
    else
        edited = insertAfterClassLine(*content, {insertedPackageLine(wanted)});
    if (!edited || *edited == *content)
        return true; // plain TeX without a class line gets nothing
    return replaceWorkingCopy(conv, workingCopy, *edited);
}

SwphtAnswer askAboutSwpht(Conversion& conv) {
    const QString text = S("The graphics in this file may not convert properly to HTML.\n"
                           " Would you like Morvane to use the swpht package to \n"
                           "work around this problem?\n\n"
                           "No changes are made to the original tex file.\n\n"
                           "Yes:\tMake the changes and convert\n"
                           "No:\tDon't make any changes and convert\n"
                           "Cancel:\tCancel conversion\n\n");
    switch (conv.app.seams.prompter->ask(text, S("Graphics Frame Problem"), Buttons::YesNoCancel,
                                         Icon::Question)) {
    case Answer::Yes:
        return SwphtAnswer::Change;
    case Answer::No:
        return SwphtAnswer::Leave;
    default:
        return SwphtAnswer::Cancel;
    }
}

bool babelAndSwpht(Conversion& conv, const QString& /*outputDir*/, const QString& workingCopy) {
    if (!conv.app.model->isChecked(ctl::chkSWP) || !conv.rawFrame)
        return true;
    if (isUsersOwnFile(conv, workingCopy))
        return true; // the user's own document is never edited
    const std::optional<QByteArray> content = readFile(workingCopy);
    if (!content)
        return false;
    const std::optional<LineSpan> babel = findFrenchBabelLine(*content);
    if (!babel)
        return true;
    const SwphtAnswer answer = askAboutSwpht(conv);
    if (answer == SwphtAnswer::Cancel)
        return false;
    if (answer == SwphtAnswer::Leave)
        return true;

    QList<QByteArray> inserted;
    // A babel line that is part of the class line stays where it is.
    const std::optional<DocumentClass> documentClass = findDocumentClass(*content);
    if (!documentClass || babel->start < documentClass->firstLine.start ||
        babel->start > documentClass->closingLine.start)
        inserted.append(' ' + babel->in(*content).toByteArray());
    inserted.append(swphtLine(conv));
    const std::optional<QByteArray> edited =
        insertAfterClassLine(*content, inserted, [](QByteArrayView line) {
            return isBabelOrSwphtLine(line) ? '%' + line.toByteArray() : line.toByteArray();
        });
    if (!edited)
        return true; // without a class line the document keeps its babel line
    return replaceWorkingCopy(conv, workingCopy, *edited);
}

QString packageLineOptionsOf(const QString& line) {
    if (!line.startsWith(S("\\usepackage")))
        return {};
    const qsizetype open = line.indexOf(QLatin1Char('['));
    if (open < 0)
        return {};
    const qsizetype close = line.indexOf(QLatin1Char(']'), open + 1);
    return close < 0 ? line.mid(open + 1) : line.mid(open + 1, close - open - 1);
}

} // namespace morvane
