#include "platform/windowsversion.h"

namespace morvane {

bool isWindows95(const std::optional<WindowsVersion>& v) {
    return v && v->platformId == 1 && v->major == 4 && v->minor == 0;
}

// Windows Me is also taken for 98 here; the PDF set-up asks Me last.
bool isWindows98(const std::optional<WindowsVersion>& v) {
    return v && ((v->major == 4 && v->minor > 0) || (v->platformId == 1 && v->major > 4));
}

bool isWindowsMe(const std::optional<WindowsVersion>& v) {
    return v && v->platformId == 1 && v->major == 4 && v->minor == 90;
}

bool isWindowsNT(const std::optional<WindowsVersion>& v) {
    return v && v->platformId == 2 && v->major == 4;
}

bool isWindows2000(const std::optional<WindowsVersion>& v) {
    return v && v->platformId == 2 && v->major == 5 && v->minor == 0;
}

bool isWindowsXP(const std::optional<WindowsVersion>& v) {
    return v && v->platformId == 2 && v->major == 5 && v->minor == 1;
}

std::optional<WindowsVersion> queryWindowsVersion() {
    return std::nullopt;
}

} // namespace morvane
