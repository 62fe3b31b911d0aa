#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class QProcess;

namespace morvane {

// Follows a log that a running converter appends its messages to and hands
// on what it adds, from the size the log had when following began: a few
// times a second while the process runs, and the rest as soon as it has
// ended (before the console's own end, which is connected after it). The
// script then writes the messages once, straight into the log, and needs no
// second program to show them as well.
class LogFollower : public QObject {
public:
    using Show = std::function<void(const QByteArray&)>;

    // Takes the log's size now: made before the process starts, so that
    // nothing the converter writes is missed.
    LogFollower(const QString& log, Show show);

    // Follows the log while `process` runs.
    void follow(QProcess& process);
    // Hands on what the log gained since the last look.
    void readAdded();

private:
    QString m_log;
    qint64 m_shown = 0;
    Show m_show;
    QTimer m_poll;
};

} // namespace morvane
