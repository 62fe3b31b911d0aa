#include "pdfsetup/batchpatches.h"

namespace morvane {

namespace {

QString L(const char* text) {
    return QString::fromLatin1(text);
}

bool isSeparator(QChar c) {
    return c == QLatin1Char('\\') || c == QLatin1Char('/');
}

// A Windows path starts with its drive ("c:"); a path without one has no
// drive to set, and its directory is the whole path.
bool hasDrive(const QString& path) {
    return path.size() >= 2 && path[1] == QLatin1Char(':') && path[0].isLetter();
}

// Every match of `from` in any (ASCII) case replaced by `to`; the bytes
// around the matches are kept exactly.
QByteArray replacedAnyCase(const QByteArray& text, const QByteArray& from, const QByteArray& to) {
    const QByteArray lower = text.toLower();
    const QByteArray needle = from.toLower();
    QByteArray out;
    qsizetype done = 0;
    for (qsizetype at = lower.indexOf(needle); at >= 0; at = lower.indexOf(needle, done)) {
        out += text.mid(done, at - done);
        out += to;
        done = at + needle.size();
    }
    out += text.mid(done);
    return out;
}

QString gswin32c(const QString& root) {
    return root + L("bin") + root.back() + L("gswin32c");
}

} // namespace

QString ghostscriptRoot(const QString& gsLib) {
    QString root = gsLib.toLower().chopped(qMin<qsizetype>(3, gsLib.size()));
    if (root.isEmpty() || !isSeparator(root.back()))
        root += QLatin1Char('\\');
    return root;
}

QByteArray patchedPs2pdf(const QByteArray& text, const QString& root) {
    const QByteArray program = gswin32c(root).toUtf8();
    QByteArray out = replacedAnyCase(text, "set PS2PDFGS=gswin32c", "set PS2PDFGS=" + program);
    return replacedAnyCase(out, "%GSC% @_.at @_.at2", program + " @_.at @_.at2");
}

std::optional<QString> pdfmakegstcLine(const QString& original, const ChainChoices& choices,
                                       QString* error) {
    const QString line = original.toLower();
    const QString root = ghostscriptRoot(choices.gsLib);
    const QString gsLib = choices.gsLib.toLower();

    const QString drive = L("set gsdrive=");
    if (line.startsWith(drive))
        return drive + (hasDrive(gsLib) ? gsLib.left(2) : QString());
    const QString dir = L("set gsdir=");
    if (line.startsWith(dir) && line.size() > dir.size())
        return dir + (hasDrive(root) ? root.mid(2) : root);
    const QString swp = L("set swppath=");
    if (line.startsWith(swp) && line.size() > swp.size())
        return swp + choices.swpDir.toLower();
    const QString initex = L("start /wait %swppath%\\initex32");
    if (line.startsWith(initex))
        return initex + QLatin1Char(' ') + (choices.ntFamily ? L("^") : QString()) + L("&latex") +
               (choices.multiLingual ? L("_ml") : QString()) + L(" %1");
    const QString dvigdi = L("start /wait %swppath%\\dvigdi32.exe -w!");
    if (line.startsWith(dvigdi)) {
        // The printer's name is the only text that keeps its case.
        const qsizetype comma = line.indexOf(QLatin1Char(','));
        if (comma < 0) {
            if (error)
                *error = L("The dvigdi32 line of pdfmakegstc.bat has no \",\" after the "
                           "printer's name:\n") +
                         original;
            return std::nullopt;
        }
        return dvigdi + QString(choices.printer).replace(QLatin1Char(' '), QLatin1Char('!')) +
               line.mid(comma);
    }
    const QString ps2pdf = L("call ps2pdf1");
    if (line.startsWith(ps2pdf))
        return ps2pdf + QString::number(2 + qBound(0, choices.acrobat, 2)) + L(" %1.ps %1.pdf");
    return line;
}

std::optional<QByteArray> rewrittenPdfmakegstc(const QByteArray& text, const ChainChoices& choices,
                                               QString* error) {
    QByteArray out;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        const qsizetype next = end < 0 ? text.size() : end + 1;
        if (end < 0)
            end = text.size();
        const qsizetype bodyEnd = end > start && text[end - 1] == '\r' ? end - 1 : end;
        const std::optional<QString> line =
            pdfmakegstcLine(QString::fromUtf8(text.mid(start, bodyEnd - start)), choices, error);
        if (!line)
            return std::nullopt;
        out += line->toUtf8();
        out += text.mid(bodyEnd, next - bodyEnd); // the line's own end, if any
        start = next;
    }
    return out;
}

} // namespace morvane
