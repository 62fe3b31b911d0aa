#pragma once

#include "platform/privatefile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace morvane {

// Stand-ins for programs the TeX4ht scripts start, put first in the
// converter's PATH for one run (Conversion::standInPrograms).
//
// The TeX programs: htlatex and ht run LaTeX in TeX's default mode, which
// stops at the first error (with its input closed, "Emergency stop"), and
// stop themselves at the first command that fails, so one error lost the
// whole page. A stand-in runs the program of its own name found further
// along PATH in non-stop mode and counts a run that ended with errors
// (status 1) as done, so that tex4ht and t4ht still make a page of the rest.
// The log keeps every error for the verdict.
//
// rungs: TeX4ht turns every EPS picture into a web image with TeX Live's
// "run Ghostscript", which some systems (Debian) lack; the stand-in runs the
// real rungs when there is one, else Ghostscript itself.
class Tex4htStandIns {
public:
    // Makes a private folder holding one stand-in per name of
    // `tex4htStandInNames`; folder() is empty when that failed (the programs
    // then run as the converter starts them).
    Tex4htStandIns();
    QString folder() const { return m_ready ? m_dir.path() : QString(); }

private:
    PrivateFolder m_dir;
    bool m_ready = false;
};

// The programs that get a stand-in: the TeX programs the TeX4ht scripts
// start (htlatex, ht, httex, make4ht with each engine), then rungs.
const QStringList& tex4htStandInNames();

// The text of the stand-in for `name`, a /bin/sh script.
QByteArray tex4htStandInScript(const QString& name);

} // namespace morvane
