#include "ui/singleinstance.h"

#include <QCryptographicHash>
#include <QDir>

namespace morvane {

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent), m_name(std::move(serverName)) {
    connect(&m_listener, &LineListener::lineReceived, this, &SingleInstance::received);
}

QString SingleInstance::serverNameFor(const QString& programDir) {
    // The home directory makes the name per user; the program directory keeps
    // two separate installations (and parallel tests) apart.
    const QByteArray key = (QDir::homePath() + QLatin1Char('\n') + programDir).toUtf8();
    return QStringLiteral("morvane-") +
           QString::fromLatin1(
               QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
}

bool SingleInstance::sendTo(const QString& serverName, const QString& text, int timeoutMs) {
    return sendLine(localSocketPath(serverName), text.toUtf8(), timeoutMs);
}

bool SingleInstance::listen() {
    return m_listener.listen(localSocketPath(m_name));
}

bool SingleInstance::claim(const QString& handOverText) {
    // Listening first makes the claim atomic: of two programs started at the
    // same moment only one can own the socket.
    if (listen())
        return true;
    if (sendTo(m_name, handOverText))
        return false;
    // A socket left behind by a program that crashed.
    removeLocalSocket(localSocketPath(m_name));
    listen();
    return true;
}

} // namespace morvane
