#pragma once

#include "fixups/htmlfixups.h"

#include <QDialog>
#include <memory>

namespace Ui {
class ChangeLinkDialog;
}

namespace morvane {

// The "Change Link Filename" question: a message, the all-box and Yes/No.
class ChangeLinkDialog : public QDialog {
    Q_OBJECT
public:
    explicit ChangeLinkDialog(QWidget* parent = nullptr);
    ~ChangeLinkDialog() override;

    void setMessage(const QString& text);

    // The link-answer state the user chose: 1 yes, 2 no, 3 yes to all, 4 no
    // to all. Closing the window without a button counts as No.
    int answer() const { return m_answer; }

private:
    void choose(bool yes);

    std::unique_ptr<Ui::ChangeLinkDialog> m_ui;
    int m_answer = 2;
};

// Asks the link question with the dialog, modally over `parent`.
class DialogLinkQuestion : public LinkQuestion {
public:
    explicit DialogLinkQuestion(QWidget* parent = nullptr) : m_parent(parent) {}
    int ask(const QString& text) override;

private:
    QWidget* m_parent;
};

} // namespace morvane
