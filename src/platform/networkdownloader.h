#pragma once

#include "platform/downloader.h"

namespace morvane {

// Fetches over HTTP or HTTPS with Qt Network. Built into the window's
// library: batch mode never loads the network module.
class NetworkDownloader : public Downloader {
public:
    struct Limits {
        int timeoutMs = 30000;             // for the whole document, redirects included
        qint64 maxBytes = 4 * 1024 * 1024; // the update pages are a few kilobytes
    };

    NetworkDownloader() = default;
    explicit NetworkDownloader(Limits limits) : m_limits(limits) {}

    std::optional<QByteArray> fetch(const QString& url) override;

private:
    Limits m_limits;
};

} // namespace morvane
