#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace morvane {

// Fetches documents from the web for the update check. A fetch waits until
// the document has arrived or the limits are reached, without taking user
// input meanwhile, so no second conversion or check can start inside it.
class Downloader {
public:
    virtual ~Downloader() = default;
    // The whole document at `url`, or nothing when it did not arrive in full:
    // no connection, an HTTP error, no answer in time, or more bytes than a
    // page of update information can sensibly have.
    virtual std::optional<QByteArray> fetch(const QString& url) = 0;
};

} // namespace morvane
