// Regions and clipping: CreateRectRgn, CombineRgn, GetRgnBox, PtInRegion, SelectClipRgn,
// IntersectClipRect, ExcludeClipRect and GetClipBox. Regions are in device pixels; the clip
// rectangle calls and GetClipBox speak logical coordinates.
#include "src/gdi32/gdi_mapping.h"
#include "src/gdi32/gdi_objects.h"
#include "src/gdi32/gdi_region_math.h"

#include <windows.h>

using namespace moltr::platform;

namespace {

RECT Ordered(int left, int top, int right, int bottom) {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right),
            std::max(top, bottom)};
}

// Narrows the DC's clip region by `rect` with `mode`; the kind of region left, or ERROR.
int ClipWith(HDC hdc, const RECT& rect, int mode) {
    std::lock_guard guard(GdiLock());
    DcObject* dc = FindDc(hdc);
    if (!dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return ERROR;
    }
    // A DC without a clip region is clipped to its surface only: everything, for these.
    const RECT everything = {INT32_MIN / 2, INT32_MIN / 2, INT32_MAX / 2, INT32_MAX / 2};
    const RectList current = dc->state.clip ? *dc->state.clip : RectRegion(everything);
    dc->state.clip = CombineRects(current, RectRegion(ToDeviceRect(dc->state, rect)), mode);
    return RegionKind(*dc->state.clip);
}

} // namespace

extern "C" {

HRGN WINAPI CreateRectRgn(int x1, int y1, int x2, int y2) {
    auto region = std::make_shared<RegionObject>();
    region->rects = RectRegion(Ordered(x1, y1, x2, y2));
    std::lock_guard guard(GdiLock());
    const HRGN handle = InsertRegion(std::move(region));
    if (!handle) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
    return handle;
}

HRGN WINAPI CreateRectRgnIndirect(const RECT* lprect) {
    if (!lprect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateRectRgn(lprect->left, lprect->top, lprect->right, lprect->bottom);
}

int WINAPI CombineRgn(HRGN hrgnDst, HRGN hrgnSrc1, HRGN hrgnSrc2, int iMode) {
    std::lock_guard guard(GdiLock());
    RegionObject* target = FindRegion(hrgnDst);
    const RegionObject* first = FindRegion(hrgnSrc1);
    const RegionObject* second = iMode == RGN_COPY ? first : FindRegion(hrgnSrc2);
    if (iMode < RGN_MIN || iMode > RGN_MAX || !target || !first || !second) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR;
    }
    target->rects = CombineRects(first->rects, second->rects, iMode);
    return RegionKind(target->rects);
}

int WINAPI GetRgnBox(HRGN hrgn, LPRECT lprc) {
    std::lock_guard guard(GdiLock());
    const RegionObject* region = FindRegion(hrgn);
    if (!region || !lprc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR;
    }
    *lprc = RegionBounds(region->rects);
    return RegionKind(region->rects);
}

BOOL WINAPI PtInRegion(HRGN hrgn, int x, int y) {
    std::lock_guard guard(GdiLock());
    const RegionObject* region = FindRegion(hrgn);
    return region && RegionHolds(region->rects, x, y);
}

int WINAPI SelectClipRgn(HDC hdc, HRGN hrgn) {
    std::lock_guard guard(GdiLock());
    DcObject* dc = FindDc(hdc);
    const RegionObject* region = hrgn ? FindRegion(hrgn) : nullptr;
    if (!dc || (hrgn && !region)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return ERROR;
    }
    // The DC keeps a copy; a null region clips to the surface again.
    if (!region) {
        dc->state.clip.reset();
        return SIMPLEREGION;
    }
    dc->state.clip = region->rects;
    return RegionKind(region->rects);
}

int WINAPI IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
    return ClipWith(hdc, Ordered(left, top, right, bottom), RGN_AND);
}

int WINAPI ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
    return ClipWith(hdc, Ordered(left, top, right, bottom), RGN_DIFF);
}

int WINAPI GetClipBox(HDC hdc, LPRECT lprect) {
    std::lock_guard guard(GdiLock());
    const DcObject* dc = FindDc(hdc);
    if (!dc || !lprect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR;
    }
    const BitmapObject* bitmap = dc->memory ? FindBitmap(dc->bitmap) : nullptr;
    const RectList surface =
        RectRegion({0, 0, bitmap ? bitmap->width : 0, bitmap ? bitmap->height : 0});
    const RectList visible =
        dc->state.clip ? CombineRects(surface, *dc->state.clip, RGN_AND) : surface;
    *lprect = ToLogicalRect(dc->state, RegionBounds(visible));
    return RegionKind(visible);
}
}
