#pragma once
// What a drawing call draws on: the bitmap selected into a DC and the part of it the DC's clip
// region leaves visible. Callers hold GdiLock.
#include "src/gdi32/gdi_objects.h"
#include "src/gdi32/gdi_region_math.h"

#include <windows.h>
#include <algorithm>

namespace moltr::platform {

struct DrawTarget {
    DcObject* dc = nullptr;
    // Null for a DC that shows nothing the simulation keeps (the screen's): drawing succeeds there
    // and leaves no trace.
    BitmapObject* bitmap = nullptr;
    RectList visible;
};

// False, with ERROR_INVALID_HANDLE, for a handle that is no DC, and with ERROR_NOT_ENOUGH_MEMORY
// when the bitmap's pixels cannot be had.
bool TargetOf(HDC hdc, DrawTarget& target);

// Calls paint(left, right, y) for each visible run of `area`'s pixels, right exclusive.
template <class Paint> void ForEachSpan(const DrawTarget& target, const RECT& area, Paint paint) {
    for (const RECT& piece : target.visible) {
        const LONG top = std::max(piece.top, area.top);
        const LONG bottom = std::min(piece.bottom, area.bottom);
        const LONG left = std::max(piece.left, area.left);
        const LONG right = std::min(piece.right, area.right);
        for (LONG y = top; y < bottom && left < right; ++y) {
            paint(left, right, y);
        }
    }
}

// Whether a point is drawn on.
bool Visible(const DrawTarget& target, LONG x, LONG y);

// The colour of a solid brush; false for the null brush or a handle that is no brush.
bool BrushColour(HBRUSH brush, COLORREF& colour);
// Fills `area` with a colour, clipped.
void FillArea(DrawTarget& target, const RECT& area, COLORREF colour);

} // namespace moltr::platform
