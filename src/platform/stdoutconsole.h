#pragma once

#include <cstdio>

#include "platform/launcher.h"

namespace morvane {

// Batch mode's console: the script's output goes to the program's standard
// output, and a wait for Enter is answered at once (nobody is there to press it).
// The converter's output goes to this program's standard output, or to its
// standard error when the standard output carries a report of its own.
class StdoutConsole : public Console {
public:
    explicit StdoutConsole(std::FILE* sink = stdout) : m_sink(sink) {}
    void attach(QProcess* process, bool waitsForEnter) override;
    void showMessages(const QByteArray& bytes) override;

private:
    std::FILE* m_sink;
};

class StdoutConsoleFactory : public ConsoleFactory {
public:
    explicit StdoutConsoleFactory(std::FILE* sink = stdout) : m_sink(sink) {}
    Console* create(const QString& commandLine) override;

private:
    std::FILE* m_sink;
};

} // namespace morvane
