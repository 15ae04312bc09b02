// Mapping modes: SetMapMode, the window and viewport extents and origins, LPtoDP and DPtoLP.
#include "src/gdi32/gdi_mapping.h"
#include "sim/display.h"

#include <windows.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace moltr::platform {
namespace {

// Rounds half away from zero, as the system rounds mapped coordinates.
LONG Round(double value) {
    return static_cast<LONG>(std::lround(value));
}

double Map(LONG value, LONG fromOrigin, LONG fromExtent, LONG toExtent, LONG toOrigin) {
    return static_cast<double>(value - fromOrigin) * toExtent / fromExtent + toOrigin;
}

} // namespace

POINT ToDevice(const DcState& state, POINT logical) {
    return {Round(Map(logical.x, state.windowOrg.x, state.windowExt.cx, state.viewportExt.cx,
                      state.viewportOrg.x)),
            Round(Map(logical.y, state.windowOrg.y, state.windowExt.cy, state.viewportExt.cy,
                      state.viewportOrg.y))};
}

POINT ToLogical(const DcState& state, POINT device) {
    return {Round(Map(device.x, state.viewportOrg.x, state.viewportExt.cx, state.windowExt.cx,
                      state.windowOrg.x)),
            Round(Map(device.y, state.viewportOrg.y, state.viewportExt.cy, state.windowExt.cy,
                      state.windowOrg.y))};
}

namespace {

template <class Mapper> RECT MapRect(const RECT& rect, Mapper map) {
    const POINT a = map(POINT{rect.left, rect.top});
    const POINT b = map(POINT{rect.right, rect.bottom});
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

} // namespace

RECT ToDeviceRect(const DcState& state, const RECT& logical) {
    return MapRect(logical, [&](POINT p) { return ToDevice(state, p); });
}

RECT ToLogicalRect(const DcState& state, const RECT& device) {
    return MapRect(device, [&](POINT p) { return ToLogical(state, p); });
}

double ScaleX(const DcState& state) {
    return std::fabs(static_cast<double>(state.viewportExt.cx) / state.windowExt.cx);
}

double ScaleY(const DcState& state) {
    return std::fabs(static_cast<double>(state.viewportExt.cy) / state.windowExt.cy);
}

LONG DeviceLength(double scale, LONG logical) {
    const LONG length = Round(logical * scale);
    if (length == 0 && logical != 0) {
        return logical > 0 ? 1 : -1;
    }
    return length;
}

} // namespace moltr::platform

using namespace moltr::platform;

namespace {

// Logical units per inch of the fixed modes: 0.1 mm, 0.01 mm, 0.01 inch, 0.001 inch, 1/1440 inch.
struct FixedMode {
    int mode;
    LONG unitsPerInch;
};
constexpr FixedMode kFixedModes[] = {
    {MM_LOMETRIC, 254},   {MM_HIMETRIC, 2540}, {MM_LOENGLISH, 100},
    {MM_HIENGLISH, 1000}, {MM_TWIPS, 1440},
};

// The fixed modes' extents: so many units an inch, y growing upwards.
// The units an inch a mode starts with; 0 for MM_TEXT and MM_ANISOTROPIC, which keeps the extents
// it finds. MM_ISOTROPIC starts from the metric units, already the same along both axes.
LONG FixedUnits(int mode) {
    for (const FixedMode& fixed : kFixedModes) {
        if (fixed.mode == mode) {
            return fixed.unitsPerInch;
        }
    }
    return mode == MM_ISOTROPIC ? kFixedModes[0].unitsPerInch : 0;
}

void SetFixedExtents(DcState& state, LONG unitsPerInch) {
    const moltr::sim::DisplayConfig display = moltr::sim::CurrentDisplay();
    state.windowExt = {unitsPerInch, unitsPerInch};
    state.viewportExt = {display.logPixelsX, -display.logPixelsY};
}

// In MM_ISOTROPIC a logical unit is as long on the screen along y as along x: the viewport extent
// of the axis whose units would be longer shrinks, keeping its sign.
void MakeIsotropic(DcState& state) {
    const moltr::sim::DisplayConfig display = moltr::sim::CurrentDisplay();
    const double xSize = ScaleX(state) / display.logPixelsX;
    const double ySize = ScaleY(state) / display.logPixelsY;
    if (xSize == 0 || ySize == 0) {
        return;
    }
    auto shrink = [](LONG& extent, double factor) {
        const LONG sign = extent < 0 ? -1 : 1;
        extent =
            std::max<LONG>(1, static_cast<LONG>(std::lround(std::abs(extent) * factor))) * sign;
    };
    if (xSize > ySize) {
        shrink(state.viewportExt.cx, ySize / xSize);
    } else if (ySize > xSize) {
        shrink(state.viewportExt.cy, xSize / ySize);
    }
}

bool Scalable(int mode) {
    return mode == MM_ISOTROPIC || mode == MM_ANISOTROPIC;
}

// Runs `change` on the DC's state under the lock; FALSE with ERROR_INVALID_HANDLE for no DC.
template <class Change> BOOL WithState(HDC hdc, Change change) {
    std::lock_guard guard(GdiLock());
    DcObject* dc = FindDc(hdc);
    if (!dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return change(dc->state);
}

template <class T> void Report(T* out, const T& value) {
    if (out) {
        *out = value;
    }
}

// Sets one of the two extents; ignored (but answered TRUE) outside the scalable modes.
BOOL SetExtent(HDC hdc, int x, int y, LPSIZE previous, SIZE DcState::*extent) {
    if (x == 0 || y == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return WithState(hdc, [&](DcState& state) {
        Report(previous, state.*extent);
        if (!Scalable(state.mapMode)) {
            return TRUE;
        }
        state.*extent = {x, y};
        if (state.mapMode == MM_ISOTROPIC) {
            MakeIsotropic(state);
        }
        return TRUE;
    });
}

BOOL SetOrigin(HDC hdc, int x, int y, LPPOINT previous, POINT DcState::*origin) {
    return WithState(hdc, [&](DcState& state) {
        Report(previous, state.*origin);
        state.*origin = {x, y};
        return TRUE;
    });
}

template <class T> BOOL GetPart(HDC hdc, T* out, T DcState::*part) {
    if (!out) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return WithState(hdc, [&](DcState& state) {
        *out = state.*part;
        return TRUE;
    });
}

template <class Mapper> BOOL MapPoints(HDC hdc, LPPOINT points, int count, Mapper map) {
    if (count < 0 || (count > 0 && !points)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return WithState(hdc, [&](DcState& state) {
        for (int i = 0; i < count; ++i) {
            points[i] = map(state, points[i]);
        }
        return TRUE;
    });
}

} // namespace

extern "C" {

int WINAPI SetMapMode(HDC hdc, int iMode) {
    if (iMode < MM_MIN || iMode > MM_MAX) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int previous = 0;
    WithState(hdc, [&](DcState& state) {
        previous = state.mapMode;
        state.mapMode = iMode;
        if (iMode == MM_TEXT) {
            state.windowExt = {1, 1};
            state.viewportExt = {1, 1};
        } else if (const LONG units = FixedUnits(iMode)) {
            SetFixedExtents(state, units);
        }
        return TRUE;
    });
    return previous;
}

int WINAPI GetMapMode(HDC hdc) {
    int mode = 0;
    WithState(hdc, [&](DcState& state) {
        mode = state.mapMode;
        return TRUE;
    });
    return mode;
}

BOOL WINAPI SetWindowExtEx(HDC hdc, int x, int y, LPSIZE lpsz) {
    return SetExtent(hdc, x, y, lpsz, &DcState::windowExt);
}

BOOL WINAPI SetViewportExtEx(HDC hdc, int x, int y, LPSIZE lpsz) {
    return SetExtent(hdc, x, y, lpsz, &DcState::viewportExt);
}

BOOL WINAPI GetWindowExtEx(HDC hdc, LPSIZE lpsize) {
    return GetPart(hdc, lpsize, &DcState::windowExt);
}

BOOL WINAPI GetViewportExtEx(HDC hdc, LPSIZE lpsize) {
    return GetPart(hdc, lpsize, &DcState::viewportExt);
}

BOOL WINAPI SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
    return SetOrigin(hdc, x, y, lppt, &DcState::windowOrg);
}

BOOL WINAPI SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
    return SetOrigin(hdc, x, y, lppt, &DcState::viewportOrg);
}

BOOL WINAPI GetWindowOrgEx(HDC hdc, LPPOINT lppoint) {
    return GetPart(hdc, lppoint, &DcState::windowOrg);
}

BOOL WINAPI GetViewportOrgEx(HDC hdc, LPPOINT lppoint) {
    return GetPart(hdc, lppoint, &DcState::viewportOrg);
}

BOOL WINAPI LPtoDP(HDC hdc, LPPOINT lppt, int c) {
    return MapPoints(hdc, lppt, c, ToDevice);
}

BOOL WINAPI DPtoLP(HDC hdc, LPPOINT lppt, int c) {
    return MapPoints(hdc, lppt, c, ToLogical);
}
}
