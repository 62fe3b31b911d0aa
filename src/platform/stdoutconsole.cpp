#include "platform/stdoutconsole.h"

#include <QProcess>
#include <cstdio>

namespace morvane {

namespace {
void forward(QProcess* process) {
    const QByteArray bytes = readAllOutput(process);
    if (bytes.isEmpty())
        return;
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}
} // namespace

void StdoutConsole::attach(QProcess* process, bool waitsForEnter) {
    QObject::connect(process, &QProcess::readyReadStandardOutput, process,
                     [process] { forward(process); });
    QObject::connect(process, &QProcess::readyReadStandardError, process,
                     [process] { forward(process); });
    QObject::connect(process, &QProcess::finished, process, [process] { forward(process); });
    if (waitsForEnter) {
        process->write("\n");
        process->closeWriteChannel();
    }
}

Console* StdoutConsoleFactory::create(const QString& commandLine) {
    Q_UNUSED(commandLine);
    return new StdoutConsole;
}

} // namespace morvane
