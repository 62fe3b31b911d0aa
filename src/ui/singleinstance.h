#pragma once

#include "platform/localsocket.h"

#include <QObject>
#include <QString>

namespace morvane {

// One running program per user and program directory. A later start hands
// its file (one line of UTF-8 text: the long full path, or nothing when it
// was started without a file) to the earlier one over a local socket and
// ends; the earlier one emits received() for every line.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString serverName, QObject* parent = nullptr);

    // True when this is the first instance, now listening for later starts.
    // False when an earlier instance took `handOverText`.
    bool claim(const QString& handOverText);

    // The socket name for a program directory; it differs between users.
    static QString serverNameFor(const QString& programDir);
    // Sends one line to the instance listening on `serverName`; false when
    // there is none.
    static bool sendTo(const QString& serverName, const QString& text, int timeoutMs = 2000);

signals:
    // A later start's file; empty when it only asks to come to the front.
    void received(const QString& file);

private:
    bool listen();

    QString m_name;
    LineListener m_listener;
};

} // namespace morvane
