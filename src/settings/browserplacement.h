#pragma once

#include <QRect>
#include <optional>

class QSettings;

namespace morvane {

// The built-in browser's placement in the per-user store, group "Browser":
// WindowState (0 normal, 1 minimized, 2 maximized), Left, Top, Height,
// Width in pixels. The four measures are always those of the normal
// window, so a window closed maximized comes back maximized and returns to
// its old place when restored.
struct BrowserPlacement {
    int state = 0;
    QRect normalGeometry;
};

// The stored placement; nothing when an entry is missing or holds no
// usable number (hand-edited or damaged stores give the centred window).
std::optional<BrowserPlacement> readBrowserPlacement(QSettings& store);
void writeBrowserPlacement(QSettings& store, const BrowserPlacement& placement);

} // namespace morvane
