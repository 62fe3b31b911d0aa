#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

class QEvent;

namespace morvane {

// Holds back user input for as long as it lives. Clicks and keys that the
// program itself posts to a window are kept and posted again, in order, when
// the blocker goes away, so nothing is acted on before the converter has
// ended. Input that comes from the window system only reaches the blocker
// when the caller lets it through (a console window must take its Enter);
// for other windows it is dropped. Mouse
// moves, drags and shortcuts are always dropped (they cannot be replayed
// sensibly); a close request reaches the window, whose handler decides (the
// main window asks the Exit question). Objects
// for which `exempt` answers true (the console window) get their input as
// usual.
class InputBlocker : public QObject {
public:
    using Exemption = std::function<bool(const QObject*)>;

    explicit InputBlocker(Exemption exempt = {});
    ~InputBlocker() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Treatment { Pass, Hold, Drop };
    static Treatment treatmentOf(const QEvent* event);

    struct Held {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
    };

    Exemption m_exempt;
    std::vector<Held> m_held;
};

} // namespace morvane
