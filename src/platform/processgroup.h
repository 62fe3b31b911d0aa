#pragma once

class QProcess;

namespace morvane {

// Converters run in process groups of their own, so that stopping one ends
// everything it started (latex under htlatex, imagen under hevea) and no
// converter outlives the program.

// Makes `process` lead a new process group when it starts. The group ends
// when the program ends, even by kill -9; the caller ends it when the
// process has finished (endFinishedGroup). With `addressSpaceCap`, every
// process of the group may reserve at most that many bytes (RLIMIT_AS).
// With `scriptWatches`, the process is a batch driver that starts that
// watcher itself from the descriptor lifelineForScript() names (passed to it
// as MORVANE_LIFELINE), which costs a run far less than a watcher started
// here.
void startInOwnGroup(QProcess& process, qint64 addressSpaceCap = 0, bool scriptWatches = false);

// Reopens a standard channel the program was started without (input,
// output, error) on the null device, before anything else takes its place.
void keepStandardChannelsOpen();

// The descriptor (0 to 9) of the lifeline's read end that a batch driver
// watches, or -1 when a script cannot name it; the lifeline is opened at the
// first call.
int lifelineForScript();

// Ends the process's whole group: TERM, then KILL when it is still there
// after `graceMs`. Waits for the process itself to end.
void stopProcessGroup(QProcess& process, int graceMs = 2000);

// The groups of the processes running now, for stopping them all at exit or
// on a signal.
void registerProcessGroup(long groupId);
void unregisterProcessGroup(long groupId);
void stopAllProcessGroups();

// True once stopAllProcessGroups ran or a stop signal arrived: the running
// conversions then count as stopped.
bool stopWasRequested();

// SIGINT, SIGTERM and SIGHUP end the converters' groups; the program then
// finishes as for a stopped conversion.
void stopProcessGroupsOnSignals();

// Read end of a pipe that receives a byte for each stop signal, so that a
// program waiting in its event loop (watching files) wakes up at Ctrl+C;
// -1 before stopProcessGroupsOnSignals.
int stopSignalDescriptor();
// Reads the bytes waiting in that pipe.
void drainStopSignals();

} // namespace morvane
