#pragma once

#include "pipeline/route.h"

#include <QByteArray>
#include <QString>

namespace morvane {

struct AppContext;
struct Conversion;

// Converters build shell commands from the document's name: tth runs
// makeindex through system() on its -L name, t4ht runs its image commands
// on the DVI file's name, latex2html quotes paths with double quotes (where
// "$(...)" and backquotes still run). HeVeA and TeX cannot read every name
// either (HeVeA gives up on non-ASCII letters and turns "~" into a blank;
// TeX stops at "%", "#" or "$"). A document whose name is more than ASCII
// letters, digits, "_", "+", "-" and "." (or starts with "-" or ".") is
// therefore converted under a plain alias: a hard link (or copy) with a name
// of its own in the same folder, whose outputs are renamed back afterwards.

// True when the base name (without its extension) needs an alias.
bool needsSafeAlias(const QString& baseName);

// The page text with every `alias` replaced by the real base name as a link
// target spells it (percent-encoded), or the log text with the real name as
// it is.
QByteArray withRealName(const QByteArray& text, const QByteArray& alias, const QString& base,
                        bool page);

// Runs the route's driver on `source`, under an alias when the name needs
// one. The result's files, and the route's remembered log, carry the real
// names.
ConversionResult runUnderSafeAlias(Conversion& conversion);

} // namespace morvane
