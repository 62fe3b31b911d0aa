#include "platform/localsocket.h"

#include <QDir>
#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace morvane {

namespace {

// The address of `path`; false when it is too long for a socket name.
bool addressOf(const QString& path, sockaddr_un& address) {
    const QByteArray native = QFile::encodeName(path);
    address = {};
    address.sun_family = AF_UNIX;
    if (native.size() >= qsizetype(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, native.constData(), size_t(native.size()));
    return true;
}

} // namespace

QString localSocketPath(const QString& name) {
    return QDir::tempPath() + QLatin1Char('/') + name;
}

LineListener::LineListener(QObject* parent) : QObject(parent) {}

LineListener::~LineListener() {
    while (!m_clients.empty())
        closeClient(m_clients.begin()->first);
    if (m_fd < 0)
        return;
    m_notifier.reset();
    ::close(m_fd);
    ::unlink(QFile::encodeName(m_path).constData());
}

bool LineListener::listen(const QString& path) {
    sockaddr_un address;
    if (m_fd >= 0 || !addressOf(path, address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    // bind never replaces an existing file: a name in use stays in use.
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 16) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_path = path;
    m_notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &LineListener::acceptClients);
    return true;
}

void LineListener::acceptClients() {
    while (true) {
        const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0)
            return;
        Client& client = m_clients[fd];
        client.notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        connect(client.notifier.get(), &QSocketNotifier::activated, this,
                [this, fd] { readClient(fd); });
        // Lines that arrived before the connection was taken.
        readClient(fd);
    }
}

void LineListener::readClient(int fd) {
    const auto it = m_clients.find(fd);
    if (it == m_clients.end())
        return;
    char buffer[4096];
    bool gone = false;
    while (true) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            it->second.pending.append(buffer, n);
            continue;
        }
        gone = n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR);
        if (n < 0 && errno == EINTR)
            continue;
        break;
    }
    QByteArray& pending = it->second.pending;
    qsizetype end;
    while ((end = pending.indexOf('\n')) >= 0) {
        QByteArray line = pending.left(end);
        pending.remove(0, end + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        emit lineReceived(QString::fromUtf8(line));
    }
    if (gone)
        closeClient(fd);
}

void LineListener::closeClient(int fd) {
    const auto it = m_clients.find(fd);
    if (it == m_clients.end())
        return;
    // The notifier goes before the descriptor it watches.
    it->second.notifier.reset();
    m_clients.erase(it);
    ::close(fd);
}

bool sendLine(const QString& path, const QByteArray& line, int timeoutMs) {
    sockaddr_un address;
    if (!addressOf(path, address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const timeval timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    bool sent = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    const QByteArray bytes = line + '\n';
    for (qsizetype done = 0; sent && done < bytes.size();) {
        const ssize_t n =
            ::send(fd, bytes.constData() + done, size_t(bytes.size() - done), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        sent = n > 0;
        done += sent ? n : 0;
    }
    ::close(fd);
    return sent;
}

void removeLocalSocket(const QString& path) {
    ::unlink(QFile::encodeName(path).constData());
}

} // namespace morvane
