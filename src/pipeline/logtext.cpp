#include "pipeline/logtext.h"

#include <QDir>

#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

namespace {

// The position of the first '\n' at or after `pos` (or the end), with the
// shape of the bytes before it.
qsizetype scanLine(QByteArrayView text, qsizetype pos, LineShape& shape) {
    const char* data = text.data();
    const qsizetype size = text.size();
    unsigned parens = 0, colons = 0, dashes = 0;
    qsizetype i = pos;
#if defined(__SSE2__)
    const __m128i newline = _mm_set1_epi8('\n');
    const __m128i open = _mm_set1_epi8('(');
    const __m128i close = _mm_set1_epi8(')');
    const __m128i colon = _mm_set1_epi8(':');
    const __m128i dash = _mm_set1_epi8('-');
    for (; i + 16 <= size; i += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const unsigned ends = _mm_movemask_epi8(_mm_cmpeq_epi8(chunk, newline));
        // Only the bytes before the line end count.
        const unsigned before = ends ? (ends & (0u - ends)) - 1 : 0xffffu;
        parens |= before & _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(chunk, open),
                                                          _mm_cmpeq_epi8(chunk, close)));
        colons |= before & _mm_movemask_epi8(_mm_cmpeq_epi8(chunk, colon));
        dashes |= before & _mm_movemask_epi8(_mm_cmpeq_epi8(chunk, dash));
        if (ends) {
            i += __builtin_ctz(ends);
            shape = {parens != 0, colons != 0, dashes != 0};
            return i;
        }
    }
#endif
    for (; i < size && data[i] != '\n'; ++i) {
        parens |= data[i] == '(' || data[i] == ')';
        colons |= data[i] == ':';
        dashes |= data[i] == '-';
    }
    shape = {parens != 0, colons != 0, dashes != 0};
    return i;
}

} // namespace

bool LogLines::next(QByteArrayView& line, LineShape& shape) {
    if (atEnd())
        return false;
    const qsizetype newline = scanLine(m_text, m_pos, shape);
    qsizetype stop = newline;
    if (stop > m_pos && m_text[stop - 1] == '\r')
        --stop;
    line = m_text.sliced(m_pos, stop - m_pos);
    m_pos = newline < m_text.size() ? newline + 1 : newline;
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

qsizetype indexOfEither(QByteArrayView text, char a, char b, qsizetype from) {
    const char* data = text.data();
    const qsizetype size = text.size();
    qsizetype i = from;
#if defined(__SSE2__)
    const __m128i wantA = _mm_set1_epi8(a);
    const __m128i wantB = _mm_set1_epi8(b);
    for (; i + 16 <= size; i += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const int hits = _mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi8(chunk, wantA), _mm_cmpeq_epi8(chunk, wantB)));
        if (hits != 0)
            return i + __builtin_ctz(static_cast<unsigned>(hits));
    }
#endif
    for (; i < size; ++i) {
        if (data[i] == a || data[i] == b)
            return i;
    }
    return -1;
}

bool containsDashRun(QByteArrayView text) {
    const char* data = text.data();
    const char* end = data + text.size();
    for (const char* dash = data; end - dash >= 4;) {
        dash = static_cast<const char*>(std::memchr(dash, '-', end - dash - 3));
        if (!dash)
            return false;
        if (dash[1] == '-' && dash[2] == '-' && dash[3] == ' ')
            return true;
        ++dash;
    }
    return false;
}

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
