#include "platform/networkdownloader.h"

#include "platform/inputblocker.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace morvane {

namespace {

bool isWebAddress(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

} // namespace

std::optional<QByteArray> NetworkDownloader::fetch(const QString& address) {
    const QUrl url(address);
    if (!isWebAddress(url))
        return std::nullopt;

    QNetworkAccessManager network;
    QNetworkRequest request(url);
    // An https site must not be sent on to plain http.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(5);
    QNetworkReply* reply = network.get(request);

    QByteArray body;
    bool overLimit = false;
    auto giveUp = [&] {
        overLimit = true;
        reply->abort();
    };
    // A server that announces, or then sends, more than the limit is cut off
    // at once instead of being read into memory.
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [&] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > m_limits.maxBytes)
            giveUp();
    });
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [&] {
        body += reply->read(m_limits.maxBytes + 1 - body.size());
        if (body.size() > m_limits.maxBytes)
            giveUp();
    });

    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // A server that accepts the connection and never answers, or answers a
    // byte at a time, must not hold the window for ever.
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, reply, giveUp);
    deadline.start(m_limits.timeoutMs);
    {
        // The window repaints but takes no clicks or keys until the end.
        InputBlocker blocker;
        if (!reply->isFinished())
            loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    deadline.stop();

    if (!overLimit && reply->bytesAvailable() > 0)
        body += reply->readAll();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool complete = !overLimit && reply->error() == QNetworkReply::NoError && status >= 200 &&
                          status < 300 && body.size() <= m_limits.maxBytes;
    delete reply;
    if (!complete)
        return std::nullopt;
    return body;
}

} // namespace morvane
