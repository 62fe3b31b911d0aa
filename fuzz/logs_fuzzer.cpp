// The log checks: LaTeX's, HeVeA's, TtH's, LaTeX2HTML's and LaTeXML's logs read as
// lists of errors and warnings, and TtH's routine-line filter.
//
// Input: the log's bytes, any of them. Invariants:
//  - at most logtext::kMaxEntries entries, each message at most
//    logtext::kMaxMessage characters, printable (no control characters),
//    trimmed, valid Unicode;
//  - line numbers are never negative; every entry names an absolute,
//    clean file;
//  - a log with LF line ends reads the same with CR LF line ends;
//  - the same log read twice gives the same entries, and reading it from a
//    file (mapped) gives what reading it from memory gives;
//  - TtH's filter keeps whole lines, in order, each of them once, and
//    filtering what it kept changes nothing.

#include "drivers/tth.h"
#include "pipeline/logparsers.h"
#include "pipeline/logtext.h"
#include "support/fuzzsupport.h"

#include <QDir>

using namespace morvane;
using namespace morvane::fuzz;

namespace {

using Parser = LogEntries (*)(QByteArrayView, const LogSource&);

QString describe(const LogEntries& entries) {
    QString text;
    for (const LogEntry& e : entries.mid(0, 20))
        text += QStringLiteral("%1 %2:%3 %4\n")
                    .arg(e.severity == LogEntry::Severity::Error ? "E" : "W", e.file)
                    .arg(e.line)
                    .arg(e.message);
    return text + QStringLiteral("(%1 entries)").arg(entries.size());
}

void checkEntries(const LogEntries& entries, const QByteArray& log) {
    FUZZ_CHECK(entries.size() <= logtext::kMaxEntries, QString::number(entries.size()));
    for (const LogEntry& e : entries) {
        FUZZ_CHECK(e.line >= 0, describe(entries));
        FUZZ_CHECK(e.message.size() <= logtext::kMaxMessage, e.message);
        FUZZ_CHECK(e.message == e.message.trimmed(), e.message);
        for (const QChar c : e.message)
            FUZZ_CHECK(c.unicode() >= 0x20 && c.unicode() != 0x7f,
                       e.message + shown(log.left(500)));
        FUZZ_CHECK(e.message.toUtf8() == QString::fromUtf8(e.message.toUtf8()).toUtf8() &&
                       QString::fromUtf8(e.message.toUtf8()) == e.message,
                   e.message);
        FUZZ_CHECK(QDir::isAbsolutePath(e.file) && QDir::cleanPath(e.file) == e.file,
                   e.file + QStringLiteral("\nlog:\n") + shown(log.left(500)));
    }
}

void checkParser(Parser parse, const QByteArray& log, const LogSource& source) {
    const LogEntries entries = parse(log, source);
    checkEntries(entries, log);
    FUZZ_CHECK(parse(log, source) == entries, describe(entries));
    if (!log.contains('\r')) {
        QByteArray crlf = log;
        crlf.replace("\n", "\r\n");
        const LogEntries fromCrlf = parse(crlf, source);
        FUZZ_CHECK(fromCrlf == entries, QStringLiteral("LF:\n") + describe(entries) +
                                            QStringLiteral("\nCR LF:\n") + describe(fromCrlf));
    }
}

void checkTthFilter(const QByteArray& messages) {
    const QByteArray kept = withoutRoutineTthLines(messages);
    FUZZ_CHECK(withoutRoutineTthLines(kept) == kept, shown(kept));
    FUZZ_CHECK(tthLogHasErrors(messages) == !kept.isEmpty(), shown(messages));
    // Whole lines, in order: each kept line is the next line of the log that
    // is kept, so walking both finds every kept line in the log.
    QList<QByteArray> lines = messages.split('\n');
    qsizetype at = 0;
    for (const QByteArray& line : kept.split('\n')) {
        if (line.isEmpty())
            continue;
        while (at < lines.size() && lines[at] != line)
            ++at;
        FUZZ_CHECK(at < lines.size(), shown(line) + QStringLiteral("\nfrom\n") + shown(messages));
        ++at;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 256 * 1024)
        return -1;
    const QByteArray log(reinterpret_cast<const char*>(data), qsizetype(size));
    const LogSource source{QStringLiteral("/home/ana/doc dir"),
                           QStringLiteral("/home/ana/doc dir/paper.tex")};
    const Parser parsers[] = {parseLatexLog, parseHeveaLog,  parseTthLog,
                              parseL2hLog,   parsePandocLog, parseLatexmlLog};
    for (const Parser parse : parsers)
        checkParser(parse, log, source);
    checkTthFilter(log);

    // The route's log as a file: the mapped reading gives the same entries.
    const QString path = scratchDir() + QStringLiteral("/paper.log");
    writeScratchFile(path, log);
    const LogSource fileSource{scratchDir(), source.document};
    FUZZ_CHECK(readRouteLog(parseLatexLog, path, source.document) == parseLatexLog(log, fileSource),
               QString());
    FUZZ_CHECK(readRouteLog(parseHeveaLog, path, source.document) == parseHeveaLog(log, fileSource),
               QString());
    return 0;
}
