// The drawing target of a DC.
#include "src/gdi32/gdi_surface.h"
#include "src/gdi32/gdi_pixels.h"

namespace moltr::platform {

bool TargetOf(HDC hdc, DrawTarget& target) {
    target.dc = FindDc(hdc);
    if (!target.dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    target.bitmap = target.dc->memory ? FindBitmap(target.dc->bitmap) : nullptr;
    if (!target.bitmap) {
        return true;
    }
    if (!EnsurePixels(*target.bitmap)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    const RectList whole = RectRegion({0, 0, target.bitmap->width, target.bitmap->height});
    target.visible =
        target.dc->state.clip ? CombineRects(whole, *target.dc->state.clip, RGN_AND) : whole;
    return true;
}

bool Visible(const DrawTarget& target, LONG x, LONG y) {
    return target.bitmap && RegionHolds(target.visible, x, y);
}

bool BrushColour(HBRUSH brush, COLORREF& colour) {
    const BrushObject* object = FindBrush(brush);
    if (!object || object->style == BS_NULL) {
        return false;
    }
    colour = object->colour;
    return true;
}

void FillArea(DrawTarget& target, const RECT& area, COLORREF colour) {
    if (!target.bitmap) {
        return;
    }
    const DWORD value = ValueOf(*target.bitmap, colour);
    ForEachSpan(target, area, [&](LONG left, LONG right, LONG y) {
        for (LONG x = left; x < right; ++x) {
            WritePixel(*target.bitmap, x, y, value);
        }
    });
}

} // namespace moltr::platform
