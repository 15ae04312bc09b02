#pragma once
// Drawing with the DC's pen, in device pixels: its colour and width and, for pens one pixel wide,
// its dash pattern, whose gaps take the background colour in OPAQUE mode. Callers hold GdiLock.
#include "src/gdi32/gdi_surface.h"

#include <windows.h>
#include <span>

namespace moltr::platform {

struct Stroke {
    bool visible = false;
    DWORD value = 0;
    LONG width = 1;
    std::span<const BYTE> dashes; // lengths of dash, gap, dash, ...; empty for a solid line
    bool paintGaps = false;
    DWORD gapValue = 0;
    size_t step = 0; // pixels drawn so far: the pattern runs on across a shape's lines
};

// The stroke of the DC's selected pen; not visible for the null pen or a DC that keeps nothing.
Stroke StrokeOf(const DrawTarget& target);

// Bresenham's line from `from` up to, not including, `to`, as GDI draws it.
void StrokeLine(DrawTarget& target, Stroke& stroke, POINT from, POINT to);
// One point of the line; a wide pen's dot is a square centred on it.
void StrokeDot(DrawTarget& target, const Stroke& stroke, LONG x, LONG y);
// The closed outline through `points`.
void StrokeOutline(DrawTarget& target, Stroke& stroke, std::span<const POINT> points);

} // namespace moltr::platform
