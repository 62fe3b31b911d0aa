#pragma once

#include <QString>

class QUrl;

namespace morvane {

// Debian's MathJax (package libjs-mathjax), which the built-in browser adds
// to local pages with MathML: the engine draws no MathML of its own.
QString mathJaxDirectory();

// Whether a page may load `request` (an image, a script, a frame, a fetch):
// a page opened from a local file reaches no network address and no file
// outside its own folder (and below it), except the shared `scriptDir`.
// Pages from the web are not restricted here.
bool localPageMayLoad(const QUrl& page, const QUrl& request, const QString& scriptDir);

} // namespace morvane
