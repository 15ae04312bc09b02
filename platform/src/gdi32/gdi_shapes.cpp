// Lines and rectangles with the DC's pen and brush, in logical coordinates: LineTo and Rectangle.
#include "src/gdi32/gdi_mapping.h"
#include "src/gdi32/gdi_objects.h"
#include "src/gdi32/gdi_strokes.h"
#include "src/gdi32/gdi_surface.h"

#include <windows.h>

using namespace moltr::platform;

extern "C" {

BOOL WINAPI LineTo(HDC hdc, int x, int y) {
    std::lock_guard guard(GdiLock());
    DrawTarget target;
    if (!TargetOf(hdc, target)) {
        return FALSE;
    }
    DcState& state = target.dc->state;
    Stroke stroke = StrokeOf(target);
    if (stroke.visible) {
        StrokeLine(target, stroke, ToDevice(state, state.position), ToDevice(state, {x, y}));
    }
    state.position = {x, y};
    return TRUE;
}

BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom) {
    std::lock_guard guard(GdiLock());
    DrawTarget target;
    if (!TargetOf(hdc, target)) {
        return FALSE;
    }
    const RECT box = ToDeviceRect(target.dc->state, {left, top, right, bottom});
    COLORREF fill = 0;
    if (BrushColour(target.dc->state.brush, fill)) {
        FillArea(target, box, fill);
    }
    // The frame lies inside the box: its right and bottom edges are one pixel in.
    Stroke stroke = StrokeOf(target);
    if (stroke.visible && box.right > box.left && box.bottom > box.top) {
        const POINT corners[] = {{box.left, box.top},
                                 {box.right - 1, box.top},
                                 {box.right - 1, box.bottom - 1},
                                 {box.left, box.bottom - 1}};
        StrokeOutline(target, stroke, corners);
        StrokeDot(target, stroke, box.left, box.top);
    }
    return TRUE;
}
}
