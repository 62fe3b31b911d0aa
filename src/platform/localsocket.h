#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <map>
#include <memory>

class QSocketNotifier;

namespace morvane {

// A Unix-domain stream socket that takes lines of text, for the window's
// single-instance hand-over. Plain sockets and Qt Core's notifiers do what
// Qt Network's local server did, without loading Qt Network (and the
// Kerberos libraries it brings) at every start of the window.

// Where the socket named `name` lies: the temporary folder, as Qt's local
// sockets put it, so that an earlier version's instance is still found.
QString localSocketPath(const QString& name);

class LineListener : public QObject {
    Q_OBJECT
public:
    explicit LineListener(QObject* parent = nullptr);
    // Stops listening and removes the socket, so that the name is free again.
    ~LineListener() override;
    LineListener(const LineListener&) = delete;
    LineListener& operator=(const LineListener&) = delete;

    // Listens at `path`; false when the name is taken (by a listener or by
    // what a crashed one left) or the socket cannot be made.
    bool listen(const QString& path);

signals:
    // Each whole line a client sent, without its line end ("\n" or "\r\n").
    // What follows the last line end when the client goes is dropped.
    void lineReceived(const QString& line);

private:
    struct Client {
        std::unique_ptr<QSocketNotifier> notifier;
        QByteArray pending;
    };
    void acceptClients();
    void readClient(int fd);
    void closeClient(int fd);

    int m_fd = -1;
    QString m_path;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::map<int, Client> m_clients;
};

// Sends `line` and a line end to the listener at `path`; false when nobody
// listens there or the line could not be written within `timeoutMs`.
bool sendLine(const QString& path, const QByteArray& line, int timeoutMs);

// Removes a socket a crashed program left at `path`.
void removeLocalSocket(const QString& path);

} // namespace morvane
