#include "ui/singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalSocket>

namespace morvane {

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent), m_name(std::move(serverName)) {
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
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
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(text.toUtf8() + '\n');
    const bool sent = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return sent;
}

bool SingleInstance::listen() {
    return m_server.listen(m_name);
}

bool SingleInstance::claim(const QString& handOverText) {
    // Listening first makes the claim atomic: of two programs started at the
    // same moment only one can own the socket.
    if (listen())
        return true;
    if (sendTo(m_name, handOverText))
        return false;
    // A socket left behind by a program that crashed.
    QLocalServer::removeServer(m_name);
    listen();
    return true;
}

void SingleInstance::acceptConnections() {
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        auto readLines = [this, socket] {
            while (socket->canReadLine()) {
                QByteArray line = socket->readLine();
                line.chop(1);
                if (line.endsWith('\r'))
                    line.chop(1);
                emit received(QString::fromUtf8(line));
            }
        };
        connect(socket, &QLocalSocket::readyRead, this, readLines);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // Lines that arrived before the connection was taken.
        readLines();
    }
}

} // namespace morvane
