#pragma once

#include "platform/prompter.h"

class QWidget;

namespace morvane {

// Shows each prompt as a modal QMessageBox owned by the given window.
class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* owner = nullptr) : m_owner(owner) {}
    void setOwner(QWidget* owner) { m_owner = owner; }

    using Prompter::ask;
    Answer ask(const Prompt& prompt) override;
    bool isAsking(const QObject* target) const override;

private:
    QWidget* m_owner;
    QWidget* m_asking = nullptr; // the box shown now
};

} // namespace morvane
