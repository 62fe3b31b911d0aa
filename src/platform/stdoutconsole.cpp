#include "platform/stdoutconsole.h"

#include <QProcess>
#include <cstdio>

namespace morvane {

namespace {
void write(const QByteArray& bytes, std::FILE* sink) {
    if (bytes.isEmpty())
        return;
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), sink);
    std::fflush(sink);
}

void forward(QProcess* process, std::FILE* sink) {
    write(readAllOutput(process), sink);
}
} // namespace

void StdoutConsole::showMessages(const QByteArray& bytes) {
    write(bytes, m_sink);
}

void StdoutConsole::attach(QProcess* process, bool waitsForEnter) {
    std::FILE* sink = m_sink;
    QObject::connect(process, &QProcess::readyReadStandardOutput, process,
                     [process, sink] { forward(process, sink); });
    QObject::connect(process, &QProcess::readyReadStandardError, process,
                     [process, sink] { forward(process, sink); });
    QObject::connect(process, &QProcess::finished, process,
                     [process, sink] { forward(process, sink); });
    if (waitsForEnter) {
        process->write("\n");
        process->closeWriteChannel();
    }
}

Console* StdoutConsoleFactory::create(const QString& commandLine) {
    Q_UNUSED(commandLine);
    return new StdoutConsole(m_sink);
}

} // namespace morvane
