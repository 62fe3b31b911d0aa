#include "app/convertercheck.h"

#include "app/optionhandlers.h"
#include "app/startup.h"
#include "pipeline/appcontext.h"
#include "pipeline/convertcommand.h"
#include "pipeline/logparsers.h"
#include "platform/launcher.h"
#include "platform/programdir.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "settings/optionsmodel.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>

namespace morvane {

namespace {

// Small enough for every route, with a formula so that the routes that make
// pictures of formulas make one.
const char kCheckDocument[] = "\\documentclass{article}\n"
                              "\\begin{document}\n"
                              "Converter check: $x^2 + y^2 = z^2$.\n"
                              "\\end{document}\n";

// The program in the route's location of Program Locations, else on PATH.
QString findProgram(const AppContext& ctx, const Route& route, const char* name) {
    if (route.program.location) {
        const QString dir = ctx.settings.vars.*(route.program.location);
        const QFileInfo inLocation(dir + QLatin1Char('/') + QLatin1String(name));
        if (!dir.isEmpty() && inLocation.isFile() && inLocation.isExecutable())
            return inLocation.absoluteFilePath();
    }
    return QStandardPaths::findExecutable(QLatin1String(name));
}

// The first line of the program's answer that names a version number.
QString versionOf(const QString& program, const char* option) {
    if (!option)
        return QString();
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, {QLatin1String(option)});
    process.closeWriteChannel();
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
        return QString();
    }
    // "hevea 2.36", "make4ht version v0.3l", "TtH  Version 4.16 (c)...", "pdfTeX 3.14...-1.40.24
    // (...)".
    static const QRegularExpression named(QStringLiteral("[Vv]ersion\\s+v?(\\d\\S*)"));
    static const QRegularExpression number(QStringLiteral("\\b(\\d+\\.[\\w.\\-]*)"));
    for (const QString& line : QString::fromLocal8Bit(process.readAll()).split(QLatin1Char('\n'))) {
        if (const QRegularExpressionMatch match = named.match(line); match.hasMatch())
            return match.captured(1);
        if (const QRegularExpressionMatch match = number.match(line); match.hasMatch())
            return match.captured(1);
    }
    return QString();
}

// A context for conversions without a window and without output: the
// converters' messages are of no interest here, only their logs.
struct QuietContext {
    OptionsModel model;
    DefaultAnswerPrompter prompter;
    DesktopShell shell;
    QProcessLauncher launcher;
    AppContext ctx;
    bool loaded = false;

    QuietContext() {
        ctx.programDir = resolveProgramDirectory(currentProgramDirectoryInputs());
        ctx.model = &model;
        ctx.seams.prompter = &prompter;
        ctx.unattended = true;
        ctx.seams.shell = &shell;
        ctx.seams.launcher = &launcher;
        ctx.seams.quitProgram = [] {};
        connectOptionHandlers(ctx);
        loaded = loadStep(ctx, QString());
        model.setCheckValue(ctl::chkIE, 0);
    }
};

void convertDocument(QuietContext& quiet, const Route& route, RouteCheck& check) {
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("check.tex"));
    QFile file(source);
    if (!dir.isValid() || !file.open(QIODevice::WriteOnly) || file.write(kCheckDocument) < 0) {
        check.detail = QStringLiteral("cannot write a document in the temporary folder");
        return;
    }
    file.close();

    AppContext& ctx = quiet.ctx;
    // The output stays in the temporary folder, whatever the tabs choose.
    for (const Route& each : ctx.routes)
        if (each.outputRoot)
            ctx.settings.vars.*each.outputRoot = dir.path();
    if (!routeCanRun(ctx, route)) {
        check.detail = QStringLiteral("%1 Not Found in Program Locations")
                           .arg(QLatin1String(route.program.locationKey));
        return;
    }

    QElapsedTimer timer;
    timer.start();
    const std::optional<ConversionResult> result = convert(ctx, route, source);
    check.milliseconds = timer.elapsed();
    if (!result || !result->produced) {
        check.status = RouteCheck::Status::Fails;
        check.detail = QStringLiteral("nothing produced");
    } else {
        check.status = result->verdict == LogVerdict::Errors ? RouteCheck::Status::ErrorsInLog
                                                             : RouteCheck::Status::Works;
    }
    if (result && !result->log.isEmpty()) {
        const LogEntries entries = readRouteLog(route.parseLog, result->log, source);
        for (const LogEntry& entry : entries) {
            if (entry.severity == LogEntry::Severity::Error) {
                check.detail = entry.message;
                break;
            }
        }
    }
}

RouteCheck checkRoute(QuietContext& quiet, const Route& route) {
    RouteCheck check;
    check.caption = QLatin1String(route.caption);
    QStringList missing;
    for (const NeededProgram& needed : route.neededPrograms(quiet.model)) {
        const QString found = findProgram(quiet.ctx, route, needed.name);
        if (found.isEmpty()) {
            check.programs.append(QLatin1String(needed.name) + QStringLiteral(": not found"));
            missing.append(QStringLiteral("%1 (Debian package %2)")
                               .arg(QLatin1String(needed.name), QLatin1String(needed.package)));
            continue;
        }
        const QString version = versionOf(found, needed.versionOption);
        check.programs.append(version.isEmpty()
                                  ? QLatin1String(needed.name)
                                  : QLatin1String(needed.name) + QLatin1Char(' ') + version);
    }
    if (!missing.isEmpty()) {
        check.status = RouteCheck::Status::Missing;
        check.detail = QStringLiteral("install ") + missing.join(QStringLiteral(", "));
        return check;
    }
    convertDocument(quiet, route, check);
    return check;
}

QString padded(const QString& text, qsizetype width) {
    return text + QString(qMax<qsizetype>(0, width - text.size()) + 2, QLatin1Char(' '));
}

QString timeText(const RouteCheck& check) {
    return check.milliseconds < 0
               ? QString()
               : QString::number(check.milliseconds / 1000.0, 'f', 1) + QStringLiteral(" s");
}

} // namespace

QString statusText(RouteCheck::Status status) {
    switch (status) {
    case RouteCheck::Status::Works:
        return QStringLiteral("works");
    case RouteCheck::Status::ErrorsInLog:
        return QStringLiteral("errors in log");
    case RouteCheck::Status::Fails:
        return QStringLiteral("fails");
    case RouteCheck::Status::Missing:
        return QStringLiteral("missing");
    }
    return QString();
}

QList<RouteCheck> checkConverters(const std::function<void(const RouteCheck&)>& checked) {
    QuietContext quiet;
    QList<RouteCheck> checks;
    for (const Route& route : builtInRoutes()) {
        RouteCheck check;
        if (quiet.loaded) {
            check = checkRoute(quiet, route);
        } else {
            check.caption = QLatin1String(route.caption);
            check.detail = QStringLiteral("Morvane.ini or convert.sh cannot be read");
        }
        checks.append(check);
        if (checked)
            checked(check);
    }
    return checks;
}

QString checkReport(const QList<RouteCheck>& checks) {
    qsizetype widths[4] = {0, 0, 0, 0};
    for (const RouteCheck& check : checks) {
        widths[0] = qMax(widths[0], check.caption.size());
        widths[1] = qMax(widths[1], statusText(check.status).size());
        widths[2] = qMax(widths[2], timeText(check).size());
        widths[3] = qMax(widths[3], check.programs.join(QStringLiteral(", ")).size());
    }
    QString report;
    for (const RouteCheck& check : checks) {
        const QString line =
            padded(check.caption, widths[0]) + padded(statusText(check.status), widths[1]) +
            padded(timeText(check), widths[2]) +
            padded(check.programs.join(QStringLiteral(", ")), widths[3]) + check.detail;
        report += line.trimmed() + QLatin1Char('\n');
    }
    return report;
}

int runConverterCheck() {
    const QList<RouteCheck> checks = checkConverters();
    std::fputs(checkReport(checks).toUtf8().constData(), stdout);
    std::fflush(stdout);
    for (const RouteCheck& check : checks) {
        if (check.status != RouteCheck::Status::Works)
            return 1;
    }
    return 0;
}

} // namespace morvane
