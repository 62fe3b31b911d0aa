#include "tex4ht/configfile.h"

#include <QStringList>

namespace morvane {

QString configFileFromCaption(const QString& caption) {
    QString name = caption;
    name.remove(QLatin1Char('&'));
    const QString prefix = QStringLiteral("Edit ");
    return name.startsWith(prefix) ? name.mid(prefix.size()) : name;
}

QString configSuffix(const QString& fileName) {
    const qsizetype dash = fileName.indexOf(QLatin1Char('-'));
    if (dash < 0)
        return {};
    const qsizetype end = fileName.indexOf(QStringLiteral(".cfg"), dash, Qt::CaseInsensitive);
    return end < 0 ? fileName.mid(dash) : fileName.mid(dash, end - dash);
}

QString configDisplayName(const QString& suffix) {
    if (suffix == QLatin1String("-xh"))
        return QStringLiteral("Bitmap Maths");
    if (suffix == QLatin1String("-xhm"))
        return QStringLiteral("MathML");
    if (suffix == QLatin1String("-mz"))
        return QStringLiteral("MathML Mozilla");
    return QStringLiteral("HTML");
}

namespace {

// The line that reads the document's own file of the given extension.
QString documentFileLine(const QString& suffix, const QString& extension) {
    const QString spaced = suffix.isEmpty() ? QString() : QLatin1Char(' ') + suffix;
    const QString file = QStringLiteral("\\jobname") + spaced + extension;
    return QStringLiteral("\\IfFileExists{") + file + QStringLiteral("}{\\input ") + file +
           QStringLiteral(" \\typeout{QVCONFIG") + suffix.toUpper() +
           QStringLiteral(" is using \\jobname") + suffix + extension + QStringLiteral("}}{}");
}

} // namespace

QString configSkeleton(const QString& suffix) {
    const QStringList lines{
        suffix.isEmpty() ? QStringLiteral("\\Preamble{html}") : QStringLiteral("\\Preamble{}"),
        {},
        {},
        {},
        {},
        QStringLiteral("% IMPORTANT: Place your Preamble configuration commands *above* this line"),
        documentFileLine(suffix, QStringLiteral(".cfg")),
        QStringLiteral("\\begin{document}"),
        {},
        {},
        {},
        {},
        QStringLiteral(
            "% IMPORTANT: Place your Beginning configuration commands *above* this line"),
        documentFileLine(suffix, QStringLiteral(".cfh")),
        {},
        {},
        QStringLiteral("\\EndPreamble")};
    return lines.join(QLatin1Char('\n'));
}

QString configExplanation(const QString& fileName) {
    return QStringLiteral("This is ") + fileName +
           QStringLiteral(" which can be used to customize the ") +
           configDisplayName(configSuffix(fileName)) + QStringLiteral(" file. ") +
           QLatin1Char('\n') + QStringLiteral("Pressing OK will use ") + fileName +
           QStringLiteral(" in the conversion and also save it for future use.");
}

QString withSnippetInserted(const QString& text, const QString& snippet, SnippetPlace place,
                            qsizetype cursor) {
    qsizetype anchor = -1;
    if (place == SnippetPlace::InPreamble)
        anchor = text.indexOf(QStringLiteral("\\Preamble"));
    else if (place == SnippetPlace::InDocument)
        anchor = text.indexOf(QStringLiteral("\\begin{document}"));
    if (anchor < 0)
        anchor = qBound(qsizetype(0), cursor, text.size());

    // A "\r\n" ends in "\n" too, so the new line starts after either form.
    const qsizetype lineEnd = text.indexOf(QLatin1Char('\n'), anchor);
    if (lineEnd < 0)
        return text + QLatin1Char('\n') + snippet;
    QString result = text;
    result.insert(lineEnd + 1, snippet);
    return result;
}

QString configFileContent(const QString& text) {
    return text.endsWith(QLatin1Char('\n')) ? text : text + QLatin1Char('\n');
}

} // namespace morvane
