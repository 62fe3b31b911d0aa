#include "pipeline/watchedfiles.h"

#include "pipeline/route.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

namespace morvane {

namespace {

// Far more than any real document nests; stops a file that inputs itself.
constexpr int kMaxDepth = 16;

// Extensions LaTeX and the graphics package try, in their order.
const char* const kTexExtensions[] = {"", ".tex"};
const char* const kGraphicsExtensions[] = {"",     ".pdf", ".png", ".jpg", ".jpeg",
                                           ".eps", ".ps",  ".PDF", ".PNG", ".JPG",
                                           ".EPS", ".gif", ".svg", ".mps", ".jbig2"};

bool isBelow(const QString& path, const QString& folder) {
    return !folder.isEmpty() &&
           path.startsWith(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'));
}

struct Finder {
    QString folder; // the document's folder: names are relative to it
    QStringList found;
    QSet<QString> seen;

    QString resolve(const QString& name, bool graphics) const {
        const QString base = QDir(folder).absoluteFilePath(name);
        if (graphics) {
            for (const char* extension : kGraphicsExtensions)
                if (QFileInfo(base + QLatin1String(extension)).isFile())
                    return QDir::cleanPath(base + QLatin1String(extension));
        } else {
            for (const char* extension : kTexExtensions)
                if (QFileInfo(base + QLatin1String(extension)).isFile())
                    return QDir::cleanPath(base + QLatin1String(extension));
        }
        return QString();
    }

    void add(const QString& path) {
        if (path.isEmpty() || seen.contains(path))
            return;
        seen.insert(path);
        found.append(path);
    }

    void scan(const QString& texFile, int depth) {
        if (depth > kMaxDepth)
            return;
        QFile file(texFile);
        // Pictures are not TeX: only text is scanned for further names. A
        // special file (a FIFO put in a file's place) would block the open.
        if (!QFileInfo(texFile).isFile() || !file.open(QIODevice::ReadOnly))
            return;
        for (const NamedInput& input : namedInputsOf(file.readAll())) {
            const QString path = resolve(input.name, input.graphics);
            if (path.isEmpty() || seen.contains(path))
                continue;
            add(path);
            if (!input.graphics)
                scan(path, depth + 1);
        }
    }
};

} // namespace

// TeX ends a line at the first "%" that is not escaped by a backslash.
QByteArray withoutTexComment(const QByteArray& line) {
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line.at(i) == '\\') {
            ++i; // the escaped character
            continue;
        }
        if (line.at(i) == '%')
            return line.left(i);
    }
    return line;
}

QList<NamedInput> namedInputsOf(const QByteArray& texText) {
    // \input{x}, \include{x}, \includegraphics[..]{x}, \includegraphics*{x},
    // and plain TeX's \input x.
    static const QRegularExpression braced(QStringLiteral(
        "\\\\(input|include|includegraphics)\\*?\\s*(?:\\[[^\\]]*\\]\\s*){0,2}\\{([^}]*)\\}"));
    static const QRegularExpression plain(QStringLiteral("\\\\input\\s+([^\\s{}\\\\%]+)"));
    QList<NamedInput> names;
    for (const QByteArray& rawLine : texText.split('\n')) {
        // Only a line that names \input or \include can match; the others
        // cost no regular expression.
        if (!rawLine.contains("\\input") && !rawLine.contains("\\include"))
            continue;
        const QString line = QString::fromUtf8(withoutTexComment(rawLine));
        struct Hit {
            qsizetype at;
            NamedInput input;
        };
        QList<Hit> hits;
        for (auto it = braced.globalMatch(line); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            const QString name = m.captured(2).trimmed();
            if (name.isEmpty() || name.contains(QLatin1Char('#')))
                continue; // a macro's parameter, not a file
            const bool graphics = m.captured(1) == QStringLiteral("includegraphics");
            hits.append({m.capturedStart(), {name, graphics}});
        }
        for (auto it = plain.globalMatch(line); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            hits.append({m.capturedStart(), {m.captured(1), false}});
        }
        std::sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) { return a.at < b.at; });
        for (const Hit& hit : hits)
            names.append(hit.input);
    }
    return names;
}

QStringList recordedInputsOf(const QByteArray& flsText) {
    QString pwd;
    QStringList inputs;
    QSet<QString> outputs;
    for (QByteArray line : flsText.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        const QString text = QString::fromUtf8(line);
        if (text.startsWith(QStringLiteral("PWD ")))
            pwd = text.mid(4);
        else if (text.startsWith(QStringLiteral("INPUT ")) ||
                 text.startsWith(QStringLiteral("OUTPUT "))) {
            const bool input = text.startsWith(QStringLiteral("INPUT "));
            const QString name = text.mid(input ? 6 : 7);
            const QString path = QDir::cleanPath(QDir(pwd).absoluteFilePath(name));
            if (input) {
                if (!inputs.contains(path))
                    inputs.append(path);
            } else {
                outputs.insert(path);
            }
        }
    }
    QStringList result;
    for (const QString& path : std::as_const(inputs))
        if (!outputs.contains(path))
            result.append(path);
    return result;
}

QStringList watchedFilesOf(const QString& source, const QString& recorderFile,
                           const QString& outputFolder) {
    Finder finder;
    const QString document = QDir::cleanPath(QFileInfo(source).absoluteFilePath());
    finder.folder = QFileInfo(document).absolutePath();
    finder.add(document);
    finder.scan(document, 0);

    if (recorderFile.isEmpty())
        return finder.found;
    QFile fls(recorderFile);
    if (!fls.open(QIODevice::ReadOnly))
        return finder.found;
    const QString copies = outputFolder.isEmpty()
                               ? QString()
                               : QDir::cleanPath(QFileInfo(outputFolder).absoluteFilePath());
    for (const QString& input : recordedInputsOf(fls.readAll())) {
        QString path = input;
        if (!copies.isEmpty() && isBelow(input, copies) && copies != finder.folder) {
            // A copy the route made in its output folder: the original
            // beside the document is what the user edits.
            path = QDir::cleanPath(finder.folder + QLatin1Char('/') + input.mid(copies.size() + 1));
            if (!QFileInfo(path).isFile())
                continue;
        }
        if (isBelow(path, finder.folder) && QFileInfo(path).isFile())
            finder.add(path);
    }
    return finder.found;
}

QStringList watchedFilesAfter(const QString& source, const ConversionResult* result) {
    if (!result || result->log.isEmpty())
        return watchedFilesOf(source);
    const QFileInfo log(result->log);
    const QString recorder =
        log.absolutePath() + QLatin1Char('/') + log.completeBaseName() + QStringLiteral(".fls");
    const QString folder = log.absolutePath();
    return watchedFilesOf(source, recorder,
                          folder == QFileInfo(source).absolutePath() ? QString() : folder);
}

} // namespace morvane
