// Include handling: the files a TeX source inputs are copied next to its
// working copy, and the include lines are pointed at the bare names.

#include "fixups/fixupfiles.h"
#include "fixups/graphicsfixup.h"
#include "fixups/htmlfixups.h"
#include "pipeline/appcontext.h"
#include "pipeline/conversion.h"
#include "platform/atomicfile.h"
#include "platform/pathutils.h"

#include <QFileInfo>
#include <QSet>
#include <QVector>

namespace morvane {

using namespace fixups;

namespace {

constexpr int maxIncludeDepth = 100;
constexpr int maxPairsPerFile = 100;

struct IncludePair {
    QString source;
    QString destination;
};

// One include handling request with its nested calls. `finished` holds the
// working copies already handled (or being handled): a file that inputs
// itself through others, or a file input twice, is handled once, and its
// finished working copy is never overwritten by a fresh copy of the source.
struct IncludeRun {
    Conversion& conv;
    KwzTexExtBlock block;
    QSet<QString> finished;
};

QString pathKey(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}

QByteArray lastComponent(const QByteArray& path) {
    return path.mid(path.lastIndexOf('/') + 1);
}

// The include argument as a path below the source's folder: "\" becomes "/"
// (TeX on Windows took both), doubled separators collapse, and one leading
// separator is dropped.
QByteArray includeName(QByteArrayView argument) {
    QByteArray name = argument.toByteArray();
    name.replace('\\', '/');
    name.replace("//", "/");
    if (name.startsWith('/'))
        name.remove(0, 1);
    return name;
}

// Rewrites one include line; copies the file it names and records the pair.
std::optional<QByteArray> rewriteIncludeLine(IncludeRun& run, QByteArrayView line,
                                             const QString& sourceDir,
                                             const QString& destinationDir,
                                             QVector<IncludePair>& pairs) {
    if (line.startsWith('%'))
        return std::nullopt;
    qsizetype command = line.indexOf(QByteArrayView("\\include{"));
    if (command < 0)
        command = line.indexOf(QByteArrayView("\\input{"));
    if (command < 0)
        return std::nullopt;
    const qsizetype open = line.indexOf('{', command);
    const qsizetype close = line.indexOf('}', open);
    if (close < 0)
        return std::nullopt; // an argument running past the line is left alone
    const QByteArrayView argument = line.sliced(open + 1, close - open - 1);
    if (argument.contains(':'))
        return std::nullopt;

    const QByteArray written = includeName(argument);
    QByteArray fileName = written;
    const QByteArray extension = asciiLower(run.conv.sourceExtension.toUtf8());
    if (!containsAnyCase(fileName, extension))
        fileName += run.conv.sourceExtension.toUtf8();
    const QString included = sourceDir + QLatin1Char('/') + pathFromBytes(fileName);
    // A file the source folder does not hold may come from TeX's own search
    // path: its line keeps the directory that finds it.
    if (!QFileInfo(included).isFile())
        return std::nullopt;

    const QString copy = destinationDir + QLatin1Char('/') + pathFromBytes(lastComponent(fileName));
    if (!sameFile(included, copy) && !run.finished.contains(pathKey(copy)))
        copyTextFile(included, copy);
    if (pairs.size() < maxPairsPerFile)
        pairs.append({included, copy});

    QByteArray result;
    result.append(line.first(open + 1));
    result.append(lastComponent(written));
    result.append(line.sliced(close));
    return result;
}

void handleIncludesIn(IncludeRun& run, const QString& source, const QString& destination,
                      TopFileGraphics graphics) {
    if (QFileInfo(source).fileName().compare(QLatin1String("tcilatex.tex"), Qt::CaseInsensitive) ==
        0) {
        if (!sameFile(source, destination))
            copyFileAtomically(source, destination, Durability::NoWait);
        return;
    }
    // The working copy is written from the source; when both are one file
    // that would be writing the user's own document.
    if (sameFile(source, destination))
        return;
    const std::optional<QByteArray> content = readFile(source);
    if (!content)
        return;
    BusyPointer busy;
    run.finished.insert(pathKey(destination));
    const QString sourceDir = QFileInfo(source).absolutePath();
    const QString destinationDir = QFileInfo(destination).absolutePath();

    QVector<IncludePair> pairs;
    const std::optional<QByteArray> edited = editLines(*content, [&](QByteArrayView line) {
        return rewriteIncludeLine(run, line, sourceDir, destinationDir, pairs);
    });
    if (edited && !replaceFile(destination, *edited))
        return;

    for (const IncludePair& pair : pairs) {
        if (run.conv.includeDepth >= maxIncludeDepth)
            break;
        if (run.finished.contains(pathKey(pair.destination)))
            continue;
        ++run.conv.includeDepth;
        handleIncludesIn(run, pair.source, pair.destination, TopFileGraphics::Fix);
    }

    if (graphics == TopFileGraphics::Fix)
        fixGraphics(run.conv, destinationDir, destination, run.block);
}

} // namespace

void handleIncludes(Conversion& conv, const QString& source, const QString& destination,
                    KwzTexExtBlock block, TopFileGraphics top) {
    IncludeRun run{conv, block, {}};
    handleIncludesIn(run, source, destination, top);
}

} // namespace morvane
