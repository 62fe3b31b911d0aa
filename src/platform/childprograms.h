#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QProcess;

namespace morvane {

// Runs of a program of this program's own kind (batch conversions of other
// documents, or of one document on other routes) side by side: each in a
// process group of its own that ends with this program, at most `jobs` at
// once, their output handed over line by line.
struct ChildProgram {
    QString program;
    QStringList arguments;
    QString workingDirectory;
    QStringList environment; // "NAME=value", over this program's own
};

class ChildPrograms : public QObject {
public:
    // A line a child wrote (without its line end), on its standard output or
    // its standard error.
    using LineHandler = std::function<void(int child, bool standardError, const QByteArray& line)>;
    // A child's start, and its end with its exit status (-1 when it could not
    // start or crashed) and its wall time in seconds.
    using StartHandler = std::function<void(int child)>;
    using EndHandler = std::function<void(int child, int status, double seconds)>;

    ChildPrograms(QList<ChildProgram> children, int jobs);
    ~ChildPrograms() override;

    void onLine(LineHandler handler) { m_onLine = std::move(handler); }
    void onStart(StartHandler handler) { m_onStart = std::move(handler); }
    void onEnd(EndHandler handler) { m_onEnd = std::move(handler); }

    // Starts the first ones; the rest start as others end.
    void start();
    // Serves events until every child has ended.
    void waitForAll();
    // Ends the running children's groups and starts no more; those never
    // started end with status -1.
    void stop();
    bool finished() const { return m_ended == m_children.size(); }

private:
    struct Running;
    void startNext();
    void take(int child, bool standardError);
    void ended(int child, int status);

    QList<ChildProgram> m_children;
    int m_jobs;
    int m_next = 0;
    int m_ended = 0;
    bool m_stopped = false;
    std::vector<std::unique_ptr<Running>> m_running;
    LineHandler m_onLine;
    StartHandler m_onStart;
    EndHandler m_onEnd;
};

// The processors this machine offers this program, at least 1.
int availableProcessors();

} // namespace morvane
