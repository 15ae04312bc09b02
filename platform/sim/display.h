#pragma once
// The simulated screen (host build only): its resolution in dots per inch, which GetDeviceCaps
// reports as LOGPIXELSX and LOGPIXELSY and from which the system's dialog base units follow.
#include <windows.h>

namespace moltr::sim {

struct DisplayConfig {
    int logPixelsX = 96;
    int logPixelsY = 96;
};

DisplayConfig CurrentDisplay();
// Changes the screen of this process; values below 1 are refused (false).
bool SetDisplay(const DisplayConfig& display);

} // namespace moltr::sim
