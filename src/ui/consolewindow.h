#pragma once

#include "platform/launcher.h"

#include <QPointer>
#include <QStringDecoder>
#include <QWidget>

class QPlainTextEdit;
class QPushButton;
class QProcess;

namespace morvane {

// The console of one convert.sh run: a read-only window streaming the
// script's standard output and error while it runs. When the run waits for
// Enter ("pause"), Enter or the Close button sends it; the window closes by
// itself when the process ends.
class ConsoleWindow : public QWidget, public Console {
    Q_OBJECT
public:
    explicit ConsoleWindow(const QString& commandLine, QWidget* parent = nullptr);

    void attach(QProcess* process, bool waitsForEnter) override;
    bool acceptsInput(const QObject* target) const override;
    bool wasStopped() const override { return m_stopped; }

    // Ends the converter's whole process group; the run counts as stopped.
    void stop();

    // The text shown so far.
    QString output() const;
    // Sends the Enter the script waits for (once; nothing when it waits for none).
    void answerPause();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showOutput();
    static bool isEnter(const QEvent* event);

    QPlainTextEdit* m_text = nullptr;
    QPushButton* m_close = nullptr;
    QPushButton* m_stop = nullptr;
    bool m_stopped = false;
    QPointer<QProcess> m_process;
    QStringDecoder m_decoder{QStringDecoder::Utf8};
    bool m_waitsForEnter = false;
    bool m_answered = false;
};

// Makes a console window for every run.
class QtConsoleFactory : public ConsoleFactory {
public:
    Console* create(const QString& commandLine) override;
};

} // namespace morvane
