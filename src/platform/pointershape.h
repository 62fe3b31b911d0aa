#pragma once

namespace morvane {

enum class PointerShape { Busy, Normal };

// Shows `shape` as the program's mouse pointer for as long as it lives (the
// busy pointer while a fix-up works, the normal one while it asks a
// question). Without a window nothing changes: the window installs the
// handlers that set the pointer.
class PointerOverride {
public:
    explicit PointerOverride(PointerShape shape);
    ~PointerOverride();
    PointerOverride(const PointerOverride&) = delete;
    PointerOverride& operator=(const PointerOverride&) = delete;

    using Push = void (*)(PointerShape shape);
    using Pop = void (*)();
    static void setHandlers(Push push, Pop pop);

private:
    bool m_set = false;
};

} // namespace morvane
