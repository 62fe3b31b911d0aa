#include "fixups/graphicsfixup.h"

#include "fixups/fixupfiles.h"
#include "fixups/graphicspath.h"
#include "fixups/texlines.h"
#include "fixups/workingcopyfiles.h"
#include "pipeline/appcontext.h"
#include "pipeline/conversion.h"
#include "platform/pathutils.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <vector>

namespace morvane {

using namespace fixups;

namespace {

constexpr QByteArrayView frameOpener("\\frame{");              // matched in any case
constexpr QByteArrayView swpFrameComment("%tcimacro{\\frame"); // matched in any case
constexpr QByteArrayView includeCommand("\\includegraphics");  // matched in any case
constexpr QByteArrayView beginDocument("\\begin{document}");   // matched in any case
// The whole line of the block, so that the block is found again.
constexpr QByteArrayView kwzTexLine("   {\\typeout{Setting KWZTeXExt to tex...}");

// Defines \KWZTeXExt for swpht unless the document's configuration has.
constexpr QByteArrayView kwzTexBlock("\n\n"
                                     "\\typeout{Reading post-config-file macros...}\n"
                                     "\\makeatletter\n"
                                     "\\@ifundefined{KWZTeXExt}{}\n"
                                     "   {\\typeout{Setting KWZTeXExt to tex...}\n"
                                     "   \\def\\KWZTeXExt{tex}}\n"
                                     "\\makeatother\n");

bool hasRawFrames(QByteArrayView content) {
    return containsAnyCase(content, frameOpener) && !containsAnyCase(content, swpFrameComment);
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// One change of the working copy: `length` bytes at `pos` become `text`.
struct Edit {
    qsizetype pos;
    qsizetype length;
    QByteArray text;
};

QByteArray applyEdits(const QByteArray& content, std::vector<Edit> edits) {
    std::stable_sort(edits.begin(), edits.end(),
                     [](const Edit& a, const Edit& b) { return a.pos < b.pos; });
    QByteArray out;
    out.reserve(content.size() + 512);
    qsizetype copied = 0;
    for (const Edit& edit : edits) {
        out.append(content.constData() + copied, edit.pos - copied);
        out.append(edit.text);
        copied = edit.pos + edit.length;
    }
    out.append(content.constData() + copied, content.size() - copied);
    return out;
}

// The picture name with "/" for every separator (Scientific WorkPlace wrote
// Windows paths) and blanks for the line breaks of a name spread over lines.
QByteArray pictureName(QByteArrayView reference) {
    QByteArray name = reference.toByteArray();
    name.replace('\\', '/');
    name.replace("\r\n", " ");
    name.replace('\n', ' ');
    return name;
}

QByteArray bareNameOf(QByteArrayView reference) {
    const QByteArray name = pictureName(reference);
    return name.mid(name.lastIndexOf('/') + 1);
}

// Copies a picture next to the working copy under the bare name its
// shortened reference uses. A relative name is resolved against the folder
// of the user's TeX file, as TeX itself would, "../" parts included.
void copyPicture(const Conversion& conv, QByteArrayView reference, const QString& outputDir) {
    const QByteArray bare = bareNameOf(reference);
    if (bare.isEmpty())
        return;
    const QString name = pathFromBytes(pictureName(reference));
    QString source = name;
    if (!name.startsWith(QLatin1Char('/'))) {
        const QString texFile = conv.app.model ? conv.app.convertFile() : QString();
        if (texFile.isEmpty())
            return;
        source = QDir::cleanPath(QFileInfo(texFile).absolutePath() + QLatin1Char('/') + name);
    }
    const QString destination = joinPath(outputDir, pathFromBytes(bare));
    if (QFileInfo(source).isFile()) {
        copyIfDifferent(source, destination);
        return;
    }
    // A name without its extension ("figs/plot") stands for the picture
    // graphicx picks by extension: its shortened reference must find every
    // candidate beside the working copy.
    if (!QFileInfo(name).suffix().isEmpty())
        return;
    for (const QString& extension : pictureExtensions())
        if (QFileInfo(source + extension).isFile())
            copyIfDifferent(source + extension, destination + extension);
}

// Shortens the reference at [start, end) to its bare file name and copies
// the picture.
void takePicture(Conversion& conv, const QByteArray& content, qsizetype start, qsizetype end,
                 const QString& outputDir, std::vector<Edit>& edits) {
    const QByteArrayView reference = QByteArrayView(content).sliced(start, end - start);
    const QByteArray bare = bareNameOf(reference);
    if (!bare.isEmpty() && bare != reference)
        edits.push_back({start, end - start, bare});
    copyPicture(conv, reference, outputDir);
}

// A frame block runs from its first line to the line that holds ";}%" or
// ";}}"; its picture is the text inside the last pair of single quotes that
// is followed by ";". Returns where the next line after the block starts, or
// nothing when the block never ends (it then stays as it is).
std::optional<qsizetype> takeFramePicture(Conversion& conv, const QByteArray& content,
                                          const LineSpan& first, ForwardSearch& percentEnd,
                                          ForwardSearch& braceEnd, const QString& outputDir,
                                          std::vector<Edit>& edits) {
    const qsizetype a = percentEnd.from(first.start);
    const qsizetype b = braceEnd.from(first.start);
    const qsizetype marker = a < 0 ? b : (b < 0 ? a : std::min(a, b));
    if (marker < 0)
        return std::nullopt;
    const LineSpan last = lineAt(content, content.lastIndexOf('\n', marker) + 1);
    const QByteArrayView block =
        QByteArrayView(content).sliced(first.start, last.end - first.start);
    const qsizetype close = block.lastIndexOf(QByteArrayView("';"));
    const qsizetype open = close > 0 ? block.lastIndexOf('\'', close - 1) : -1;
    if (open >= 0 && close > open + 1)
        takePicture(conv, content, first.start + open + 1, first.start + close, outputDir, edits);
    return last.next;
}

// Takes the pictures of the \includegraphics commands that begin in `line`
// and at or after `from`; returns the position up to which the text has been
// read as arguments. Only the command with its argument names a picture:
// "\let\x\includegraphics" or "\renewcommand{\includegraphics}" do not, and
// neither does a name built by a macro.
qsizetype takeIncludedPictures(Conversion& conv, const QByteArray& content, const LineSpan& line,
                               qsizetype from, const QString& outputDir, std::vector<Edit>& edits) {
    for (qsizetype at = indexOfAnyCase(content, includeCommand, from); at >= 0 && at < line.end;
         at = indexOfAnyCase(content, includeCommand, from)) {
        qsizetype after = at + includeCommand.size();
        from = after;
        if (after < content.size() && content.at(after) == '*')
            ++after;
        if (after < content.size() && isLetter(content.at(after)))
            continue; // a longer command name
        const std::optional<ArgumentSpan> argument = braceArgument(content, after, 2);
        if (!argument)
            continue;
        from = argument->end + 1;
        const QByteArrayView name =
            QByteArrayView(content).sliced(argument->start, argument->end - argument->start);
        if (!name.contains('\\'))
            takePicture(conv, content, argument->start, argument->end, outputDir, edits);
    }
    return from;
}

} // namespace

void splitFrameLines(Conversion& conv, const QString& workingCopy) {
    const std::optional<QByteArray> content = readFile(workingCopy);
    if (!content || !hasRawFrames(*content))
        return;
    conv.rawFrame = true;
    std::vector<Edit> edits;
    for (qsizetype at = indexOfAnyCase(*content, frameOpener); at >= 0;
         at = indexOfAnyCase(*content, frameOpener, at + frameOpener.size())) {
        if (at > 0 && content->at(at - 1) != '\n')
            edits.push_back({at, 0, QByteArrayLiteral("\n\n")});
    }
    if (!edits.empty() && !isUsersOwnFile(conv, workingCopy))
        replaceWorkingCopy(conv, workingCopy, applyEdits(*content, std::move(edits)));
}

bool CheckforKwzTex(const QString& path) {
    const QByteArray start = readFileStart(path, 32000);
    for (qsizetype at = start.indexOf(kwzTexLine); at >= 0;
         at = start.indexOf(kwzTexLine, at + 1)) {
        const QByteArrayView rest = QByteArrayView(start).sliced(at + kwzTexLine.size());
        if (rest.startsWith('\n') || rest.startsWith("\r\n"))
            return true;
    }
    return false;
}

bool fixGraphics(Conversion& conv, const QString& outputDir, const QString& workingCopy,
                 KwzTexExtBlock block) {
    splitFrameLines(conv, workingCopy);
    if (isUsersOwnFile(conv, workingCopy))
        return true; // the user's own document is never edited
    bool blockThere = block == KwzTexExtBlock::Omit || CheckforKwzTex(workingCopy);
    const std::optional<QByteArray> content = readFile(workingCopy);
    if (!content)
        return false;

    BusyPointer busy;
    std::vector<Edit> edits;
    ForwardSearch percentEnd(*content, ";}%");
    ForwardSearch braceEnd(*content, ";}}");
    qsizetype readUpTo = 0; // text before this was an argument of an earlier command
    qsizetype pos = 0;
    while (pos < content->size()) {
        const LineSpan line = lineAt(*content, pos);
        const QByteArrayView text = line.in(*content);
        pos = line.next;
        if (!blockThere && !isCommentedOut(text)) {
            if (const qsizetype at = indexOfAnyCase(text, beginDocument); at >= 0) {
                edits.push_back({line.start + at, 0, kwzTexBlock.toByteArray()});
                blockThere = true;
            }
        }
        if (containsAnyCase(text, frameOpener)) {
            if (!containsAnyCase(text, swpFrameComment))
                conv.rawFrame = true;
            // A picture on the frame's own line (\frame{\includegraphics{...}})
            // is a reference like any other.
            if (containsAnyCase(text, includeCommand))
                readUpTo = takeIncludedPictures(conv, *content, line,
                                                std::max(readUpTo, line.start), outputDir, edits);
            if (const std::optional<qsizetype> next =
                    takeFramePicture(conv, *content, line, percentEnd, braceEnd, outputDir, edits))
                pos = *next;
            continue;
        }
        if (containsAnyCase(text, includeCommand))
            readUpTo = takeIncludedPictures(conv, *content, line, std::max(readUpTo, line.start),
                                            outputDir, edits);
    }
    if (edits.empty())
        return true;
    return replaceWorkingCopy(conv, workingCopy, applyEdits(*content, std::move(edits)));
}

} // namespace morvane
