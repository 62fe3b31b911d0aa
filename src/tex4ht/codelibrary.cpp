#include "tex4ht/codelibrary.h"

#include "platform/atomicfile.h"

#include <QFile>
#include <optional>

namespace morvane {

namespace {

const QString kHeading = QStringLiteral(";Custom Tex4ht Code");

// The file's lines without their line ends. A final line end does not
// start another line.
QStringList linesOf(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    return lines;
}

QString textOf(const QStringList& lines) {
    return lines.isEmpty() ? QString() : lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

bool startsSection(const QString& line) {
    return line.startsWith(QLatin1Char('['));
}

// The name of a section line "[name]"; nothing for any other line.
std::optional<QString> sectionName(const QString& line) {
    if (line.size() < 2 || !startsSection(line) || !line.endsWith(QLatin1Char(']')))
        return std::nullopt;
    return line.mid(1, line.size() - 2);
}

QString headerFor(const QString& name) {
    return QLatin1Char('[') + name + QLatin1Char(']');
}

// The index just past the section that starts at `header`.
qsizetype sectionEnd(const QStringList& lines, qsizetype header) {
    qsizetype end = header + 1;
    while (end < lines.size() && !startsSection(lines[end]))
        ++end;
    return end;
}

QStringList codeLines(const QString& code) {
    return linesOf(code.endsWith(QLatin1Char('\n')) ? code : code + QLatin1Char('\n'));
}

} // namespace

QString codeLibraryPath(const QString& programDir) {
    return programDir + QStringLiteral("/CustomCode.txt");
}

QString readCodeLibrary(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

bool writeCodeLibrary(const QString& path, const QString& text) {
    return replaceFileAtomically(path, text.toUtf8(), Durability::WaitForDisk);
}

QStringList snippetNames(const QString& library) {
    QStringList names;
    for (const QString& line : linesOf(library)) {
        const std::optional<QString> name = sectionName(line);
        if (name && !name->isEmpty() && !names.contains(*name))
            names.append(*name);
    }
    return names;
}

QString snippetCode(const QString& library, const QString& name) {
    const QStringList lines = linesOf(library);
    const qsizetype header = lines.indexOf(headerFor(name));
    if (header < 0)
        return {};
    QString code =
        lines.mid(header + 1, sectionEnd(lines, header) - header - 1).join(QLatin1Char('\n'));
    if (!code.endsWith(QLatin1Char('\n')))
        code += QLatin1Char('\n');
    if (!code.endsWith(QStringLiteral("\n\n")))
        code += QLatin1Char('\n');
    return code;
}

bool containsName(const QStringList& names, const QString& name) {
    return names.contains(name, Qt::CaseInsensitive);
}

QString proposedSnippetName(const QStringList& names) {
    for (int number = 1;; ++number) {
        const QString name = QStringLiteral("Code") + QString::number(number);
        if (!containsName(names, name))
            return name;
    }
}

QString withSnippetSaved(const QString& library, const QString& name, const QString& code) {
    QStringList lines = linesOf(library);
    const QStringList section = QStringList{headerFor(name)} + codeLines(code);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const std::optional<QString> existing = sectionName(lines[i]);
        if (existing && existing->compare(name, Qt::CaseInsensitive) == 0) {
            const qsizetype end = sectionEnd(lines, i);
            lines.remove(i, end - i);
            for (qsizetype k = 0; k < section.size(); ++k)
                lines.insert(i + k, section[k]);
            return textOf(lines);
        }
    }
    if (lines.isEmpty())
        lines << kHeading << QString();
    return textOf(lines + section);
}

QString withSnippetDeleted(const QString& library, const QString& name) {
    QStringList lines = linesOf(library);
    const QString header = headerFor(name);
    for (qsizetype i = 0; i < lines.size();) {
        if (lines[i] == header)
            lines.remove(i, sectionEnd(lines, i) - i);
        else
            ++i;
    }
    return textOf(lines);
}

QString withSnippetRenamed(const QString& library, const QString& name, const QString& newName) {
    QStringList lines = linesOf(library);
    const qsizetype header = lines.indexOf(headerFor(name));
    if (header >= 0)
        lines[header] = headerFor(newName);
    return textOf(lines);
}

} // namespace morvane
