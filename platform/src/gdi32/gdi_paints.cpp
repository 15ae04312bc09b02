// Brushes and pens: CreateSolidBrush, CreatePen and CreatePenIndirect.
#include "src/gdi32/gdi_objects.h"

#include <windows.h>

using namespace moltr::platform;

extern "C" {

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
    auto brush = std::make_shared<BrushObject>();
    brush->colour = color & 0x00FFFFFF;
    std::lock_guard guard(GdiLock());
    const HBRUSH handle = InsertBrush(std::move(brush));
    if (!handle) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
    return handle;
}

HPEN WINAPI CreatePen(int iStyle, int cWidth, COLORREF color) {
    const UINT style = static_cast<UINT>(iStyle) & PS_STYLE_MASK;
    if (style > PS_INSIDEFRAME || cWidth < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto pen = std::make_shared<PenObject>();
    pen->style = style;
    pen->width = cWidth;
    pen->colour = color & 0x00FFFFFF;
    std::lock_guard guard(GdiLock());
    const HPEN handle = InsertPen(std::move(pen));
    if (!handle) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
    return handle;
}

HPEN WINAPI CreatePenIndirect(const LOGPEN* plpen) {
    if (!plpen) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreatePen(static_cast<int>(plpen->lopnStyle), plpen->lopnWidth.x, plpen->lopnColor);
}
}
