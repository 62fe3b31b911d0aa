#include "platform/runlimits.h"

#include "platform/launcher.h"
#include "platform/processgroup.h"

#include <QProcess>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace morvane {

namespace {

// How often the group's memory is looked at: a runaway that allocates two
// GB a second overshoots the limit by half a GB at most before it ends,
// and still meets the look before the address-space backstop (at least a
// GiB above the limit). Ten looks a second cost the waiting program half a
// percent of a core; four cost a fifth of that. Each look follows the
// leader's descendants, a handful of small files; a process that left the
// tree (its parent ended, it was handed to init) is found by a scan of all
// /proc, which costs some microseconds per process of the machine and is
// done every 2.5 seconds only.
constexpr int kMemoryPollMs = 250;
constexpr int kPollsPerFullScan = 10;

// Reads a small /proc file into `buffer` (NUL-terminated); false when it is gone.
bool readProcFile(const char* path, char* buffer, std::size_t size) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const ssize_t length = ::read(fd, buffer, size - 1);
    ::close(fd);
    if (length <= 0)
        return false;
    buffer[length] = 0;
    return true;
}

// The process group in /proc/PID/stat: the fifth field, the third after the
// program's name in parentheses (which may itself hold blanks and parentheses).
long groupOfProcess(const char* pid) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%s/stat", pid);
    char stat[512];
    if (!readProcFile(path, stat, sizeof stat))
        return -1;
    const char* afterName = std::strrchr(stat, ')');
    if (!afterName)
        return -1;
    char state = 0;
    long parent = 0;
    long group = -1;
    if (std::sscanf(afterName + 1, " %c %ld %ld", &state, &parent, &group) != 3)
        return -1;
    return group;
}

// Resident pages minus those backed by files or shared memory (/proc/PID/statm).
qint64 privateBytesOf(const char* pid) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%s/statm", pid);
    char statm[256];
    if (!readProcFile(path, statm, sizeof statm))
        return 0;
    long long size = 0;
    long long resident = 0;
    long long shared = 0;
    if (std::sscanf(statm, "%lld %lld %lld", &size, &resident, &shared) != 3)
        return 0;
    return std::max(0LL, resident - shared) * ::sysconf(_SC_PAGESIZE);
}

bool isNumber(const char* name) {
    return std::isdigit(static_cast<unsigned char>(name[0]));
}

// The children of every thread of `pid` (/proc/PID/task/TID/children).
std::vector<long> childrenOf(long pid) {
    std::vector<long> children;
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%ld/task", pid);
    DIR* tasks = ::opendir(path);
    if (!tasks)
        return children;
    while (const dirent* task = ::readdir(tasks)) {
        if (!isNumber(task->d_name))
            continue;
        char file[320]; // room for any directory entry name
        std::snprintf(file, sizeof file, "/proc/%ld/task/%s/children", pid, task->d_name);
        char list[4096];
        if (!readProcFile(file, list, sizeof list))
            continue;
        for (char* cursor = list; *cursor;) {
            char* end = nullptr;
            const long child = std::strtol(cursor, &end, 10);
            if (end == cursor)
                break;
            children.push_back(child);
            cursor = end;
        }
    }
    ::closedir(tasks);
    return children;
}

} // namespace

qint64 physicalMemoryBytes() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    return pages > 0 && pageSize > 0 ? qint64(pages) * pageSize : 0;
}

qint64 groupMemoryBytes(long group) {
    DIR* proc = ::opendir("/proc");
    if (!proc)
        return 0;
    qint64 total = 0;
    while (const dirent* entry = ::readdir(proc)) {
        if (!isNumber(entry->d_name))
            continue;
        if (groupOfProcess(entry->d_name) == group)
            total += privateBytesOf(entry->d_name);
    }
    ::closedir(proc);
    return total;
}

qint64 leaderTreeMemoryBytes(long group) {
    qint64 total = 0;
    std::vector<long> pending{group};
    while (!pending.empty()) {
        const long pid = pending.back();
        pending.pop_back();
        char name[32];
        std::snprintf(name, sizeof name, "%ld", pid);
        if (groupOfProcess(name) != group)
            continue;
        total += privateBytesOf(name);
        const std::vector<long> children = childrenOf(pid);
        pending.insert(pending.end(), children.begin(), children.end());
    }
    return total;
}

qint64 addressSpaceBackstop(qint64 memoryBytes) {
    if (memoryBytes <= 0)
        return 0;
    // Address space is not memory: programs reserve more than they touch
    // (thread stacks, allocator arenas). Twice the limit, and at least 1 GiB
    // above it, is never reached by a converter that stays within the limit,
    // and leaves the look at the group time to see a fast runaway first, so
    // that the user is told which limit ended the run.
    constexpr qint64 kHeadroom = qint64(1) << 30;
    return memoryBytes + std::max(memoryBytes, kHeadroom);
}

namespace {

// The largest resident size of any ended process this program has reaped,
// its own children's reaped descendants included (the kernel keeps the
// maximum as it reaps).
qint64 reapedProcessesPeakBytes() {
    struct rusage usage {};
    return ::getrusage(RUSAGE_CHILDREN, &usage) == 0 ? qint64(usage.ru_maxrss) * 1024 : 0;
}

} // namespace

LimitWatch::LimitWatch(QProcess& process, const RunLimits& limits)
    : m_process(process), m_group(long(processGroupOf(&process))), m_limits(limits),
      m_reapedPeakAtStart(reapedProcessesPeakBytes()) {
    if (m_group <= 0)
        return;
    if (limits.seconds > 0) {
        m_deadline.setSingleShot(true);
        // A coarse timer may fire 5 % late: half a minute on ten.
        m_deadline.setTimerType(Qt::PreciseTimer);
        connect(&m_deadline, &QTimer::timeout, this, [this] { end(LimitReached::Time); });
        m_deadline.start(std::chrono::seconds(limits.seconds));
    }
    if (limits.memoryBytes > 0) {
        connect(&m_memoryPoll, &QTimer::timeout, this, &LimitWatch::checkMemory);
        m_memoryPoll.start(kMemoryPollMs);
    }
    connect(&process, &QProcess::finished, this, [this] {
        m_deadline.stop();
        m_memoryPoll.stop();
    });
}

void LimitWatch::checkMemory() {
    const bool fullScan = ++m_polls % kPollsPerFullScan == 0;
    const qint64 used = fullScan ? groupMemoryBytes(m_group) : leaderTreeMemoryBytes(m_group);
    m_peak = std::max(m_peak, used);
    if (used > m_limits.memoryBytes)
        end(LimitReached::Memory);
}

void LimitWatch::end(LimitReached limit) {
    m_deadline.stop();
    m_memoryPoll.stop();
    if (m_reached != LimitReached::None || m_process.state() == QProcess::NotRunning)
        return;
    m_reached = limit;
    stopProcessGroup(m_process);
}

qint64 LimitWatch::peakBytes() const {
    // Only a maximum that grew during this run is this run's.
    const qint64 reaped = reapedProcessesPeakBytes();
    return std::max(m_peak, reaped > m_reapedPeakAtStart ? reaped : 0);
}

} // namespace morvane
