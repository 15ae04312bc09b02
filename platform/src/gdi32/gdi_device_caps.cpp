// The simulated screen's resolution and colour depth, and GetDeviceCaps.
#include "src/gdi32/gdi_objects.h"
#include "sim/display.h"

#include <windows.h>
#include <algorithm>
#include <iterator>

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
    constexpr int kDepths[] = {1, 4, 8, 16, 24, 32};
    if (display.logPixelsX < 1 || display.logPixelsY < 1 ||
        std::find(std::begin(kDepths), std::end(kDepths), display.bitsPixel) == std::end(kDepths)) {
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
    // Every DC here is the screen or compatible with it, and a memory DC answers for the screen
    // whatever bitmap it holds.
    switch (index) {
    case LOGPIXELSX:
        return moltr::sim::CurrentDisplay().logPixelsX;
    case LOGPIXELSY:
        return moltr::sim::CurrentDisplay().logPixelsY;
    case BITSPIXEL:
        return moltr::sim::CurrentDisplay().bitsPixel;
    case PLANES:
        return 1;
    default:
        return 0;
    }
}
