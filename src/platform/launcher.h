#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

class QProcess;
class QObject;

namespace morvane {

// Where a running convert.sh shows its output: the console window in the
// program, standard output in batch mode.
class Console {
public:
    virtual ~Console() = default;
    // Called once, right after `process` started. `waitsForEnter`: the
    // script waits for Enter on its standard input when it is done, and the
    // console must send it (its standard input was left open for that).
    virtual void attach(QProcess* process, bool waitsForEnter) = 0;
    // What the run is, for the window's title ("Converting paper.tex with
    // HeVeA"); called before attach.
    virtual void describe(const QString& title) { Q_UNUSED(title); }
    // Messages the converter appended to its log while it ran (the runner
    // follows the log), shown as its own output is.
    virtual void showMessages(const QByteArray& bytes) { Q_UNUSED(bytes); }
    // Whether `target` belongs to the console's own window. While the program
    // otherwise ignores user input during a wait, such a window still takes
    // it, so that the user can answer the script's wait for Enter.
    // True when the user stopped the run from the console.
    virtual bool wasStopped() const { return false; }
    virtual bool acceptsInput(const QObject* target) const {
        Q_UNUSED(target);
        return false;
    }
};

class ConsoleFactory {
public:
    virtual ~ConsoleFactory() = default;
    // A console for one run of `commandLine`; owned by the caller.
    virtual Console* create(const QString& commandLine) = 0;
};

// What a started process gets on its standard channels.
struct LaunchChannels {
    // Leave standard input open (a console answers the script's wait for
    // Enter); otherwise it reads from the null device and sees end of file.
    bool keepInputOpen = false;
    // Nobody shows the output: send it to the null device instead of
    // buffering it in the program.
    bool discardOutput = false;
    // A private copy of the script to run in place of the one the command
    // line names, so that a run executes exactly the settings written for it
    // even when another run rewrites the shared script meanwhile.
    QString scriptInstead;
    // Variables set for the process ("NAME=value"), on top of the program's
    // own environment.
    QStringList environment;
    // Start the process as the leader of a process group of its own, so that
    // endProcessGroup can end it together with everything it started.
    bool ownProcessGroup = false;
    // The process is a batch driver that starts its group's watcher itself
    // from the lifeline named by MORVANE_LIFELINE in `environment`.
    bool scriptWatchesLifeline = false;
    // The address space each process of the run may reserve (RLIMIT_AS, set
    // between fork and exec and inherited by everything it starts); 0: no cap.
    qint64 addressSpaceCap = 0;
};

// Ends a process started with `ownProcessGroup` and every process of its
// group (a script's children too), and waits until it has gone.
void endProcessGroup(QProcess* process);

// The process group a started process leads (kept after the process has
// ended); 0 for a process the launcher did not start.
qint64 processGroupOf(const QProcess* process);

// A composed command line split into what is started: a ".sh" program runs
// through /bin/sh, so the script needs no run bit. `program` is empty when
// the line holds nothing.
struct LaunchCommand {
    QString program;
    QStringList arguments;
};
LaunchCommand splitCommandLine(const QString& commandLine);

// True when the command line asks the script to wait for Enter after the
// converter ("pause" as its last argument).
bool asksForPause(const QString& commandLine);

// Everything the process wrote since the last call, standard error included
// (merged by the launcher, read separately otherwise).
QByteArray readAllOutput(QProcess* process);

// Starts processes from a composed command line.
class Launcher {
public:
    virtual ~Launcher() = default;
    // Splits `commandLine` into program and arguments (QProcess::splitCommand;
    // a ".sh" program runs through /bin/sh) and starts it in
    // `workingDirectory`. Standard output and error are merged. Returns the
    // started process (owned by `parent`), or nullptr when it could not start.
    virtual QProcess* start(const QString& commandLine, const QString& workingDirectory,
                            QObject* parent, const LaunchChannels& channels = {}) = 0;
};

// The real launcher: QProcess with an argument list, never a shell. The
// program's own current directory is never changed.
class QProcessLauncher : public Launcher {
public:
    QProcess* start(const QString& commandLine, const QString& workingDirectory, QObject* parent,
                    const LaunchChannels& channels = {}) override;
};

} // namespace morvane
