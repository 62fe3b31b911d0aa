#pragma once

#include "platform/launcher.h"

namespace morvane {

// Batch mode's console: the script's output goes to the program's standard
// output, and a wait for Enter is answered at once (nobody is there to press it).
class StdoutConsole : public Console {
public:
    void attach(QProcess* process, bool waitsForEnter) override;
};

class StdoutConsoleFactory : public ConsoleFactory {
public:
    Console* create(const QString& commandLine) override;
};

} // namespace morvane
