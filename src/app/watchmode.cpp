#include "app/watchmode.h"

#include "pipeline/watchedfiles.h"
#include "platform/processgroup.h"
#include "platform/savewatcher.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QSocketNotifier>
#include <cstdio>

namespace morvane {

namespace {

void tell(const QString& text) {
    std::fprintf(stderr, "morvane: %s\n", text.toUtf8().constData());
    std::fflush(stderr);
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(QDir::current().relativeFilePath(path));
}

} // namespace

int watchAndConvert(const QString& source, const WatchedConversion& convert, int settleMs) {
    const QString document = QDir::cleanPath(QDir::current().absoluteFilePath(source));
    // A pipe or a device never gets "saved": watching it would only wait.
    const QFileInfo info(document);
    if (info.exists() && !info.isFile()) {
        tell(QStringLiteral("%1 is not a file.").arg(QDir::toNativeSeparators(document)));
        return 2;
    }
    SaveWatcher watcher(settleMs);
    // Signatures taken before the first conversion: a save during it counts.
    watcher.setFiles({document});

    std::optional<ConversionResult> result;
    int status = convert(result);
    if (stopWasRequested())
        return status;

    QEventLoop loop;
    bool converting = false;
    bool again = false;
    // After each conversion: what the document reads now, and any save made
    // while it ran.
    const auto follow = [&] {
        watcher.setFiles(watchedFilesAfter(document, result ? &*result : nullptr));
        watcher.recheck();
        tell(QStringLiteral("watching %1 file(s) of %2; press Ctrl+C to stop.")
                 .arg(watcher.files().size())
                 .arg(shown(document)));
    };
    follow();

    QObject::connect(&watcher, &SaveWatcher::saved, &loop, [&](const QStringList& files) {
        // A converter that serves events while it runs could bring the next
        // save in here; it is converted when the running one is done.
        if (converting) {
            again = true;
            return;
        }
        converting = true;
        QStringList names;
        for (const QString& file : files)
            names.append(shown(file));
        tell(QStringLiteral("%1 saved; converting again.").arg(names.join(QStringLiteral(", "))));
        do {
            again = false;
            result.reset();
            status = convert(result);
        } while (again && !stopWasRequested());
        converting = false;
        if (stopWasRequested()) {
            loop.quit();
            return;
        }
        follow();
    });
    QObject::connect(&watcher, &SaveWatcher::missing, &loop, [](const QString& file) {
        tell(QStringLiteral("%1 is gone; waiting for it to come back.").arg(shown(file)));
    });

    std::optional<QSocketNotifier> stop;
    if (const int fd = stopSignalDescriptor(); fd >= 0) {
        stop.emplace(fd, QSocketNotifier::Read);
        QObject::connect(&*stop, &QSocketNotifier::activated, &loop, [&loop] {
            drainStopSignals();
            loop.quit();
        });
    }
    if (!stopWasRequested())
        loop.exec();
    tell(QStringLiteral("stopped watching."));
    return status;
}

} // namespace morvane
