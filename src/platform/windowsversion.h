#pragma once

#include <optional>

namespace morvane {

// The version record the PDF tool-chain set-up asks about: major, minor,
// build and platform (1 the 95/98/Me family, 2 the NT family).
struct WindowsVersion {
    int major = 0;
    int minor = 0;
    int build = 0;
    int platformId = 0;
};

// Each test answers false when there is no record (on Linux the query
// always fails).
bool isWindows95(const std::optional<WindowsVersion>& v);
bool isWindows98(const std::optional<WindowsVersion>& v);
bool isWindowsMe(const std::optional<WindowsVersion>& v);
bool isWindowsNT(const std::optional<WindowsVersion>& v);
bool isWindows2000(const std::optional<WindowsVersion>& v);
bool isWindowsXP(const std::optional<WindowsVersion>& v);

// The running system's record: none on Linux.
std::optional<WindowsVersion> queryWindowsVersion();

} // namespace morvane
