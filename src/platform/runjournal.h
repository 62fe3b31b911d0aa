#pragma once

#include <QString>
#include <QStringList>

namespace morvane {

// What a conversion does to names in the user's folders (the links of a
// plain alias, a renamed output folder) and the temporary files it makes,
// written down before it is done, so that a run killed part-way (kill -9,
// a power cut excepted) can be finished or undone by the next start of the
// program. Each process keeps its own journal file in the per-user state
// folder and holds a lock on it while it lives: a journal nobody holds
// belongs to a process that is gone.
//
// Only what a journal names is ever removed or renamed back, and only while
// it is still what the process made (the same file on disk).
namespace journal {

// The folder of the journals: $XDG_STATE_HOME/morvane/journal (by default
// ~/.local/state/morvane/journal).
QString folder();

// Records are numbered; `done` marks one as finished, so that recovery
// leaves it alone. A record that cannot be written returns 0: the caller
// then goes on as before, since the journal only helps after a crash.
using Entry = quint64;

// `link` was made as a second name of the existing file `target` (a hard
// link, so removing it again loses nothing). Written before the link.
Entry recordLink(const QString& link, const QString& target);
// `made` is a file or folder this process has just created.
Entry recordMade(const QString& made);
// `from` (the user's) is about to be renamed to `to`; recovery renames it
// back when `to` is still there and `from` is not.
Entry recordRename(const QString& from, const QString& to);
// Every file of `folder` whose name starts with `prefix` is this run's
// (the prefix was checked to be free there before the run began): what a
// converter wrote under an alias. Recovery removes such files, so that a
// killed run's partial pages never stay beside the complete ones.
Entry recordOwnedPrefix(const QString& folder, const QString& prefix);
// The previous result `path` is about to be moved aside to `kept` while a
// converter writes a new one; recovery puts it back over whatever the
// killed converter left at `path`, so that a page is never half-written.
Entry recordKept(const QString& path, const QString& kept);
// A converter's working file (in Morvane's own output folder) that it reads
// and rewrites; recovery removes it, since one cut short breaks every later
// run and a whole run makes it again.
Entry recordScratch(const QString& path);
// A temporary file about to be created with O_EXCL under a name no one else
// uses; recovery removes it when it is still there.
Entry recordTemporary(const QString& path);
void done(Entry entry);

// Finishes what dead processes left: renames back, removes their links and
// temporaries (only those still theirs), then removes their journals. The
// returned lines say what was restored, for the user; empty when nothing.
QStringList recoverDeadRuns();

} // namespace journal
} // namespace morvane
