#include "platform/childprograms.h"

#include "platform/processgroup.h"

#include <QEventLoop>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>
#include <sched.h>

namespace morvane {

struct ChildPrograms::Running {
    QProcess process;
    QElapsedTimer clock;
    QByteArray pending[2]; // a line not yet ended, per channel
    bool done = false;
};

ChildPrograms::ChildPrograms(QList<ChildProgram> children, int jobs)
    : m_children(std::move(children)), m_jobs(std::max(1, jobs)) {
    m_running.resize(m_children.size());
}

ChildPrograms::~ChildPrograms() {
    stop();
}

void ChildPrograms::start() {
    while (!m_stopped && m_next < m_children.size() && m_next - m_ended < m_jobs)
        startNext();
}

void ChildPrograms::startNext() {
    const int index = m_next++;
    const ChildProgram& child = m_children.at(index);
    auto running = std::make_unique<Running>();
    QProcess& process = running->process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& setting : child.environment)
        environment.insert(setting.section(QLatin1Char('='), 0, 0),
                           setting.section(QLatin1Char('='), 1));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(child.workingDirectory);
    process.setProgram(child.program);
    process.setArguments(child.arguments);
    startInOwnGroup(process);
    QObject::connect(&process, &QProcess::readyReadStandardOutput, this,
                     [this, index] { take(index, false); });
    QObject::connect(&process, &QProcess::readyReadStandardError, this,
                     [this, index] { take(index, true); });
    QObject::connect(&process, &QProcess::finished, this,
                     [this, index](int code, QProcess::ExitStatus how) {
                         ended(index, how == QProcess::NormalExit ? code : -1);
                     });
    QObject::connect(&process, &QProcess::errorOccurred, this,
                     [this, index](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart)
                             ended(index, -1);
                     });
    running->clock.start();
    m_running[index] = std::move(running);
    if (m_onStart)
        m_onStart(index);
    process.start();
    if (process.processId() > 0)
        registerProcessGroup(long(process.processId()));
}

void ChildPrograms::take(int child, bool standardError) {
    Running& running = *m_running[child];
    running.process.setReadChannel(standardError ? QProcess::StandardError
                                                 : QProcess::StandardOutput);
    QByteArray& pending = running.pending[standardError ? 1 : 0];
    pending += running.process.readAll();
    qsizetype end;
    while ((end = pending.indexOf('\n')) >= 0) {
        const QByteArray line = pending.left(end);
        pending.remove(0, end + 1);
        if (m_onLine)
            m_onLine(child, standardError, line);
    }
}

void ChildPrograms::ended(int child, int status) {
    Running& running = *m_running[child];
    if (running.done)
        return;
    running.done = true;
    take(child, false);
    take(child, true);
    for (int channel = 0; channel < 2; ++channel) {
        if (!running.pending[channel].isEmpty() && m_onLine)
            m_onLine(child, channel == 1, running.pending[channel]);
        running.pending[channel].clear();
    }
    if (running.process.processId() > 0)
        unregisterProcessGroup(long(running.process.processId()));
    ++m_ended;
    if (m_onEnd)
        m_onEnd(child, status, running.clock.elapsed() / 1000.0);
    if (!m_stopped && m_next < m_children.size())
        startNext();
}

void ChildPrograms::waitForAll() {
    QEventLoop loop;
    while (!finished())
        loop.processEvents(QEventLoop::WaitForMoreEvents);
}

void ChildPrograms::stop() {
    m_stopped = true;
    for (std::unique_ptr<Running>& running : m_running)
        if (running && !running->done)
            stopProcessGroup(running->process);
    while (m_next < m_children.size()) {
        const int index = m_next++;
        m_running[index] = std::make_unique<Running>();
        m_running[index]->done = true;
        ++m_ended;
        if (m_onEnd)
            m_onEnd(index, -1, 0);
    }
}

int availableProcessors() {
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0)
        return std::max(1, CPU_COUNT(&set));
    return std::max(1, QThread::idealThreadCount());
}

} // namespace morvane
