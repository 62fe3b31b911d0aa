#pragma once

#include <QString>

namespace morvane {

struct AppContext;
struct Conversion;

// Runs a composed command line (split into program and arguments, never
// through a shell) in `workingDirectory` and returns when the process has
// ended. Single mode blocks user input; multiple mode (chkMulti) tracks the
// process in lstProcesses and keeps serving events, so a further Convert
// runs nested inside the wait. The process's output goes to a console from
// the seams' consoles (discarded when there is none); nothing runs when
// the launcher seam is unset or the process cannot start, and neither is reported.
// `messagesLog`: the log the converter appends its messages to, which the
// console follows and shows while the run lasts (convert.sh writes them
// there alone).
void runCommand(Conversion& conversion, const QString& commandLine, const QString& workingDirectory,
                const QString& messagesLog = {});

// The console's title for a conversion: "Converting paper.tex with HeVeA",
// or the title of the step about to run (Conversion::stepTitle).
QString consoleTitle(const Conversion& conversion);

// Explains multiple mode when chkMulti is ticked (silent while its tag reads
// "no message").
void chkMulti_Click(AppContext& ctx);

} // namespace morvane
