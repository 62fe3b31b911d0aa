#pragma once

#include <QObject>
#include <QString>
#include <QVector>

namespace morvane {

// Every message box and question of the program goes through a Prompter, so
// that tests can script the answers and batch mode can run without a window.
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Answer { Ok, Cancel, Yes, No, Retry };

struct Prompt {
    QString text;
    QString title;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    // The button that Enter (and batch mode) chooses; the first button when unset.
    Answer defaultButton = Answer::Ok;

    bool operator==(const Prompt&) const = default;
};

// The first button of a button set: the default when a question names none.
Answer firstButton(Buttons buttons);

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual Answer ask(const Prompt& prompt) = 0;
    // True when `target` belongs to the question shown now, so that a wait
    // that keeps input from the window still lets it be answered (the Exit
    // question asked while a conversion runs).
    virtual bool isAsking(const QObject* target) const {
        Q_UNUSED(target);
        return false;
    }

    // A message with an OK button only.
    void tell(const QString& text, const QString& title, Icon icon);
    Answer ask(const QString& text, const QString& title, Buttons buttons, Icon icon);
    Answer ask(const QString& text, const QString& title, Buttons buttons, Icon icon,
               Answer defaultButton);
};

// Answers every question with its default button and writes each message to
// standard error as its title, a colon and its text (batch mode).
class DefaultAnswerPrompter : public Prompter {
public:
    using Prompter::ask;
    Answer ask(const Prompt& prompt) override;
};

} // namespace morvane
