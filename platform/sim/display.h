#pragma once
// The simulated screen (host build only): its resolution in dots per inch, which GetDeviceCaps
// reports as LOGPIXELSX and LOGPIXELSY and from which the system's dialog base units follow, and
// its colour depth (BITSPIXEL, one plane).
#include <windows.h>

namespace moltr::sim {

struct DisplayConfig {
    int logPixelsX = 96;
    int logPixelsY = 96;
    int bitsPixel = 32; // 1, 4, 8, 16, 24 or 32
};

DisplayConfig CurrentDisplay();
// Changes the screen of this process; resolutions below 1 and other depths are refused (false).
bool SetDisplay(const DisplayConfig& display);

} // namespace moltr::sim
