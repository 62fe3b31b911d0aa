#pragma once

#include <QString>
#include <QStringList>

class QProcess;
class QObject;

namespace morvane {

// Where a running convert.sh shows its output: the console window in the
// program, standard output in batch mode.
class Console {
public:
    virtual ~Console() = default;
    virtual void attach(QProcess* process, bool waitsForEnter) = 0;
};

class ConsoleFactory {
public:
    virtual ~ConsoleFactory() = default;
    // A console for one run of `commandLine`; owned by the caller.
    virtual Console* create(const QString& commandLine) = 0;
};

// Starts processes from a composed command line.
class Launcher {
public:
    virtual ~Launcher() = default;
    // Splits `commandLine` into program and arguments (QProcess::splitCommand;
    // a ".sh" program runs through /bin/sh) and starts it in
    // `workingDirectory`. Returns the started process (owned by `parent`), or
    // nullptr when it could not start.
    virtual QProcess* start(const QString& commandLine, const QString& workingDirectory,
                            QObject* parent) = 0;
};

} // namespace morvane
