// Lines and rectangles with the DC's pen and brush: LineTo and Rectangle.
#include "src/gdi32/gdi_objects.h"
#include "src/gdi32/gdi_pixels.h"
#include "src/gdi32/gdi_surface.h"

#include <windows.h>
#include <cstdlib>

using namespace moltr::platform;

namespace {

struct Stroke {
    bool visible = false;
    DWORD value = 0;
    LONG width = 1;
};

Stroke StrokeOf(const DrawTarget& target) {
    Stroke stroke;
    const PenObject* pen = FindPen(target.dc->state.pen);
    if (!target.bitmap || !pen || pen->style == PS_NULL) {
        return stroke;
    }
    stroke.visible = true;
    stroke.value = ValueOf(*target.bitmap, pen->colour);
    stroke.width = pen->width > 1 ? pen->width : 1;
    return stroke;
}

// A wide pen's dot is a square centred on the point.
void Dot(DrawTarget& target, const Stroke& stroke, LONG x, LONG y) {
    const LONG before = (stroke.width - 1) / 2;
    const RECT square = {x - before, y - before, x - before + stroke.width,
                         y - before + stroke.width};
    ForEachSpan(target, square, [&](LONG left, LONG right, LONG row) {
        for (LONG i = left; i < right; ++i) {
            WritePixel(*target.bitmap, i, row, stroke.value);
        }
    });
}

// Bresenham's line from `from` up to, not including, `to`, as GDI draws it.
void Line(DrawTarget& target, const Stroke& stroke, POINT from, POINT to) {
    const LONG dx = std::abs(to.x - from.x);
    const LONG dy = -std::abs(to.y - from.y);
    const LONG stepX = from.x < to.x ? 1 : -1;
    const LONG stepY = from.y < to.y ? 1 : -1;
    LONG error = dx + dy;
    POINT at = from;
    while (at.x != to.x || at.y != to.y) {
        Dot(target, stroke, at.x, at.y);
        const LONG twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            at.x += stepX;
        }
        if (twice <= dx) {
            error += dx;
            at.y += stepY;
        }
    }
}

} // namespace

extern "C" {

BOOL WINAPI LineTo(HDC hdc, int x, int y) {
    std::lock_guard guard(GdiLock());
    DrawTarget target;
    if (!TargetOf(hdc, target)) {
        return FALSE;
    }
    const Stroke stroke = StrokeOf(target);
    if (stroke.visible) {
        Line(target, stroke, target.dc->state.position, {x, y});
    }
    target.dc->state.position = {x, y};
    return TRUE;
}

BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom) {
    std::lock_guard guard(GdiLock());
    DrawTarget target;
    if (!TargetOf(hdc, target)) {
        return FALSE;
    }
    const RECT box = {std::min(left, right), std::min(top, bottom), std::max(left, right),
                      std::max(top, bottom)};
    COLORREF fill = 0;
    if (BrushColour(target.dc->state.brush, fill)) {
        FillArea(target, box, fill);
    }
    // The frame lies inside the box: its right and bottom edges are one pixel in.
    const Stroke stroke = StrokeOf(target);
    if (stroke.visible && box.right > box.left && box.bottom > box.top) {
        const POINT corners[] = {{box.left, box.top},
                                 {box.right - 1, box.top},
                                 {box.right - 1, box.bottom - 1},
                                 {box.left, box.bottom - 1}};
        for (size_t i = 0; i < 4; ++i) {
            Line(target, stroke, corners[i], corners[(i + 1) % 4]);
        }
        Dot(target, stroke, box.left, box.top);
    }
    return TRUE;
}
}
