#include "support/doubles.h"

#include <QProcess>

namespace morvane {

Answer ScriptedPrompter::ask(const Prompt& prompt) {
    m_prompts.append(prompt);
    if (m_answers.isEmpty())
        return prompt.defaultButton;
    return m_answers.takeFirst();
}

QProcess* RecordingLauncher::start(const QString& commandLine, const QString& workingDirectory,
                                   QObject* parent, const LaunchChannels& channels) {
    starts.append({commandLine, workingDirectory, channels});
    if (standIn.isEmpty())
        return nullptr;
    return QProcessLauncher().start(standIn, workingDirectory, parent, channels);
}

} // namespace morvane
