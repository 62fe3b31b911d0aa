#pragma once

#include "platform/runjournal.h"

#include <QList>
#include <QString>

namespace morvane {

struct Conversion;

// The previous result of a conversion, moved aside (in its own folder)
// while the converter writes the new one, so that a run killed part-way
// leaves the previous complete page rather than a truncated one: the
// journal names the move, and the next start puts the page back. A run that
// ends makes no difference: the new result stays, or when there is none the
// previous one comes back. A run that was stopped (by the user or a limit)
// gives the previous result back over whatever part of a new one it wrote.
//
// For routes that work in Morvane's own output folder, the converter's
// working files there (TeX4ht's .xref, .4tc, ...) are named in the journal
// too: a killed run's half-written ones are removed by the next start
// instead of breaking every later run.
class PreviousResult {
public:
    explicit PreviousResult(const Conversion& conversion);
    ~PreviousResult();
    PreviousResult(const PreviousResult&) = delete;
    PreviousResult& operator=(const PreviousResult&) = delete;

    // The run was stopped: what it wrote is not a result.
    void runWasStopped() { m_stopped = true; }

private:
    QString m_output;
    QString m_kept;
    journal::Entry m_entry = 0;
    bool m_stopped = false;
    QList<journal::Entry> m_scratch;
};

} // namespace morvane
