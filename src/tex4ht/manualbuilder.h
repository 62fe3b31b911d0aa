#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <chrono>

namespace morvane {

struct AppContext;

// The TeX4ht "manual": TeX4ht run once on a tiny document with its info
// option, which lists the configurable hooks in the LaTeX log, and that log
// reformatted into tex4htcode.txt in the program directory.

QString manualPath(const QString& programDir);

// The document whose log becomes the manual.
QString manualTestDocument();

// "qvtemp", or the first of "qvtemp0" … "qvtemp8" without a file of that
// name and `extension` in `dir`.
QString freeManualBaseName(const QString& dir, const QString& extension);

// The batch file of Scientific WorkPlace's TeX4ht set-up that names its
// LaTeX: htswps.bat in the htrun-for-SWP folder when that is set,
// otherwise htxx.bat in the TeX4ht folder.
QString swpBatchFile(const QString& tex4htDir, const QString& htrunSwpDir);

// The LaTeX call of that batch file: its line that runs latex_ml, up to and
// including "latex_ml", with the batch file's %swppath% filled in; empty
// when the file is missing or runs no latex_ml. Serves events once per
// line read.
QString swpLatexCall(const QString& batchFile);

// The two commands that produce the log of `base`: SWP's LaTeX and tex4ht
// with SWP's environment file when `swpCall` is set, otherwise latex and
// tex4ht. LaTeX never stops at its "?" prompt.
QStringList manualCommands(const QString& swpCall, const QString& base, const QString& tex4htDir);

// The shell script that runs the commands in turn and stops at the first
// that fails. Every argument is quoted, so nothing in a command is
// evaluated by the shell.
QString manualScript(const QStringList& commands);

// "Tex4ht manual created " and the long date and time.
QString manualHeading(const QDateTime& when);

// The manual's lines from the log of `base`: everything from the first line
// beginning with "******", each opened .4ht file joined with the line after
// it, TeX's closing parentheses, the "\:to" lines and LaTeX's note about the
// missing .aux file of the first run left out. Lines end with "\n".
QString reformatManualLog(const QString& log, const QString& base);

struct ManualBuild {
    bool built = false;
    QString failure; // why nothing was built, for the user
};

// Runs TeX4ht on the test document in a fresh temporary folder, showing its
// output in a console when there is one and serving events while it runs,
// for at most `limit`. Only a run that ended well and left a log with hooks
// replaces the manual; a failed run or one that passes the limit is ended
// with all it started, and the old manual stays as it was.
ManualBuild buildTex4htManual(AppContext& ctx,
                              std::chrono::milliseconds limit = std::chrono::seconds(20));

// Shows the manual in the text editor of the preferences, else in the
// plain-text editor.
void openTex4htManual(AppContext& ctx);

} // namespace morvane
