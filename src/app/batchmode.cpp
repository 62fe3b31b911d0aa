#include "app/batchmode.h"

#include "platform/processgroup.h"

#include "app/batchreport.h"
#include "app/optionhandlers.h"
#include "app/startup.h"
#include "app/watchmode.h"
#include "pipeline/appcontext.h"
#include "pipeline/convertcommand.h"
#include "pipeline/logentry.h"
#include "pipeline/nothingproduced.h"
#include "pipeline/savedpath.h"
#include "platform/childprograms.h"
#include "platform/launcher.h"
#include "platform/programdir.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "platform/stdoutconsole.h"
#include "settings/latexmlchoice.h"
#include "settings/optionsmodel.h"
#include "settings/pandocsettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>

namespace morvane {

namespace {

enum ExitStatus { CleanResult = 0, ErrorsInLog = 1, NothingProduced = 2 };

void complain(const QString& text) {
    std::fprintf(stderr, "morvane: %s\n", text.toUtf8().constData());
    std::fflush(stderr);
}

// Words that name a route together with one of its methods or formats,
// whatever Morvane.ini says: "texify" is the DVI route through texi2dvi,
// "latexml-jats" the LaTeXML route writing a JATS article, "pandoc-epub" the
// pandoc route making an e-book.
struct MethodWord {
    const char* word;
    const char* routeKey;
    ctl::Control control; // a check box ticked, or a list's entry chosen, for the run
    int value;
};
constexpr MethodWord kMethodWords[] = {
    {"texify", "dvi", ctl::chkTexify(0), 1},
    {"latexml-html5", "latexml", ctl::cmbLatexmlFormat, int(LatexmlFormat::Html5)},
    {"latexml-xhtml", "latexml", ctl::cmbLatexmlFormat, int(LatexmlFormat::Xhtml)},
    {"latexml-jats", "latexml", ctl::cmbLatexmlFormat, int(LatexmlFormat::Jats)},
    {"pandoc-html", "pandoc", ctl::cmbPandocFormat, int(PandocFormat::Html5)},
    {"pandoc-epub", "pandoc", ctl::cmbPandocFormat, int(PandocFormat::Epub3)},
    {"pandoc-docx", "pandoc", ctl::cmbPandocFormat, int(PandocFormat::Docx)},
    {"pandoc-odt", "pandoc", ctl::cmbPandocFormat, int(PandocFormat::Odt)},
};

void applyMethod(OptionsModel& model, const MethodWord& method) {
    if (method.control.kind() == ctl::Kind::CheckBox)
        model.setCheckValue(method.control, method.value);
    else
        model.setIndex(method.control, method.value);
}

QString routeWords(RouteTable routes = builtInRoutes()) {
    QStringList words;
    for (const Route& route : routes) {
        words.append(QLatin1String(route.key));
        for (const MethodWord& method : kMethodWords) {
            if (qstrcmp(method.routeKey, route.key) == 0)
                words.append(QLatin1String(method.word));
        }
    }
    return words.join(QStringLiteral(", "));
}

const MethodWord* methodForWord(const QString& word) {
    for (const MethodWord& method : kMethodWords) {
        if (word == QLatin1String(method.word))
            return &method;
    }
    return nullptr;
}

// One line per route: its word and what it makes.
QString routeLines(RouteTable routes) {
    QString lines;
    for (const Route& route : routes)
        lines += QStringLiteral("  %1 %2\n")
                     .arg(QString::fromLatin1(route.key).leftJustified(19),
                          QLatin1String(route.helpLine));
    return lines;
}

// The limits given on the command line, for this run only (0: as
// Morvane.ini says).
struct LimitOptions {
    int seconds = 0;
    int megabytes = 0;
};

// Takes --timeout=SECONDS and --memory=MB out of `args`; nothing (after
// saying why) when a value is not a positive whole number.
std::optional<LimitOptions> takeLimitOptions(QStringList& args) {
    struct Option {
        QLatin1String prefix;
        int LimitOptions::*value;
        const char* unit;
    };
    const Option options[] = {{QLatin1String("--timeout="), &LimitOptions::seconds, "SECONDS"},
                              {QLatin1String("--memory="), &LimitOptions::megabytes, "MB"}};
    LimitOptions limits;
    for (auto arg = args.begin(); arg != args.end();) {
        const Option* option = nullptr;
        for (const Option& candidate : options)
            if (arg->startsWith(candidate.prefix))
                option = &candidate;
        if (!option) {
            ++arg;
            continue;
        }
        bool ok = false;
        const int value = arg->mid(option->prefix.size()).toInt(&ok);
        if (!ok || value <= 0) {
            complain(QStringLiteral("%1 needs a whole number above 0: %2%3")
                         .arg(*arg, option->prefix, QLatin1String(option->unit)));
            return std::nullopt;
        }
        limits.*option->value = value;
        arg = args.erase(arg);
    }
    return limits;
}

} // namespace

QString commandLineHelp(RouteTable routes) {
    return QStringLiteral(
               "Usage: morvane [FILE]\n"
               "       morvane --convert=ROUTE FILE...\n"
               "       morvane --convert=ROUTE --watch FILE\n"
               "       morvane --compare [--jobs=N] FILE\n"
               "       morvane --check\n"
               "\n"
               "Without --convert, opens the main window, with FILE in the file box.\n"
               "\n"
               "--convert=ROUTE FILE...\n"
               "                      converts each FILE without a window, with the settings\n"
               "                      of Morvane.ini, exactly as the Convert button would.\n"
               "                      ROUTE is one of: ") +
           routeWords(routes) +
           QStringLiteral(
               ".\n"
               "                      Questions take their default answer; messages go to\n"
               "                      standard error, the converter's output to standard\n"
               "                      output. Morvane.ini and the file history are not written.\n"
               "                      Exit status: 0 the result exists and the log lists no\n"
               "                      error (warnings alone give 0), 1 it lists an error,\n"
               "                      2 the conversion stopped, produced nothing or the\n"
               "                      converter gave up part-way.\n"
               "                      The log's errors and warnings follow on standard error\n"
               "                      as \"file:line: error: message\", the form editors jump\n"
               "                      to. Several files are converted in order with the same\n"
               "                      settings, each with a summary line, then a total; the\n"
               "                      exit status is the worst of theirs.\n"
               "--convert=ROUTE --timeout=SECONDS FILE...\n"
               "                      ends a converter that runs longer than SECONDS, with\n"
               "                      everything it started (default: the time limit of\n"
               "                      More Preferences, TimeLimitMinutes in Morvane.ini,\n"
               "                      else 10 minutes). The conversion counts as stopped\n"
               "                      (status 2); standard error and the log say so.\n"
               "--convert=ROUTE --memory=MB FILE...\n"
               "                      ends a converter whose processes together use more\n"
               "                      than MB megabytes (default: the memory limit of More\n"
               "                      Preferences, MemoryLimitMB in Morvane.ini, else half\n"
               "                      the machine's memory), in the same way.\n"
               "--convert=ROUTE --jobs=N FILE...\n"
               "                      converts the files N at a time, each in a run of its\n"
               "                      own; their messages come prefixed by the file's name.\n"
               "--convert=ROUTE --report=json FILE...\n"
               "                      writes one line of JSON per file on standard output\n"
               "                      (file, route, status, result, log, errors, warnings,\n"
               "                      seconds, peak_mb); the converters' output then goes to\n"
               "                      standard error.\n"
               "--compare [--jobs=N] FILE\n"
               "                      converts FILE with every installed web route (HeVeA,\n"
               "                      TtH, TeX4ht, make4ht with MathML, LaTeX2HTML, pandoc,\n"
               "                      ...), N at a time (default: the processors), each on\n"
               "                      its own copy of the document in a folder FILE-compare\n"
               "                      below the TeX4ht output root, and prints a table of\n"
               "                      what each page holds and the route recommended;\n"
               "                      compare.html and compare.json stay in that folder.\n"
               "                      Status 0 when a route gave a page without errors.\n"
               "--convert=ROUTE --watch FILE\n"
               "                      converts FILE, then converts it again whenever it or a\n"
               "                      file it reads is saved (its \\input, \\include and\n"
               "                      \\includegraphics files; on the dvi and pdf routes all\n"
               "                      that LaTeX's -recorder file lists). Saves within 300 ms\n"
               "                      make one conversion; Ctrl+C ends the watch with the\n"
               "                      status of the last conversion. The window's \"Convert\n"
               "                      on save\" box does the same for the file in its file box.\n"
               "--check               checks every route: the programs it needs (found through\n"
               "                      Program Locations, else on PATH) with their versions, and\n"
               "                      a real conversion of a tiny document in a temporary\n"
               "                      folder. One line per route: status, time, programs, first\n"
               "                      error; a missing program names its Debian package. Exit\n"
               "                      status 0 only when every route works. The Help tab's\n"
               "                      \"Check Converters\" button shows the same as a table.\n"
               "--help                shows this text.\n"
               "\n"
               "Routes:\n") +
           routeLines(routes) +
           QStringLiteral(
               "\n"
               "The TeX4ht route runs make4ht instead of htlatex when \"Use make4ht\" is\n"
               "ticked on its tab (Make4ht=Yes in [TeX4ht] of Morvane.ini), with the format\n"
               "Make4htFormat (html5, xhtml, odt for an office document, or epub3 for an\n"
               "e-book, made by tex4ebook) and the engine Make4htEngine (latex, lualatex\n"
               "or xelatex).\n"
               "\n"
               "The LaTeXML route writes the format of its tab (Format in [LaTeXML] of\n"
               "Morvane.ini: html5, xhtml or jats); latexml-html5, latexml-xhtml and\n"
               "latexml-jats choose one for the run. A JATS article (.xml) opens with the\n"
               "desktop's program for XML.\n"
               "\n"
               "The pandoc route makes what [Pandoc] Format of Morvane.ini says (html5, epub3,\n"
               "docx or odt); pandoc-html, pandoc-epub, pandoc-docx and pandoc-odt choose\n"
               "the format for the run. The result lies in a folder named after the\n"
               "document below the pandoc output root ([Pandoc] SaveTo, else the home\n"
               "folder).\n");
}

int exitStatusOf(const std::optional<ConversionResult>& result) {
    if (!result || !result->produced)
        return NothingProduced;
    const LogEntries& entries = result->entries;
    // A converter that gave up wrote part of the document at most.
    if (std::any_of(entries.cbegin(), entries.cend(), [](const LogEntry& e) { return e.fatal; }))
        return NothingProduced;
    const bool errors = std::any_of(entries.cbegin(), entries.cend(), [](const LogEntry& e) {
        return e.severity == LogEntry::Severity::Error;
    });
    return errors || !result->failedRewrites.isEmpty() ? ErrorsInLog : CleanResult;
}

namespace {

const char* statusWord(int status) {
    switch (status) {
    case CleanResult:
        return "converted";
    case ErrorsInLog:
        return "converted, errors in the log";
    default:
        return "not converted";
    }
}

// Where the route's programs come from on Debian, for a route that cannot run.
QString packagesHint(const AppContext& ctx, const Route& route) {
    if (!route.neededPrograms)
        return {};
    QStringList packages;
    for (const NeededProgram& program : route.neededPrograms(*ctx.model))
        if (program.package && !packages.contains(QLatin1String(program.package)))
            packages << QLatin1String(program.package);
    return packages.isEmpty() ? QString()
                              : QStringLiteral("; on Debian: apt install ") + packages.join(u' ');
}

// Converts one file in a context that is loaded and on the route's tab.
int convertOne(AppContext& ctx, const Route& route, const QString& file,
               std::optional<ConversionResult>* outcome = nullptr) {
    const QString source = QDir::cleanPath(QDir::current().absoluteFilePath(file));
    const QFileInfo sourceInfo(source);
    if (!sourceInfo.exists()) {
        complain(QStringLiteral("%1 doesn't exist.").arg(QDir::toNativeSeparators(source)));
        return NothingProduced;
    }
    if (!sourceInfo.isFile()) {
        complain(QStringLiteral("%1 is not a file.").arg(QDir::toNativeSeparators(source)));
        return NothingProduced;
    }

    if (!routeCanRun(ctx, route)) {
        complain(QStringLiteral("the %1 route cannot run: %2 Not Found (see the [Paths] section "
                                "of %3/Morvane.ini%4).")
                     .arg(QLatin1String(route.caption), QLatin1String(route.program.locationKey),
                          QDir::toNativeSeparators(ctx.programDir), packagesHint(ctx, route)));
        return NothingProduced;
    }

    const std::optional<ConversionResult> result = convert(ctx, route, source);
    if (outcome)
        *outcome = result;
    const int status = exitStatusOf(result);
    if (status == NothingProduced && result && result->produced) {
        complain(QStringLiteral("the converter gave up part-way: %1 holds part of the document "
                                "at most.")
                     .arg(QDir::toNativeSeparators(result->output)));
    } else if (status == NothingProduced) {
        const QString expected = result && !result->output.isEmpty()
                                     ? result->output
                                     : expectedOutputOf(route.place(ctx, source));
        const QString log = result && !result->log.isEmpty() ? result->log : ctx.logs[route];
        const QString cause =
            causeOfNothingProduced(ctx.batchDriverPath(), expected, route.scriptRoute);
        QString why;
        if (!cause.isEmpty())
            why = QStringLiteral(": ") + cause + QLatin1Char('.');
        else if (QFileInfo::exists(log))
            why = QStringLiteral(". The log %1 says why.").arg(QDir::toNativeSeparators(log));
        else
            why = QStringLiteral(".");
        complain(QStringLiteral("the conversion produced no %1%2")
                     .arg(expected.isEmpty() ? QStringLiteral("result")
                                             : QDir::toNativeSeparators(expected),
                          why));
    } else if (status == ErrorsInLog) {
        complain(QStringLiteral("the converter reported problems; see %1")
                     .arg(QDir::toNativeSeparators(result->log)));
    }
    return status;
}

// The window shows the output root in its label; here only this says that a
// root that is gone was replaced.
void reportReplacedOutputRoot(const AppContext& ctx, const Route& route) {
    for (const PathCheck::ReplacedRoot& replaced : ctx.settings.paths.replacedRoots)
        if (route.outputRoot && replaced.root == route.outputRoot)
            complain(QStringLiteral("the %1 output root %2 does not exist; the output goes "
                                    "below %3 instead.")
                         .arg(QLatin1String(route.caption),
                              QDir::toNativeSeparators(replaced.missing),
                              QDir::toNativeSeparators(ctx.settings.vars.*route.outputRoot)));
}

// The errors and warnings of each log, in the form editors jump to.
void printLogEntries(const LogEntries& entries) {
    for (const LogEntry& entry : entries)
        std::fprintf(stderr, "%s\n", compilerStyleLine(entry).toUtf8().constData());
    std::fflush(stderr);
}

// The summary of several files, one line each and a total; the worst status.
class Summary {
public:
    void add(const QString& file, int status) {
        status = std::clamp(status, int(CleanResult), int(NothingProduced));
        ++m_counts[status];
        m_worst = qMax(m_worst, status);
        complain(QStringLiteral("%1: %2.").arg(QDir::toNativeSeparators(file),
                                               QLatin1String(statusWord(status))));
    }
    int finish(qsizetype files) const {
        complain(
            QStringLiteral("%1 files: %2 converted, %3 with errors in the log, %4 not converted.")
                .arg(files)
                .arg(m_counts[CleanResult])
                .arg(m_counts[ErrorsInLog])
                .arg(m_counts[NothingProduced]));
        return m_worst;
    }

private:
    int m_counts[3] = {0, 0, 0};
    int m_worst = CleanResult;
};

void writeLine(std::FILE* stream, const QByteArray& line) {
    std::fwrite(line.constData(), 1, size_t(line.size()), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

// Several documents side by side: each is a batch run of its own (its own
// settings read, its own convert.sh run), whose lines come out prefixed by
// the document's name; report lines pass as they are.
int convertInParallel(const QString& routeWord, const QStringList& files, int jobs,
                      const QStringList& passedOn) {
    QList<ChildProgram> children;
    for (const QString& file : files)
        children.append(
            {QCoreApplication::applicationFilePath(),
             QStringList{QStringLiteral("--convert=") + routeWord} + passedOn + QStringList{file},
             QDir::currentPath(),
             {}});
    ChildPrograms runs(children, jobs);
    runs.onLine([&files](int child, bool standardError, const QByteArray& line) {
        if (!standardError && line.startsWith('{')) {
            writeLine(stdout, line);
            return;
        }
        writeLine(standardError ? stderr : stdout,
                  QDir::toNativeSeparators(files.at(child)).toUtf8() + ": " + line);
    });
    QList<int> statuses(files.size(), NothingProduced);
    runs.onEnd([&statuses](int child, int status, double) { statuses[child] = status; });
    runs.start();
    runs.waitForAll();
    Summary summary;
    for (qsizetype i = 0; i < files.size(); ++i)
        summary.add(files.at(i), statuses.at(i) < 0 ? int(NothingProduced) : statuses.at(i));
    return summary.finish(files.size());
}

// The options a run of one document takes over from the command line.
QStringList optionsPassedOn(const LimitOptions& limits, bool report) {
    QStringList options;
    if (limits.seconds > 0)
        options << QStringLiteral("--timeout=%1").arg(limits.seconds);
    if (limits.megabytes > 0)
        options << QStringLiteral("--memory=%1").arg(limits.megabytes);
    if (report)
        options << QStringLiteral("--report=json");
    return options;
}

} // namespace

int runBatchMode(const QString& routeWord, QStringList files, bool watch) {
    bool badReport = false;
    const bool report = takeReportOption(files, badReport);
    const int jobs = takeJobsOption(files);
    const std::optional<LimitOptions> limits = takeLimitOptions(files);
    if (!limits || badReport || jobs < 0)
        return NothingProduced;
    const MethodWord* method = methodForWord(routeWord);
    const Route* route =
        routeForKey(builtInRoutes(), method ? QString::fromLatin1(method->routeKey) : routeWord);
    if (!route) {
        complain(
            QStringLiteral("unknown route \"%1\"; choose one of %2.").arg(routeWord, routeWords()));
        return NothingProduced;
    }
    if (files.isEmpty()) {
        complain(QStringLiteral("no TeX file given: morvane --convert=%1 FILE").arg(routeWord));
        return NothingProduced;
    }
    if (watch && files.size() != 1) {
        complain(QStringLiteral("--watch follows one file: morvane --convert=%1 --watch FILE")
                     .arg(routeWord));
        return NothingProduced;
    }
    if (jobs > 1 && files.size() > 1)
        return convertInParallel(routeWord, files, jobs, optionsPassedOn(*limits, report));

    OptionsModel model;
    DefaultAnswerPrompter prompter;
    DesktopShell shell;
    QProcessLauncher launcher;
    // Ctrl+C or a TERM ends the converter too, and the run counts as stopped.
    stopProcessGroupsOnSignals();
    // With a report on standard output, the converters' output goes to
    // standard error.
    StdoutConsoleFactory consoles(report ? stderr : stdout);

    AppContext ctx;
    ctx.programDir = resolveProgramDirectory(currentProgramDirectoryInputs());
    ctx.model = &model;
    ctx.seams.prompter = &prompter;
    ctx.unattended = true;
    ctx.heveaStylesUnused = qstrcmp(route->key, "hevea") != 0;
    ctx.seams.shell = &shell;
    ctx.seams.launcher = &launcher;
    ctx.seams.consoles = &consoles;
    ctx.seams.showLogEntries = printLogEntries;
    // Nothing may end the program before it has given its exit status.
    ctx.seams.quitProgram = [] {};
    connectOptionHandlers(ctx);

    if (!loadStep(ctx, QString()))
        return NothingProduced;
    if (limits->seconds > 0)
        ctx.settings.vars.timeLimitSeconds = limits->seconds;
    if (limits->megabytes > 0)
        ctx.settings.vars.memoryLimitMB = limits->megabytes;

    // A command-line conversion shows nothing: no browser opens, so the
    // close-after-running rule cannot end the program either.
    model.setCheckValue(ctl::chkIE, 0);
    if (method)
        applyMethod(model, *method);

    reportReplacedOutputRoot(ctx, *route);

    if (watch) {
        // LaTeX lists every file it reads in a recorder file (.fls) beside
        // its log; convert.sh asks for it while a watch needs it.
        qputenv("MORVANE_RECORDER", "1");
        return watchAndConvert(files.front(), [&](std::optional<ConversionResult>& result) {
            return convertOne(ctx, *route, files.front(), &result);
        });
    }
    const auto convertReported = [&](const QString& file) {
        QElapsedTimer clock;
        clock.start();
        std::optional<ConversionResult> result;
        const int status = convertOne(ctx, *route, file, &result);
        if (report)
            std::fputs(
                reportLine(file, routeWord, status, result, clock.elapsed() / 1000.0).constData(),
                stdout);
        std::fflush(stdout);
        return status;
    };
    if (files.size() == 1)
        return convertReported(files.front());

    // Several files: the same settings for each, a line per file and a total.
    Summary summary;
    for (const QString& file : files)
        summary.add(file, convertReported(file));
    return summary.finish(files.size());
}

} // namespace morvane
