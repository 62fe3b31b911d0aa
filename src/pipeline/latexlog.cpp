// LaTeX's log as errors and warnings.

#include "pipeline/logparsers.h"
#include "pipeline/logtext.h"

#include <QList>

namespace morvane {

using namespace logtext;

namespace {

// TeX breaks its log lines at max_print_line, 79 bytes by default.
constexpr qsizetype kTexLineWidth = 79;
// A broken line is joined with at most this much of what follows.
constexpr qsizetype kMaxJoinedLine = 4096;
// An error's context ends at its "l.N" line within a few lines.
constexpr int kMaxErrorContext = 30;
// Parentheses nested deeper than this only count, they are not remembered.
constexpr qsizetype kMaxOpenFiles = 256;

bool startsErrorOrLocation(QByteArrayView line) {
    return line.startsWith("! ") ||
           (line.startsWith("l.") && line.size() > 2 && line[2] >= '0' && line[2] <= '9');
}

// The log's lines with TeX's own line breaks undone.
class TexLines {
public:
    explicit TexLines(QByteArrayView log) : m_lines(log) {}
    bool next(QByteArrayView& line, LineShape& shape) {
        if (!m_lines.next(line, shape))
            return false;
        if (line.size() != kTexLineWidth)
            return true;
        m_joined = line.toByteArray();
        QByteArrayView piece = line;
        while (piece.size() == kTexLineWidth && m_joined.size() < kMaxJoinedLine &&
               !m_lines.atEnd() && !startsErrorOrLocation(m_lines.peek()) &&
               !m_lines.peek().isEmpty()) {
            LineShape pieceShape;
            m_lines.next(piece, pieceShape);
            shape |= pieceShape;
            m_joined.append(piece);
        }
        line = m_joined;
        return true;
    }
    QByteArrayView peek() const { return m_lines.peek(); }

private:
    LogLines m_lines;
    QByteArray m_joined;
};

bool isNameByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.' || c == '+';
}

// "(./chapter.tex", "(/usr/share/.../article.cls", "(broken.aux": TeX opens a
// file. "(Font)", "(see the transcript file" are not files.
bool looksLikeFile(QByteArrayView token) {
    if (token.isEmpty() || token.size() > 1024)
        return false;
    if (token.front() == '/' || token.startsWith("./") || token.startsWith("../"))
        return true;
    const qsizetype dot = token.lastIndexOf('.');
    if (dot <= 0 || dot == token.size() - 1 || token.size() - dot > 5)
        return false;
    for (char c : token) {
        if (!isNameByte(c))
            return false;
    }
    return true;
}

class LatexLogReader {
public:
    explicit LatexLogReader(const LogSource& source) : m_source(source) {}

    LogEntries read(QByteArrayView log) {
        TexLines lines(log);
        QByteArrayView line;
        LineShape shape;
        while (m_entries.size() < kMaxEntries && lines.next(line, shape))
            readLine(line, shape, lines);
        finishError();
        return m_entries;
    }

private:
    void readLine(QByteArrayView line, LineShape shape, TexLines& lines) {
        if (m_pending) {
            if (++m_contextLines > kMaxErrorContext)
                finishError();
        }
        if (m_skipContextLine) {
            // The second half of the context shown after "l.N".
            m_skipContextLine = false;
            return;
        }
        if (shape.dash && readTex4htLine(line))
            return;
        const char first = line.isEmpty() ? '\0' : line.front();
        if (first == '!' && line.startsWith("! ")) {
            if (!line.startsWith("!  ==>"))
                startError(currentFile(), 0, line.sliced(2));
            return;
        }
        if (m_pending && first == 'l' && line.startsWith("l.")) {
            qsizetype pos = 2;
            if (pos < line.size() && line[pos] >= '0' && line[pos] <= '9') {
                const int number = numberAfter(line, "l.");
                if (m_pending->line == 0)
                    m_pending->line = number;
                finishError();
                m_skipContextLine = true;
                return;
            }
        }
        if (m_pending)
            return; // the context of an error quotes the document: no files open there
        if (const auto located = shape.colon ? locatedLine(line) : std::nullopt;
            located && first != '(') {
            startError(resolvedFile(located->file, m_source.baseDir), located->line, located->rest);
            return;
        }
        if (shape.colon && readWarning(line, lines))
            return;
        if (shape.parenthesis)
            trackFiles(line);
    }

    // TeX4ht's style writes "--- TeX4ht warning --- ... ---"; tex4ht and
    // t4ht write "--- warning --- ..." and "--- error --- ...".
    bool readTex4htLine(QByteArrayView line) {
        struct Marker {
            const char* text;
            LogEntry::Severity severity;
        };
        static const Marker markers[] = {
            {"--- TeX4ht warning --- ", LogEntry::Severity::Warning},
            {"--- warning --- ", LogEntry::Severity::Warning},
            {"--- error --- ", LogEntry::Severity::Error},
        };
        if (!containsDashRun(line))
            return false;
        for (const Marker& marker : markers) {
            const qsizetype at = line.indexOf(marker.text);
            if (at < 0)
                continue;
            QByteArrayView message = line.sliced(at + qstrlen(marker.text));
            if (message.endsWith("---"))
                message.chop(3);
            const int number = line.startsWith("l.") ? numberAfter(line, "l.") : 0;
            add({marker.severity, currentFile(), number, messageText(message)});
            return true;
        }
        return false;
    }

    // "LaTeX Warning: ...", "Package hyperref Warning: ..." with its
    // "(hyperref)" continuation lines, "Class article Warning: ...".
    bool readWarning(QByteArrayView line, TexLines& lines) {
        if (line.isEmpty() || (line.front() != 'L' && line.front() != 'P' && line.front() != 'C'))
            return false;
        const qsizetype at = line.indexOf(" Warning: ");
        if (at <= 0)
            return false;
        const QByteArrayView who = line.first(at);
        QByteArrayView name;
        if (who == "LaTeX")
            name = who;
        else if (who.startsWith("Package ") && !who.sliced(8).contains(' '))
            name = who.sliced(8);
        else if (who.startsWith("Class ") && !who.sliced(6).contains(' '))
            name = who.sliced(6);
        else
            return false;

        QByteArray message = line.sliced(at + 10).toByteArray();
        const QByteArray continuation = '(' + name.toByteArray() + ')';
        QByteArrayView more;
        LineShape ignored;
        while (message.size() < kMaxMessage && lines.peek().startsWith(continuation) &&
               lines.next(more, ignored))
            message += ' ' + more.sliced(continuation.size()).trimmed().toByteArray();
        add({LogEntry::Severity::Warning, currentFile(), numberAfter(message, "input line"),
             messageText(message)});
        return true;
    }

    void trackFiles(QByteArrayView line) {
        const qsizetype n = line.size();
        for (qsizetype i = indexOfEither(line, '(', ')'); i >= 0;
             i = indexOfEither(line, '(', ')', i + 1)) {
            if (line[i] == ')') {
                close();
                continue;
            }
            qsizetype j = i + 1;
            while (j < n && line[j] != ' ' && line[j] != '(' && line[j] != ')')
                ++j;
            open(line.sliced(i + 1, j - i - 1));
            i = j - 1;
        }
    }

    void open(QByteArrayView token) {
        if (m_files.size() >= kMaxOpenFiles) {
            ++m_deeper;
            return;
        }
        // Kept as written: most files close again without a message, so
        // they are resolved only when an entry names them.
        m_files.append(looksLikeFile(token) ? token.toByteArray() : QByteArray());
    }

    void close() {
        if (m_deeper > 0)
            --m_deeper;
        else if (!m_files.isEmpty())
            m_files.removeLast();
    }

    QString currentFile() const {
        for (auto it = m_files.crbegin(); it != m_files.crend(); ++it) {
            if (!it->isEmpty())
                return resolvedFile(*it, m_source.baseDir);
        }
        return m_source.document;
    }

    void startError(const QString& file, int line, QByteArrayView message) {
        finishError();
        m_pending = LogEntry{LogEntry::Severity::Error, file, line, messageText(message)};
        m_contextLines = 0;
    }

    void finishError() {
        if (m_pending)
            add(*m_pending);
        m_pending.reset();
    }

    void add(const LogEntry& entry) {
        if (m_entries.size() < kMaxEntries)
            m_entries.append(entry);
    }

    const LogSource& m_source;
    LogEntries m_entries;
    QList<QByteArray> m_files;
    qsizetype m_deeper = 0;
    std::optional<LogEntry> m_pending;
    int m_contextLines = 0;
    bool m_skipContextLine = false;
};

} // namespace

LogEntries parseLatexLog(QByteArrayView log, const LogSource& source) {
    return LatexLogReader(source).read(log);
}

} // namespace morvane
