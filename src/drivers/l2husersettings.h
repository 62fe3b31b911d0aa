#pragma once

// The init-file editor's work on the user's part of LaTeX2HTML's init file:
// the syntax check of its lines and the log of saved experiments,
// "Settings.txt" in the program directory.

#include <QDateTime>
#include <QString>

namespace morvane {

class Prompter;

// Checks every non-empty line: a setting starts with "$" and ends with ";",
// a comment starts with "#". Each fault is shown; OK goes on to the next,
// Cancel ends the check. True when every message was answered with OK.
bool checkUserSettingsSyntax(Prompter& prompter, const QString& userText);

// The entry "Settings.txt" gets for one save of the user's part.
QString savedSettingsEntry(const QString& userText, const QDateTime& when);

// Appends that entry to the log at `path` (created when missing), replacing
// the file atomically; false (with `error`) when it cannot be written.
bool appendSavedSettings(const QString& path, const QString& userText, const QDateTime& when,
                         QString* error = nullptr);

} // namespace morvane
