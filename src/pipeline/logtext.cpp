#include "pipeline/logtext.h"

#include <QDir>

namespace morvane::logtext {

QByteArrayView LogLines::lineAt(qsizetype pos, qsizetype* end) const {
    const qsizetype newline = m_text.indexOf('\n', pos);
    *end = newline < 0 ? m_text.size() : newline + 1;
    qsizetype stop = newline < 0 ? m_text.size() : newline;
    if (stop > pos && m_text[stop - 1] == '\r')
        --stop;
    return m_text.sliced(pos, stop - pos);
}

bool LogLines::next(QByteArrayView& line) {
    if (atEnd())
        return false;
    qsizetype end = 0;
    line = lineAt(m_pos, &end);
    m_pos = end;
    return true;
}

QByteArrayView LogLines::peek() const {
    if (atEnd())
        return {};
    qsizetype end = 0;
    return lineAt(m_pos, &end);
}

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads the decimal number at `pos`; the value stays bounded on a run of
// thousands of digits.
int readNumber(QByteArrayView text, qsizetype& pos) {
    int value = 0;
    while (pos < text.size() && isDigit(text[pos])) {
        if (value < 100000000)
            value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    return value;
}

} // namespace

std::optional<LocatedLine> locatedLine(QByteArrayView line) {
    if (line.isEmpty() || line.front() == ' ')
        return std::nullopt;
    for (qsizetype colon = line.indexOf(':'); colon > 0; colon = line.indexOf(':', colon + 1)) {
        qsizetype pos = colon + 1;
        if (pos >= line.size() || !isDigit(line[pos]))
            continue;
        const int number = readNumber(line, pos);
        if (pos + 1 < line.size() && line[pos] == ':' && line[pos + 1] == ' ')
            return LocatedLine{line.first(colon), number, line.sliced(pos + 2)};
        colon = pos - 1;
    }
    return std::nullopt;
}

int numberAfter(QByteArrayView text, QByteArrayView word) {
    for (qsizetype at = text.indexOf(word); at >= 0; at = text.indexOf(word, at + 1)) {
        qsizetype pos = at + word.size();
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == ':'))
            ++pos;
        if (pos < text.size() && isDigit(text[pos]))
            return readNumber(text, pos);
    }
    return 0;
}

QString messageText(QByteArrayView bytes) {
    QString text = QString::fromUtf8(bytes.first(qMin(bytes.size(), kMaxMessage * 4)));
    for (QChar& c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QLatin1Char(' ');
    }
    text = text.trimmed();
    if (text.size() > kMaxMessage)
        text = text.left(kMaxMessage - 3) + QStringLiteral("...");
    return text;
}

QString resolvedFile(QByteArrayView file, const QString& baseDir) {
    const QString name = QString::fromUtf8(file);
    return QDir::cleanPath(QDir(baseDir).absoluteFilePath(name));
}

} // namespace morvane::logtext
