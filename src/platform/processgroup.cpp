#include "platform/processgroup.h"

#include <QProcess>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/types.h>
#include <unistd.h>

namespace morvane {

namespace {

// Plain atomics, so the signal handler may read them.
constexpr std::size_t kMaxGroups = 64;
std::array<std::atomic<long>, kMaxGroups> groups{};
std::atomic<bool> stopRequested{false};
int stopPipe[2] = {-1, -1};

void terminateAll(int signal) {
    for (const std::atomic<long>& group : groups)
        if (const long id = group.load(); id > 0)
            ::kill(-pid_t(id), signal);
}

void onStopSignal(int) {
    stopRequested = true;
    terminateAll(SIGTERM);
    if (stopPipe[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(stopPipe[1], &byte, 1);
    }
}

} // namespace

namespace {

// A pipe whose write end only this program holds: when the program ends,
// however it ends (kill -9 included), its read end sees end of file.
int lifeline[2] = {-1, -1};

// The highest descriptor a script can name in a redirection.
constexpr int kHighestScriptDescriptor = 9;

void openLifeline() {
    if (lifeline[0] >= 0)
        return;
    if (::pipe2(lifeline, O_CLOEXEC) != 0) {
        lifeline[0] = lifeline[1] = -1;
        return;
    }
    // A script reaches only the descriptors 0 to 9: the read end goes as low
    // as it can. (The standard channels are open, keepStandardChannelsOpen,
    // so the pipe never takes their place.)
    if (lifeline[0] > kHighestScriptDescriptor) {
        const int low = ::fcntl(lifeline[0], F_DUPFD_CLOEXEC, 3);
        if (low >= 0 && low <= kHighestScriptDescriptor) {
            ::close(lifeline[0]);
            lifeline[0] = low;
        } else if (low >= 0) {
            ::close(low);
        }
    }
}

// The watcher is a shell that reads the lifeline until end of file and then
// ends its whole group. It is a program of its own, started with vfork and
// exec: a fork of this program would copy its page tables and make every page
// it writes afterwards a copy. Its command is fixed; no name reaches it.
char kWatcherName[] = "morvane-watch";
char kWatcherOption[] = "-c";
char kWatcherScript[] = "read line; kill -KILL 0";
char* const kWatcherArguments[] = {kWatcherName, kWatcherOption, kWatcherScript, nullptr};
char* const kWatcherEnvironment[] = {nullptr};

void startWatcher() {
    if (::vfork() != 0)
        return;
    // The watcher holds nothing but the lifeline, as its input: not the
    // output pipes, not the pipe by which the program learns that the
    // converter started.
    if (::dup2(lifeline[0], STDIN_FILENO) < 0)
        ::_exit(127);
    ::fcntl(STDIN_FILENO, F_SETFD, 0);
    ::close_range(STDIN_FILENO + 1, ~0U, 0);
    ::execve("/bin/sh", kWatcherArguments, kWatcherEnvironment);
    ::_exit(127);
}

// Runs in the started child before it executes the converter: the child
// leads a new group, and a watcher in that group waits on the lifeline and
// ends the whole group when the program is gone. (The kernel's parent-death
// signal would reach only the child itself, not the LaTeX runs it starts.)
// A batch driver that starts its own watcher gets the lifeline instead: its
// shell forks the watcher for a fraction of what a program's start costs,
// and before it starts anything else. Only calls that are safe between fork
// and exec.
void enterOwnGroupWithWatcher(bool scriptWatches) {
    ::setpgid(0, 0);
    if (lifeline[0] < 0)
        return;
    if (scriptWatches)
        ::fcntl(lifeline[0], F_SETFD, 0);
    else
        startWatcher();
}

} // namespace

void keepStandardChannelsOpen() {
    // A closed channel is reopened on the null device: otherwise the next
    // file the program opens would take its number, and what the program
    // prints would land in that file.
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd)
        if (::fcntl(fd, F_GETFD) < 0 && errno == EBADF)
            ::open("/dev/null", O_RDWR);
}

int lifelineForScript() {
    openLifeline();
    return lifeline[0] > STDERR_FILENO && lifeline[0] <= kHighestScriptDescriptor ? lifeline[0]
                                                                                  : -1;
}

void startInOwnGroup(QProcess& process, qint64 addressSpaceCap, bool scriptWatches) {
    openLifeline();
    scriptWatches = scriptWatches && lifelineForScript() >= 0;
    // Set in the child, before the converter is executed: the cap holds for
    // it and for everything it starts, and the program itself keeps none.
    process.setChildProcessModifier([addressSpaceCap, scriptWatches] {
        if (addressSpaceCap > 0) {
            const rlimit cap{rlim_t(addressSpaceCap), rlim_t(addressSpaceCap)};
            ::setrlimit(RLIMIT_AS, &cap);
        }
        enterOwnGroupWithWatcher(scriptWatches);
    });
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
    if (stopPipe[0] < 0 && ::pipe(stopPipe) == 0) {
        for (int fd : stopPipe) {
            ::fcntl(fd, F_SETFD, FD_CLOEXEC);
            ::fcntl(fd, F_SETFL, O_NONBLOCK);
        }
    }
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    // A closed terminal: the converters end with the program.
    ::sigaction(SIGHUP, &action, nullptr);
}

int stopSignalDescriptor() {
    return stopPipe[0];
}

void drainStopSignals() {
    char bytes[16];
    while (stopPipe[0] >= 0 && ::read(stopPipe[0], bytes, sizeof bytes) > 0) {
    }
}

} // namespace morvane
