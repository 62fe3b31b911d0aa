#include "platform/processgroup.h"

#include <QProcess>

#include <array>
#include <atomic>
#include <csignal>
#include <sys/types.h>
#include <unistd.h>

namespace morvane {

namespace {

// Plain atomics, so the signal handler may read them.
constexpr std::size_t kMaxGroups = 64;
std::array<std::atomic<long>, kMaxGroups> groups{};
std::atomic<bool> stopRequested{false};

void terminateAll(int signal) {
    for (const std::atomic<long>& group : groups)
        if (const long id = group.load(); id > 0)
            ::kill(-pid_t(id), signal);
}

void onStopSignal(int) {
    stopRequested = true;
    terminateAll(SIGTERM);
}

} // namespace

void startInOwnGroup(QProcess& process) {
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
}

void stopProcessGroup(QProcess& process, int graceMs) {
    const qint64 pid = process.processId();
    if (pid <= 0 || process.state() == QProcess::NotRunning)
        return;
    ::kill(-pid_t(pid), SIGTERM);
    if (!process.waitForFinished(graceMs)) {
        ::kill(-pid_t(pid), SIGKILL);
        process.waitForFinished(graceMs);
    }
    // Children that ignored TERM may outlive their leader.
    ::kill(-pid_t(pid), SIGKILL);
}

void registerProcessGroup(long groupId) {
    for (std::atomic<long>& group : groups) {
        long empty = 0;
        if (group.compare_exchange_strong(empty, groupId))
            return;
    }
}

void unregisterProcessGroup(long groupId) {
    for (std::atomic<long>& group : groups) {
        long id = groupId;
        if (group.compare_exchange_strong(id, 0))
            return;
    }
}

void stopAllProcessGroups() {
    stopRequested = true;
    terminateAll(SIGTERM);
    ::usleep(200 * 1000);
    terminateAll(SIGKILL);
}

bool stopWasRequested() {
    return stopRequested;
}

void stopProcessGroupsOnSignals() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

} // namespace morvane
