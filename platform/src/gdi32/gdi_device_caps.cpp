// The simulated screen's resolution and GetDeviceCaps.
#include "src/gdi32/gdi_objects.h"
#include "sim/display.h"

#include <windows.h>

namespace moltr::sim {
namespace {

struct Display {
    std::mutex lock;
    DisplayConfig config;
};

Display& TheDisplay() {
    static Display display;
    return display;
}

} // namespace

DisplayConfig CurrentDisplay() {
    std::lock_guard guard(TheDisplay().lock);
    return TheDisplay().config;
}

bool SetDisplay(const DisplayConfig& display) {
    if (display.logPixelsX < 1 || display.logPixelsY < 1) {
        return false;
    }
    std::lock_guard guard(TheDisplay().lock);
    TheDisplay().config = display;
    return true;
}

} // namespace moltr::sim

extern "C" int WINAPI GetDeviceCaps(HDC hdc, int index) {
    {
        std::lock_guard guard(moltr::platform::GdiLock());
        if (!moltr::platform::FindDc(hdc)) {
            SetLastError(ERROR_INVALID_HANDLE);
            return 0;
        }
    }
    // Every DC here is the screen or compatible with it; the simulation knows its resolution only.
    switch (index) {
    case LOGPIXELSX:
        return moltr::sim::CurrentDisplay().logPixelsX;
    case LOGPIXELSY:
        return moltr::sim::CurrentDisplay().logPixelsY;
    default:
        return 0;
    }
}
