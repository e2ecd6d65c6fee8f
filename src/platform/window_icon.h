#pragma once
// The picture a window shows as its icon (title bar, task bar, window
// switcher). The show makes it from its embedded resources; the platform
// puts it on its windows.

#include <cstdint>
#include <vector>

struct WindowIcon {
    int width = 0, height = 0;
    std::vector<uint32_t> argb;  // 0xAARRGGBB, rows top to bottom; empty: the system's default icon
};
