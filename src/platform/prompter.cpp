#include "platform/prompter.h"

#include <cstdio>

namespace morvane {

Answer firstButton(Buttons buttons) {
    switch (buttons) {
    case Buttons::Ok:
    case Buttons::OkCancel:
        return Answer::Ok;
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
        return Answer::Yes;
    case Buttons::RetryCancel:
        return Answer::Retry;
    }
    return Answer::Ok;
}

void Prompter::tell(const QString& text, const QString& title, Icon icon) {
    ask(Prompt{text, title, Buttons::Ok, icon, Answer::Ok});
}

Answer Prompter::ask(const QString& text, const QString& title, Buttons buttons, Icon icon) {
    return ask(Prompt{text, title, buttons, icon, firstButton(buttons)});
}

Answer Prompter::ask(const QString& text, const QString& title, Buttons buttons, Icon icon,
                     Answer defaultButton) {
    return ask(Prompt{text, title, buttons, icon, defaultButton});
}

Answer DefaultAnswerPrompter::ask(const Prompt& prompt) {
    const QByteArray line = (prompt.title + QStringLiteral(": ") + prompt.text).toUtf8();
    std::fprintf(stderr, "%s\n", line.constData());
    std::fflush(stderr);
    return prompt.defaultButton;
}

} // namespace morvane
