#include "ui/consolewindow.h"

#include "platform/processgroup.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWindow>

namespace morvane {

namespace {
// Enough for any converter's chatter without letting a runaway loop eat memory.
constexpr int kMaxLines = 50000;
constexpr int kGap = 8;
} // namespace

QPoint consolePosition(const QRect& owner, const QSize& size, const QRect& screen) {
    const int top = qBound(screen.top(), owner.top(), screen.bottom() - size.height() + 1);
    if (owner.right() + kGap + size.width() <= screen.right() + 1)
        return {owner.right() + 1 + kGap, top};
    if (owner.left() - kGap - size.width() >= screen.left())
        return {owner.left() - kGap - size.width(), top};
    const int left = qBound(screen.left(), owner.left(), screen.right() - size.width() + 1);
    if (owner.bottom() + kGap + size.height() <= screen.bottom() + 1)
        return {left, owner.bottom() + 1 + kGap};
    return {screen.right() + 1 - size.width(), screen.bottom() + 1 - size.height()};
}

QString elapsedText(qint64 milliseconds) {
    const qint64 seconds = milliseconds / 1000;
    return QStringLiteral("Elapsed time %1:%2")
        .arg(seconds / 60)
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString quietText(qint64 quietMs, qint64 afterMs) {
    if (quietMs < afterMs)
        return QString();
    return QStringLiteral("No output for %1 s").arg(quietMs / 1000);
}

ConsoleWindow::ConsoleWindow(const QString& commandLine, QWidget* owner)
    : QWidget(nullptr), m_owner(owner) {
    setObjectName(QStringLiteral("frmConsole"));
    setWindowTitle(commandLine);

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("txtConsole"));
    m_text->setReadOnly(true);
    m_text->setMaximumBlockCount(kMaxLines);
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_text->installEventFilter(this);

    m_close = new QPushButton(tr("Close"), this);
    m_close->setObjectName(QStringLiteral("cmdClose"));
    m_close->setVisible(false);
    connect(m_close, &QPushButton::clicked, this, &ConsoleWindow::answerPause);

    m_stop = new QPushButton(tr("&Stop"), this);
    m_stop->setObjectName(QStringLiteral("cmdStop"));
    connect(m_stop, &QPushButton::clicked, this, &ConsoleWindow::stop);

    m_elapsed = new QLabel(elapsedText(0), this);
    m_elapsed->setObjectName(QStringLiteral("lblElapsed"));
    // A converter caught in a loop often writes nothing; one that works hard
    // on a big picture may be as quiet. The label tells, the time limit ends.
    m_quiet = new QLabel(this);
    m_quiet->setObjectName(QStringLiteral("lblQuiet"));
    m_clock.setInterval(1000);
    connect(&m_clock, &QTimer::timeout, this, &ConsoleWindow::showElapsed);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_elapsed);
    buttons->addSpacing(2 * kGap);
    buttons->addWidget(m_quiet);
    buttons->addStretch();
    buttons->addWidget(m_stop);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addLayout(buttons);
    resize(720, 420);
}

void ConsoleWindow::attach(QProcess* process, bool waitsForEnter) {
    m_process = process;
    m_waitsForEnter = waitsForEnter;
    m_close->setVisible(waitsForEnter);
    connect(process, &QProcess::readyReadStandardOutput, this, &ConsoleWindow::showOutput);
    connect(process, &QProcess::readyReadStandardError, this, &ConsoleWindow::showOutput);
    connect(process, &QProcess::finished, this, [this] {
        m_clock.stop();
        showOutput();
        close();
    });
    m_started.start();
    m_lastOutput.start();
    m_clock.start();
    placeBesideOwner();
    show();
    if (waitsForEnter)
        m_close->setFocus();
    showOutput();
}

void ConsoleWindow::showElapsed() {
    m_elapsed->setText(elapsedText(m_started.elapsed()));
    m_quiet->setText(quietText(m_lastOutput.elapsed(), m_quietAfterMs));
}

void ConsoleWindow::placeBesideOwner() {
    if (!m_owner || !m_owner->isVisible())
        return;
    const QScreen* screen =
        m_owner->screen() ? m_owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // Before the window is shown the window manager has not framed it yet:
    // the title bar and borders it will add are counted as the owner's are,
    // so that the whole console (its Stop button too) lands on the screen.
    QSize size = frameGeometry().size();
    if (size == geometry().size())
        size += m_owner->frameGeometry().size() - m_owner->geometry().size();
    const QPoint frameTopLeft =
        consolePosition(m_owner->frameGeometry(), size, screen->availableGeometry());
    move(frameTopLeft);
}

void ConsoleWindow::stop() {
    if (!m_process || m_process->state() == QProcess::NotRunning)
        return;
    m_stopped = true;
    m_stop->setEnabled(false);
    stopProcessGroup(*m_process);
}

bool ConsoleWindow::acceptsInput(const QObject* target) const {
    if (const auto* widget = qobject_cast<const QWidget*>(target))
        return widget->window() == this;
    return target && target == windowHandle();
}

QString ConsoleWindow::output() const {
    return m_text->toPlainText();
}

void ConsoleWindow::answerPause() {
    if (!m_waitsForEnter || m_answered || !m_process)
        return;
    m_answered = true;
    m_close->setEnabled(false);
    m_process->write("\n");
    m_process->closeWriteChannel();
}

void ConsoleWindow::showOutput() {
    if (!m_process)
        return;
    const QByteArray bytes = readAllOutput(m_process);
    if (!bytes.isEmpty())
        appendText(m_decoder.decode(bytes));
}

void ConsoleWindow::showMessages(const QByteArray& bytes) {
    if (!bytes.isEmpty())
        appendText(m_logDecoder.decode(bytes));
}

void ConsoleWindow::appendText(QString text) {
    m_lastOutput.restart();
    m_quiet->clear();
    text.remove(QLatin1Char('\r'));
    QScrollBar* bar = m_text->verticalScrollBar();
    const bool following = bar->value() == bar->maximum();
    QTextCursor end(m_text->document());
    end.movePosition(QTextCursor::End);
    end.insertText(text);
    if (following)
        bar->setValue(bar->maximum());
}

bool ConsoleWindow::isEnter(const QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Esc stops a converter that still works, as the Stop button does.
bool ConsoleWindow::isEscape(const QEvent* event) {
    return event->type() == QEvent::KeyPress &&
           static_cast<const QKeyEvent*>(event)->key() == Qt::Key_Escape;
}

bool ConsoleWindow::eventFilter(QObject* watched, QEvent* event) {
    // The read-only text keeps the focus for scrolling; Enter still answers
    // and Esc still stops.
    if (watched == m_text && isEnter(event) && m_waitsForEnter) {
        answerPause();
        return true;
    }
    if (watched == m_text && isEscape(event) && m_stop->isEnabled()) {
        stop();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void ConsoleWindow::keyPressEvent(QKeyEvent* event) {
    if (isEnter(event) && m_waitsForEnter) {
        answerPause();
        return;
    }
    if (isEscape(event) && m_stop->isEnabled()) {
        stop();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ConsoleWindow::closeEvent(QCloseEvent* event) {
    // Closing the window while the script waits for Enter answers it: no
    // window would be left to do so and the conversion would never end.
    // Closing it while the converter still works stops the converter.
    if (m_process && m_process->state() != QProcess::NotRunning) {
        if (m_waitsForEnter)
            answerPause(); // the Stop button still ends a converter that works
        else
            stop();
    }
    event->accept();
}

Console* QtConsoleFactory::create(const QString& commandLine) {
    return new ConsoleWindow(commandLine, m_owner);
}

} // namespace morvane
