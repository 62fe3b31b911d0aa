#pragma once

// Scripted stand-ins for the platform seams: a prompter that answers from a
// queue, a launcher that records its starts, a shell that records what it
// opened and started, and a fixed volume table.

#include "platform/launcher.h"
#include "platform/printers.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "platform/volumes.h"
#include "support/routetabs.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

namespace morvane {

// Test double: records every prompt and answers from a queue; an empty queue
// answers with the prompt's default button.
class ScriptedPrompter : public Prompter {
public:
    using Prompter::ask;
    Answer ask(const Prompt& prompt) override;

    void queueAnswer(Answer answer) { m_answers.append(answer); }
    const QVector<Prompt>& prompts() const { return m_prompts; }
    void clear() {
        m_prompts.clear();
        m_answers.clear();
    }

private:
    QVector<Prompt> m_prompts;
    QVector<Answer> m_answers;
};

// Test double for code that runs converters: records every start and then
// either starts `standIn` (a command line run instead, in the same working
// directory) or, when that is empty, behaves as if nothing could start.
class RecordingLauncher : public Launcher {
public:
    struct Start {
        QString commandLine;
        QString workingDirectory;
        LaunchChannels channels;
    };

    QProcess* start(const QString& commandLine, const QString& workingDirectory, QObject* parent,
                    const LaunchChannels& channels = {}) override;

    QVector<Start> starts;
    QString standIn;
};

// Test double: records calls, answers from settable results.
class RecordingShell : public Shell {
public:
    bool open(const QString& fileOrUrl) override {
        opened.append(fileOrUrl);
        return openResult;
    }
    bool startDetached(const QString& program, const QStringList& arguments) override {
        started.append(QStringList{program} + arguments);
        return startResult;
    }
    QString notepad() const override { return notepadProgram; }

    QStringList opened;
    QList<QStringList> started;
    bool openResult = true;
    bool startResult = true;
    QString notepadProgram = QStringLiteral("/usr/bin/gedit");
};

// A volume table with the given volumes.
class FixedVolumeTable : public VolumeTable {
public:
    explicit FixedVolumeTable(QList<Volume> volumes) : m_volumes(std::move(volumes)) {}
    QList<Volume> volumes() const override { return m_volumes; }

private:
    QList<Volume> m_volumes;
};

// A printer list with the given printers (no print system asked).
class FixedPrinterList : public PrinterList {
public:
    explicit FixedPrinterList(QList<Printer> printers = {}) : list(std::move(printers)) {}
    QList<Printer> printers() override { return list; }

    QList<Printer> list;
};

} // namespace morvane
