#pragma once

#include "platform/launcher.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QRect>
#include <QStringDecoder>
#include <QTimer>
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QProcess;

namespace morvane {

// Where a console of `size` opens: beside the main window (`owner`, its
// frame), to the right when the screen has room there, else to the left,
// else below it, else in the screen's bottom right corner; never over the
// main window's buttons while there is any other room.
QPoint consolePosition(const QRect& owner, const QSize& size, const QRect& screen);

// The elapsed-time label's text: "Elapsed time 1:05".
QString elapsedText(qint64 milliseconds);

// The quiet label's text once the converter has written nothing for
// `quietMs` (at least `afterMs`): "No output for 75 s"; empty before.
QString quietText(qint64 quietMs, qint64 afterMs);

// The console of one convert.sh run: a read-only window streaming the
// script's standard output and error while it runs. When the run waits for
// Enter ("pause"), Enter or the Close button sends it; the window closes by
// itself when the process ends.
class ConsoleWindow : public QWidget, public Console {
    Q_OBJECT
public:
    explicit ConsoleWindow(const QString& commandLine, QWidget* owner = nullptr);

    void attach(QProcess* process, bool waitsForEnter) override;
    void describe(const QString& title) override { setWindowTitle(title); }
    void showMessages(const QByteArray& bytes) override;
    bool acceptsInput(const QObject* target) const override;
    bool wasStopped() const override { return m_stopped; }

    // Ends the converter's whole process group; the run counts as stopped.
    void stop();

    // How long the converter may write nothing before the console says so
    // (a minute; it is only told, never ended for it).
    void setQuietAfter(int milliseconds) { m_quietAfterMs = milliseconds; }

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
    void appendText(QString text);
    void showElapsed();
    void placeBesideOwner();
    static bool isEscape(const QEvent* event);
    static bool isEnter(const QEvent* event);

    QPointer<QWidget> m_owner;
    QLabel* m_elapsed = nullptr;
    QLabel* m_quiet = nullptr;
    QTimer m_clock;
    QElapsedTimer m_started;
    QElapsedTimer m_lastOutput;
    int m_quietAfterMs = 60 * 1000;

    QPlainTextEdit* m_text = nullptr;
    QPushButton* m_close = nullptr;
    QPushButton* m_stop = nullptr;
    bool m_stopped = false;
    QPointer<QProcess> m_process;
    QStringDecoder m_decoder{QStringDecoder::Utf8};
    // The log's bytes are a stream of their own: a character split between
    // two looks at the log is joined here, not with the script's output.
    QStringDecoder m_logDecoder{QStringDecoder::Utf8};
    bool m_waitsForEnter = false;
    bool m_answered = false;
};

// Makes a console window for every run.
class QtConsoleFactory : public ConsoleFactory {
public:
    Console* create(const QString& commandLine) override;
    // The main window, beside which the consoles open.
    void setOwner(QWidget* owner) { m_owner = owner; }

private:
    QPointer<QWidget> m_owner;
};

} // namespace morvane
