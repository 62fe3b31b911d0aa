#include "ui/windowmover.h"

#include "pipeline/appcontext.h"
#include "settings/windowsteps.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QWidget>

namespace morvane {

namespace {

class WindowMover : public QObject {
public:
    WindowMover(AppContext& ctx, QObject* parent) : QObject(parent), m_ctx(ctx) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        QWidget* window = static_cast<QWidget*>(watched)->window();
        return moveWindowByKeyboard(window, key->key(), key->modifiers(),
                                    m_ctx.settings.vars.scrollFraction);
    }

private:
    AppContext& m_ctx;
};

} // namespace

bool windowsCanBePlaced() {
    return !QGuiApplication::platformName().startsWith(QStringLiteral("wayland"));
}

bool moveWindowByKeyboard(QWidget* window, int key, Qt::KeyboardModifiers modifiers,
                          double scrollFraction) {
    if (!window)
        return false;
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return false;
    const QSize size = screen->geometry().size();
    const WindowSteps steps = stepSizes(size.width(), size.height(), scrollFraction);
    const QPoint offset = keyboardMoveOffset(key, modifiers, steps);
    // A zero fraction gives no offset, but the key is still the mover's.
    if (keyboardMoveOffset(key, modifiers, {1, 1}).isNull())
        return false;
    if (windowsCanBePlaced() && !offset.isNull())
        window->move(window->pos() + offset);
    return true;
}

void installWindowMover(AppContext& ctx) {
    qApp->installEventFilter(new WindowMover(ctx, qApp));
}

} // namespace morvane
