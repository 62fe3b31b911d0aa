#pragma once

#include <QObject>
#include <QTimer>

class QProcess;

namespace morvane {

// What one converter run may use before it is ended; 0 means no limit.
struct RunLimits {
    int seconds = 0;
    qint64 memoryBytes = 0;

    bool operator==(const RunLimits&) const = default;
};

enum class LimitReached { None, Time, Memory };

// The machine's physical memory (RAM), 0 when it cannot be told.
qint64 physicalMemoryBytes();

// The memory the processes of process group `group` hold of their own: the
// resident pages that no file backs (heap, stacks, anonymous mappings).
// Libraries and mapped files are left out, since they are shared and can be
// dropped by the kernel at any time.
// Every process of the machine is looked at.
qint64 groupMemoryBytes(long group);
// The same for the processes of the group that descend from its leader (the
// process whose id is the group's), found through the kernel's lists of
// children: much cheaper, but blind to a process whose parent has ended.
qint64 leaderTreeMemoryBytes(long group);

// The address space each process of a run may reserve (RLIMIT_AS, set in the
// child before it executes the converter), for a run whose group may use
// `memoryBytes`; 0 for no cap. It lies well above the group's limit: the
// group's limit is what is reported, and this only keeps one process from
// taking far more than that between two looks at the group.
qint64 addressSpaceBackstop(qint64 memoryBytes);

// Watches one started run and ends its whole process group when it reaches a
// limit: the time since it started, or the memory of its group, which is
// looked at several times a second. Ending is TERM, then KILL after a grace
// period, as for Stop.
class LimitWatch : public QObject {
public:
    LimitWatch(QProcess& process, const RunLimits& limits);

    // The limit that ended the run; None while it runs or when it ended by itself.
    LimitReached reached() const { return m_reached; }
    // The most memory the group held at one of the looks (4 a second), or,
    // once the run has ended, the size of its largest process when that is
    // more: a run shorter than a look still shows its converter's size.
    qint64 peakBytes() const;

private:
    void checkMemory();
    void end(LimitReached limit);

    QProcess& m_process;
    long m_group;
    RunLimits m_limits;
    QTimer m_deadline;
    QTimer m_memoryPoll;
    LimitReached m_reached = LimitReached::None;
    int m_polls = 0;
    qint64 m_peak = 0;
    qint64 m_reapedPeakAtStart = 0;
};

} // namespace morvane
