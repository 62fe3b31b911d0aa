#include "platform/launcher.h"

#include "platform/processgroup.h"

#include <QProcess>
#include <QVariant>

#include <csignal>
#include <unistd.h>

namespace morvane {

namespace {
const char* const kGroupProperty = "morvaneProcessGroup";
}

LaunchCommand splitCommandLine(const QString& commandLine) {
    QStringList parts = QProcess::splitCommand(commandLine);
    if (parts.isEmpty())
        return {};
    // convert.sh is shipped without a run bit: the shell reads it instead.
    if (parts.first().endsWith(QLatin1String(".sh")))
        return {QStringLiteral("/bin/sh"), parts};
    const QString program = parts.takeFirst();
    return {program, parts};
}

bool asksForPause(const QString& commandLine) {
    const QStringList parts = QProcess::splitCommand(commandLine);
    return parts.size() > 1 && parts.last() == QLatin1String("pause");
}

QByteArray readAllOutput(QProcess* process) {
    QByteArray bytes = process->readAllStandardOutput();
    if (process->processChannelMode() != QProcess::MergedChannels)
        bytes += process->readAllStandardError();
    return bytes;
}

QProcess* QProcessLauncher::start(const QString& commandLine, const QString& workingDirectory,
                                  QObject* parent, const LaunchChannels& channels) {
    LaunchCommand command = splitCommandLine(commandLine);
    if (command.program.isEmpty())
        return nullptr;
    // Only a line that names a script gets the private copy in its place.
    if (!channels.scriptInstead.isEmpty() && command.program == QLatin1String("/bin/sh") &&
        !command.arguments.isEmpty() && command.arguments.first().endsWith(QLatin1String(".sh")))
        command.arguments.first() = channels.scriptInstead;

    auto* process = new QProcess(parent);
    process->setProgram(command.program);
    process->setArguments(command.arguments);
    if (!workingDirectory.isEmpty())
        process->setWorkingDirectory(workingDirectory);
    if (!channels.environment.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString& entry : channels.environment)
            environment.insert(entry.section(QLatin1Char('='), 0, 0),
                               entry.section(QLatin1Char('='), 1));
        process->setProcessEnvironment(environment);
    }
    if (channels.discardOutput) {
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(QProcess::nullDevice());
    } else {
        process->setProcessChannelMode(QProcess::MergedChannels);
    }
    // A converter that asks a question on a closed input gives up instead of
    // waiting for ever (TeX's "?" prompt).
    if (!channels.keepInputOpen)
        process->setStandardInputFile(QProcess::nullDevice());

    // Every converter leads a group of its own (ownProcessGroup asks for
    // nothing more today), so Stop and exit end everything it started.
    startInOwnGroup(*process, channels.addressSpaceCap, channels.scriptWatchesLifeline);
    process->start(QIODevice::ReadWrite);
    if (!process->waitForStarted()) {
        delete process;
        return nullptr;
    }
    const long group = long(process->processId());
    registerProcessGroup(group);
    // What the converter left running in its group (and the group's
    // watcher) ends with it.
    QObject::connect(process, &QProcess::finished, process, [group] {
        unregisterProcessGroup(group);
        ::kill(-pid_t(group), SIGKILL);
    });
    // The id is gone from QProcess once the leader has ended, while the
    // group it leads may still be running.
    process->setProperty(kGroupProperty, process->processId());
    return process;
}

qint64 processGroupOf(const QProcess* process) {
    return process->property(kGroupProperty).toLongLong();
}

void endProcessGroup(QProcess* process) {
    const qint64 group = processGroupOf(process);
    if (group > 0)
        ::kill(-pid_t(group), SIGKILL);
    if (process->state() == QProcess::NotRunning)
        return;
    process->kill();
    process->waitForFinished(5000);
}

} // namespace morvane
