#pragma once

#include <QString>

namespace morvane {

// What is wrong with an editor entry of More Preferences, as the message
// that blocks OK says it; empty when the entry can be used. An empty entry
// (use the default editor), an executable file and a program name found on
// PATH can be used.
QString editorProblem(const QString& entry);

} // namespace morvane
