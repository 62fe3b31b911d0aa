#include "tex4ht/manualbuilder.h"

#include "pipeline/appcontext.h"
#include "platform/atomicfile.h"
#include "platform/eventpump.h"
#include "platform/inputblocker.h"
#include "platform/launcher.h"
#include "platform/pathutils.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "settings/controlnames.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>
#include <optional>

namespace morvane {

QString manualPath(const QString& programDir) {
    return programDir + QStringLiteral("/tex4htcode.txt");
}

QString manualTestDocument() {
    return QStringList{QStringLiteral("\\documentclass{article}"),
                       QStringLiteral("\\usepackage[html,info]{tex4ht}"),
                       QStringLiteral("\\begin{document}"), QStringLiteral("ABC"),
                       QStringLiteral("\\end{document}")}
               .join(QLatin1Char('\n')) +
           QLatin1Char('\n');
}

QString freeManualBaseName(const QString& dir, const QString& extension) {
    const QString base = QStringLiteral("qvtemp");
    if (!QFileInfo::exists(dir + QLatin1Char('/') + base + extension))
        return base;
    for (int digit = 0; digit <= 8; ++digit) {
        const QString name = base + QString::number(digit);
        if (!QFileInfo::exists(dir + QLatin1Char('/') + name + extension))
            return name;
    }
    // All ten are taken: the last is written over, as it always was.
    return base + QLatin1Char('8');
}

QString swpBatchFile(const QString& tex4htDir, const QString& htrunSwpDir) {
    return htrunSwpDir.isEmpty() ? tex4htDir + QStringLiteral("/htxx.bat")
                                 : htrunSwpDir + QStringLiteral("/htswps.bat");
}

QString swpLatexCall(const QString& batchFile) {
    QFile file(batchFile);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString setPath = QStringLiteral("set swppath=");
    QString swpPath;
    QString line;
    while (!file.atEnd()) {
        serveEvents();
        line = QString::fromUtf8(file.readLine());
        while (line.endsWith(QLatin1Char('\n')) || line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const qsizetype at = line.indexOf(setPath, 0, Qt::CaseInsensitive);
        if (at >= 0)
            swpPath = line.mid(at + setPath.size());
        if (line.contains(QStringLiteral("start /w"), Qt::CaseInsensitive))
            break;
    }
    if (!swpPath.isEmpty())
        line = replaceAll(line, QStringLiteral("%swppath%"), swpPath);
    const QString latex = QStringLiteral("latex_ml");
    const qsizetype at = line.indexOf(latex, 0, Qt::CaseInsensitive);
    return at < 0 ? QString() : line.left(at + latex.size());
}

QStringList manualCommands(const QString& swpCall, const QString& base, const QString& tex4htDir) {
    if (!swpCall.isEmpty())
        return {swpCall + QLatin1Char(' ') + base,
                QStringLiteral("tex4ht ") + base + QStringLiteral(" -e") +
                    quoteForCommandLine(tex4htDir + QStringLiteral("/tex4htx.env"))};
    return {QStringLiteral("latex -interaction=nonstopmode ") + base,
            QStringLiteral("tex4ht ") + base};
}

namespace {

QString shellQuoted(const QString& argument) {
    QString quoted = argument;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

} // namespace

QString manualScript(const QStringList& commands) {
    QStringList lines{QStringLiteral("set -e"), QStringLiteral("echo 'Generating manual ...'"),
                      QStringLiteral("echo ' '")};
    for (const QString& command : commands) {
        QStringList words;
        for (const QString& argument : QProcess::splitCommand(command))
            words.append(shellQuoted(argument));
        lines.append(words.join(QLatin1Char(' ')));
    }
    lines << QStringLiteral("echo ' '")
          << QStringLiteral("echo 'Close this window to proceed ...'");
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString manualHeading(const QDateTime& when) {
    const QLocale locale;
    return QStringLiteral("Tex4ht manual created ") +
           locale.toString(when.date(), QLocale::LongFormat) + QLatin1Char(' ') +
           locale.toString(when.time(), QLocale::LongFormat);
}

namespace {

// The text of a line that opens a .4ht file, from its "(" on; nothing for
// other lines. TeX writes the opening after closing parentheses of files
// read before it.
std::optional<QString> openedHookFile(const QString& line) {
    if (!line.contains(QStringLiteral(".4ht")))
        return std::nullopt;
    for (const char* prefix : {")) (", ") (", " ("}) {
        const QString p = QString::fromLatin1(prefix);
        if (line.startsWith(p))
            return line.mid(p.size() - 1);
    }
    if (line.startsWith(QLatin1Char('(')))
        return line;
    return std::nullopt;
}

bool isLeftOut(const QString& line, const QString& missingAux) {
    return line.startsWith(QStringLiteral("\\:to")) || line == QLatin1String(")") ||
           line == QLatin1String("))") || line == QLatin1String(")))") || line == missingAux;
}

} // namespace

QString reformatManualLog(const QString& log, const QString& base) {
    const QString missingAux = QStringLiteral("No file ") + base + QStringLiteral(".aux.");
    QString manual;
    bool started = false;
    std::optional<QString> held;
    QStringList lines = log.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (!started) {
            started = line.startsWith(QStringLiteral("******"));
            if (!started)
                continue;
        }
        if (std::optional<QString> opened = openedHookFile(line)) {
            // A file opened right after another keeps the first one's name.
            if (held)
                manual += *held + QLatin1Char('\n');
            held = opened;
            continue;
        }
        if (isLeftOut(line, missingAux))
            continue;
        if (held) {
            manual += *held + QLatin1Char(' ') + line + QStringLiteral(")\n");
            held.reset();
        } else {
            manual += line + QLatin1Char('\n');
        }
    }
    if (held)
        manual += *held + QLatin1Char('\n');
    return manual;
}

namespace {

const QString kUnchanged = QStringLiteral("\n\nThe manual has not been changed.");

ManualBuild failed(const QString& why) {
    return {false, why + kUnchanged};
}

QString swpCallFor(AppContext& ctx) {
    if (!ctx.model || !ctx.model->isChecked(ctl::chkSWP))
        return {};
    return swpLatexCall(swpBatchFile(ctx.settings.vars.tex4ht, ctx.settings.vars.htrunS));
}

// Waits for the process to end, serving events, for at most `limit`.
// Returns false when the limit passed first.
bool endsWithin(QProcess& process, std::chrono::milliseconds limit, Console* console) {
    if (process.state() == QProcess::NotRunning)
        return true;
    // Nothing else may start meanwhile; only the console takes input.
    InputBlocker blocker(
        [console](const QObject* target) { return console && console->acceptsInput(target); });
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    timer.start(limit);
    loop.exec();
    return process.state() == QProcess::NotRunning;
}

} // namespace

ManualBuild buildTex4htManual(AppContext& ctx, std::chrono::milliseconds limit) {
    if (!ctx.seams.launcher)
        return failed(QStringLiteral("TeX4ht cannot be run here."));
    // The TeX4ht folder is not writable on Linux, and a folder of its own
    // keeps two runs apart.
    QTemporaryDir work(QDir::tempPath() + QStringLiteral("/morvane-manual-XXXXXX"));
    if (!work.isValid())
        return failed(QStringLiteral("No temporary folder could be made."));
    // latex finds the document by its base name only with the .tex
    // extension, whatever extension the file box accepts.
    const QString extension = QStringLiteral(".tex");
    const QString base = freeManualBaseName(work.path(), extension);
    const QString script = work.filePath(QStringLiteral("t4info.sh"));
    if (!replaceFileAtomically(work.filePath(base + extension), manualTestDocument().toUtf8(),
                               Durability::NoWait) ||
        !replaceFileAtomically(
            script,
            manualScript(manualCommands(swpCallFor(ctx), base, ctx.settings.vars.tex4ht)).toUtf8(),
            Durability::NoWait))
        return failed(QStringLiteral("The test document could not be written."));

    const QString commandLine = quoteForCommandLine(script);
    std::unique_ptr<Console> console(ctx.seams.consoles ? ctx.seams.consoles->create(commandLine)
                                                        : nullptr);
    LaunchChannels channels;
    channels.discardOutput = !console;
    channels.ownProcessGroup = true;
    std::unique_ptr<QProcess> process(
        ctx.seams.launcher->start(commandLine, work.path(), nullptr, channels));
    if (!process)
        return failed(QStringLiteral("The TeX4ht run could not be started."));
    if (console)
        console->attach(process.get(), false);

    const bool ended = endsWithin(*process, limit, console.get());
    // Whatever the script left running goes with it.
    endProcessGroup(process.get());
    if (!ended)
        return failed(
            QStringLiteral("TeX4ht did not finish within ") +
            QString::number(std::chrono::duration_cast<std::chrono::seconds>(limit).count()) +
            QStringLiteral(" seconds and has been stopped."));
    if (process->exitStatus() != QProcess::NormalExit || process->exitCode() != 0)
        return failed(QStringLiteral("latex or tex4ht failed (exit status ") +
                      QString::number(process->exitCode()) + QStringLiteral(")."));

    QFile logFile(work.filePath(base + QStringLiteral(".log")));
    if (!logFile.open(QIODevice::ReadOnly))
        return failed(QStringLiteral("The run left no log."));
    const QString lines = reformatManualLog(QString::fromUtf8(logFile.readAll()), base);
    if (lines.isEmpty())
        return failed(QStringLiteral("The log lists no TeX4ht configurations."));
    const QString manual =
        manualHeading(QDateTime::currentDateTime()) + QStringLiteral("\n\n") + lines;
    QString error;
    if (!replaceFileAtomically(manualPath(ctx.programDir), manual.toUtf8(), Durability::WaitForDisk,
                               &error))
        return failed(QStringLiteral("The manual could not be written: ") + error);
    return {true, {}};
}

void openTex4htManual(AppContext& ctx) {
    const QString path = manualPath(ctx.programDir);
    Shell& shell = *ctx.seams.shell;
    const QString editor = ctx.settings.vars.editor;
    if (!editor.isEmpty()) {
        if (!shell.startDetached(editor, {path}))
            ctx.seams.prompter->tell(QStringLiteral("Can't start the editor ") + editor +
                                         QLatin1Char('.'),
                                     QStringLiteral("Manual"), Icon::Exclamation);
        return;
    }
    const QString notepad = shell.notepad();
    if (notepad.isEmpty() || !shell.startDetached(notepad, {path}))
        ctx.seams.prompter->tell(QStringLiteral("No text editor was found to open ") +
                                     QDir::toNativeSeparators(path) + QLatin1Char('.'),
                                 QStringLiteral("Manual"), Icon::Exclamation);
}

} // namespace morvane
