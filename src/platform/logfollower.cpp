#include "platform/logfollower.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace morvane {

namespace {

// Often enough for a console that follows a converter's messages, rarely
// enough that the wait costs next to nothing (one stat call a look).
constexpr int kLookIntervalMs = 200;

} // namespace

LogFollower::LogFollower(const QString& log, Show show) : m_log(log), m_show(std::move(show)) {
    // What the log held before the run (a header, an earlier step's
    // messages) was not said by this run.
    m_shown = QFileInfo(m_log).size();
}

void LogFollower::follow(QProcess& process) {
    connect(&m_poll, &QTimer::timeout, this, &LogFollower::readAdded);
    connect(&process, &QProcess::finished, this, [this] {
        m_poll.stop();
        readAdded();
    });
    m_poll.start(kLookIntervalMs);
}

void LogFollower::readAdded() {
    QFile file(m_log);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const qint64 size = file.size();
    // A log that was replaced by a shorter one is shown from its start.
    if (size < m_shown)
        m_shown = 0;
    if (size == m_shown || !file.seek(m_shown))
        return;
    const QByteArray added = file.read(size - m_shown);
    m_shown += added.size();
    if (!added.isEmpty())
        m_show(added);
}

} // namespace morvane
