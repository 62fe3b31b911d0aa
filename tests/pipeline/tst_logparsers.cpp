// The log parsers on logs that the real converters wrote for the broken
// documents of tests/data/logs (make-logs.sh writes them again), and on logs
// no converter should write.

#include "pipeline/logparsers.h"
#include "pipeline/logtext.h"
#include "pipeline/route.h"
#include "support/testmain.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace morvane;

namespace {

QString logsDir() {
    return QStringLiteral(MORVANE_SOURCE_DIR "/tests/data/logs");
}

// An entry as "file:line: kind: message" with the file relative to the
// test folder, or only its name when it lies elsewhere (TeX's own files),
// and " [gave up]" after a fatal one.
QStringList shown(const LogEntries& entries) {
    QStringList lines;
    for (LogEntry entry : entries) {
        entry.file = entry.file.startsWith(logsDir() + '/') ? entry.file.mid(logsDir().size() + 1)
                                                            : QFileInfo(entry.file).fileName();
        lines.append(compilerStyleLine(entry) + (entry.fatal ? " [gave up]" : ""));
    }
    return lines;
}

QByteArray logBytes(const QString& name) {
    QFile file(logsDir() + '/' + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The log parser of a built-in route.
LogParser parserOf(const QString& route) {
    return routeForKey(builtInRoutes(), route)->parseLog;
}

} // namespace

class TestLogParsers : public QObject {
    Q_OBJECT

private slots:
    void realLogs_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("log");
        QTest::addColumn<QStringList>("entries");

        const QStringList latex = {
            "broken.tex:4: warning: Reference `nowhere' on page 1 undefined on input line 4.",
            "chapter.tex:5: error: LaTeX Error: \\begin{itemize} on input line 3 ended by "
            "\\end{enumerate}.",
            "broken.tex:8: error: Undefined control sequence.",
            "broken.tex: warning: There were undefined references.",
        };
        QTest::newRow("latex: files from the parentheses, lines from l.N")
            << QString("dvi") << "latex.log" << latex;
        QTest::newRow("latex -file-line-error: the same entries")
            << QString("dvi") << "latex-file-line-error.log" << latex;
        QTest::newRow("htlatex: TeX4ht's warnings, the error and the stop")
            << QString("dvi") << "tex4ht.log"
            << QStringList{
                   "tex4ht.sty:864: warning: nonprimitive \\everypar",
                   "tex4ht.sty:1481: warning: No file broken.xref",
                   latex[0],
                   latex[1],
                   "chapter.tex:5: error: Emergency stop.",
               };
        QTest::newRow("hevea: warnings and errors with their files")
            << QString("hevea") << "hevea.hlog"
            << QStringList{
                   "broken.tex:4: warning: Undefined label: 'nowhere'",
                   "chapter.tex:5: error: Giving up command: \\@close",
                   "chapter.tex:5: error: Giving up command: \\endenumerate",
                   "chapter.tex:5: error: Giving up command: \\end",
                   "broken.tex:6: error: Giving up command: \\input",
                   "chapter.tex:5: error: Environment nesting error: html: 'ol' closes 'ul'",
                   "chapter.tex:3: error: Latex environment 'itemize' is pending",
               };
        QTest::newRow("tth: an unknown command is a warning")
            << QString("tth") << "tth.tlog"
            << QStringList{
                   "broken.tex:8: warning: Unknown command \\nosuchmacro, (1 user-defined) Line 8"};
        QTest::newRow("tth: a fatal error takes its line from the next line")
            << QString("tth") << "tth-fatal.tlog"
            << QStringList{"broken.tex:3: error: Error: Fatal. Apparently too many }s. [gave up]"};
        QTest::newRow("hevea: labels undefined in an earlier round only are settled")
            << QString("hevea") << "hevea-rounds.hlog"
            << QStringList{"broken.tex:9: warning: Undefined label: 'nowhere'"};
        QTest::newRow("hevea: pictures imagen did not make")
            << QString("hevea") << "hevea-pictures.hlog"
            << QStringList{"broken.tex: error: Morvane: 1 picture(s) the pages show were not made "
                           "(is dvipng, ImageMagick or Ghostscript installed? morvane --check "
                           "says): broken.html: broken001.png"};
        QTest::newRow("hevea: an uncaught exception is where HeVeA last was")
            << QString("hevea") << "hevea-fatal.hlog"
            << QStringList{"broken.tex:4: warning: Undefined label: 'nowhere'",
                           "broken.tex:4: error: Fatal error: exception "
                           "Invalid_argument(\"index out of bounds\") [gave up]"};
        QTest::newRow(
            "latex2html: its unknown commands; the paragraphs of WARNINGS, not their echo")
            << QString("latex2html") << "latex2html.log"
            << QStringList{
                   "broken.tex: warning: Unknown command \\nosuch",
                   "broken.tex: warning: The warn.aux file was not found, so sections will not "
                   "be numbered and cross-references will be shown as icons.",
                   "broken.tex: warning: no reference for citation: nobody",
               };
        QTest::newRow("latexml: placed in the document and in its input, warnings of its "
                      "post-processing on the document")
            << QString("latexml") << "latexml.log"
            << QStringList{
                   "chapter.tex:5: error: unexpected:\\end{enumerate} Can't close environment "
                   "enumerate;",
                   "broken.tex:8: error: undefined:\\nosuchmacro The token T_CS[\\nosuchmacro] "
                   "is not defined.",
                   "broken.tex: warning: expected:ids Missing Target for Label: LABEL:nowhere",
               };
        QTest::newRow("pandoc: gives up where it cannot read on, in the file it read")
            << QString("pandoc") << "pandoc-fatal.plog"
            << QStringList{"chapter.tex:3: error: unexpected \\begin; expecting "
                           "\\end{document} [gave up]"};
        QTest::newRow("pandoc: warnings, without the one about a page named after its file")
            << QString("pandoc") << "pandoc.plog"
            << QStringList{"broken.tex: warning: Citeproc: citation nobody not found"};
    }

    void pandocWarningPlaces_data() {
        QTest::addColumn<QByteArray>("log");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("a place at the end of the message")
            << QByteArray("[WARNING] Could not load include file Chapter1/c.tex at main.tex line "
                          "137 column 28\n")
            << QStringList{"main.tex:137: warning: Could not load include file Chapter1/c.tex at "
                           "main.tex line 137 column 28"};
        QTest::newRow("continued on indented lines, the caret left out")
            << QByteArray("[WARNING] Could not convert TeX math \\frac{1}{, rendering as TeX:\n"
                          "  \\frac{1}{\n           ^\n  unexpected end of input\n"
                          "pandoc: out.html: withFile: permission denied\n")
            << QStringList{"broken.tex: warning: Could not convert TeX math \\frac{1}{, "
                           "rendering as TeX: \\frac{1}{ unexpected end of input",
                           "broken.tex: error: out.html: withFile: permission denied [gave up]"};
    }

    void pandocWarningPlaces() {
        QFETCH(QByteArray, log);
        QTEST(shown(parsePandocLog(log, {logsDir(), logsDir() + "/broken.tex"})), "entries");
    }

    void realLogs() {
        QFETCH(QString, kind);
        QFETCH(QString, log);
        QFETCH(QStringList, entries);
        QCOMPARE(
            shown(readRouteLog(parserOf(kind), logsDir() + '/' + log, logsDir() + "/broken.tex")),
            entries);
    }

    void latex2htmlErrors() {
        // latex2html's own fatal message among its messages, before the
        // WARNINGS file.
        QByteArray log = logBytes("latex2html.log");
        QVERIFY(log.contains("\nDone.\n"));
        log.replace("\nDone.\n", "\n *** Error: unclosed math or extra `$', before:\nDone.\n");
        const LogEntries entries = parseL2hLog(log, {logsDir(), "doc.tex"});
        QVERIFY(entries.contains(LogEntry{LogEntry::Severity::Error, "doc.tex", 0,
                                          "unclosed math or extra `$', before:"}));
    }

    void crLfLogsReadAsLfLogs_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("log");
        QTest::newRow("latex") << QString("dvi") << "latex.log";
        QTest::newRow("hevea") << QString("hevea") << "hevea.hlog";
        QTest::newRow("tth") << QString("tth") << "tth.tlog";
        QTest::newRow("latex2html, with its WARNINGS file")
            << QString("latex2html") << "latex2html.log";
        QTest::newRow("latexml") << QString("latexml") << "latexml.log";
    }
    void crLfLogsReadAsLfLogs() {
        QFETCH(QString, kind);
        QFETCH(QString, log);
        const QString lf = logsDir() + '/' + log;
        const LogEntries entries = readRouteLog(parserOf(kind), lf, "doc.tex");
        QVERIFY(!entries.isEmpty());
        QTemporaryDir dir;
        const QString crlf = dir.filePath(log);
        QFile file(crlf);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(logBytes(log).replace("\n", "\r\n"));
        file.close();
        // Files named in the log are relative to the log's folder: compare names.
        const auto named = [](LogEntries list) {
            for (LogEntry& entry : list)
                entry.file = QFileInfo(entry.file).fileName();
            return list;
        };
        QCOMPARE(named(readRouteLog(parserOf(kind), crlf, "doc.tex")), named(entries));
    }

    // Lines latexmlc 0.8.7 wrote (its log file, and its standard error) for
    // /doc/paper.tex, which inputs parts/more.tex: each message is placed by
    // the lines after it, or at its end.
    void latexmlPlaces_data() {
        QTest::addColumn<QByteArray>("log");
        QTest::addColumn<QString>("entry");
        QTest::newRow("an input in a subfolder: its path from the In line")
            << QByteArray("Error:undefined:\\badmacroinpart The token T_CS[\\badmacroinpart] is "
                          "not defined.\n"
                          "\tat more.tex; line 3 col 0 - line 3 col 15\n"
                          "\tDefining it now as <ltx:ERROR/>\n"
                          "\tIn Core::Gullet[@0x56152e0a9fb0] /doc/parts/more.tex; from line 4 "
                          "col 0 to line 4 col 0\n"
                          "\t <= Core::Stomach[@0x56152e0c57c8] <= ...\n")
            << "/doc/parts/more.tex:3: error: undefined:\\badmacroinpart The token "
               "T_CS[\\badmacroinpart] is not defined.";
        QTest::newRow("a missing file: the In line names LaTeXML's own file")
            << QByteArray("Error:missing_file:missingfile Can't find TeX file missingfile\n"
                          "\tat paper.tex; line 6 col 0 - line 6 col 19\n"
                          "\tIn Core::Definition::Primitive[\\ltx@inpu... "
                          "/usr/share/perl5/LaTeXML/Package/LaTeX.pool.ltxml; line 4259\n")
            << "/doc/paper.tex:6: error: missing_file:missingfile Can't find TeX file "
               "missingfile";
        QTest::newRow("a token string is no file")
            << QByteArray("Error:unexpected:<closed> Mouth is unexpectedly already closed\n"
                          "\tat String; line 0 col 0 - line 0 col 0\n")
            << "/doc/paper.tex: error: unexpected:<closed> Mouth is unexpectedly already closed";
        QTest::newRow("standard error: the place ends the line")
            << QByteArray("Warning:missing_file:nosuchpackage Can't find binding for package "
                          "nosuchpackage at paper.tex; line 3 col 6\n")
            << "/doc/paper.tex:3: warning: missing_file:nosuchpackage Can't find binding for "
               "package nosuchpackage";
        QTest::newRow("fatal: the converter gave up")
            << QByteArray("Fatal:too_many_errors:100 Too many errors (> 100)!\n"
                          "\tat paper.tex; line 102 col 13 - line 102 col 13\n"
                          "\tIn Core::Gullet[@0x5556c20bea78] /doc/paper.tex; from line 102 col "
                          "13 to line 102 col 13\n"
                          "LaTeXML died!\n"
                          "Status:conversion:3\n")
            << "/doc/paper.tex:102: error: too_many_errors:100 Too many errors (> 100)! [gave up]";
        QTest::newRow("status 3 alone still says it gave up")
            << QByteArray("Conversion complete: 1 fatal error\nStatus:conversion:3\n")
            << "/doc/paper.tex: error: latexmlc gave up (Status:conversion:3) [gave up]";
    }
    void latexmlPlaces() {
        QFETCH(QByteArray, log);
        QFETCH(QString, entry);
        const LogEntries entries = parseLatexmlLog(log, {"/out/paper", "/doc/paper.tex"});
        QStringList lines;
        for (const LogEntry& e : entries)
            lines.append(compilerStyleLine(e) + (e.fatal ? " [gave up]" : ""));
        QCOMPARE(lines, QStringList{entry});
    }

    void missingLogGivesNothing() {
        QVERIFY(readRouteLog(parserOf("dvi"), logsDir() + "/no-such.log", "doc.tex").isEmpty());
    }

    void badInput_data() {
        QTest::addColumn<QByteArray>("log");
        QTest::addColumn<int>("entries");

        QByteArray noise(1 << 20, Qt::Uninitialized);
        QRandomGenerator random(14);
        for (char& c : noise)
            c = char(random.bounded(256));
        QTest::newRow("binary bytes") << noise << -1;
        QTest::newRow("broken UTF-8 in a message")
            << QByteArray("! Undefined \xff\xfe\xc3 control\x01 sequence.\nl.3 x\n") << 1;
        const QByteArray wide(100000, '(');
        QTest::newRow("a line of 100,000 parentheses, then an error")
            << wide + "\n" + QByteArray(100000, ')') + "\n! Missing $.\nl.7 a\n"
            << 1;
        QTest::newRow("an error of 100,000 characters")
            << "! " + QByteArray(100000, 'x') + "\nl." + QByteArray(1000, '9') + "\n"
            << 1;
        QByteArray repeated;
        for (int i = 0; i < 3000; ++i)
            repeated += logBytes("latex.log");
        QTest::newRow("more errors than a list can hold") << repeated << int(logtext::kMaxEntries);
    }

    // Whatever the bytes, the parser ends, with a bounded list of short,
    // printable messages.
    void badInput() {
        QFETCH(QByteArray, log);
        QFETCH(int, entries);
        const LogEntries found = parseLatexLog(log, {logsDir(), "doc.tex"});
        if (entries >= 0)
            QCOMPARE(found.size(), entries);
        QVERIFY(found.size() <= logtext::kMaxEntries);
        for (const LogEntry& entry : found) {
            QVERIFY(entry.message.size() <= logtext::kMaxMessage);
            for (QChar c : entry.message)
                QVERIFY(c.unicode() >= 0x20);
            QVERIFY(entry.line >= 0);
        }
    }
};

MORVANE_TEST_GUILESS_MAIN(TestLogParsers)
#include "tst_logparsers.moc"
