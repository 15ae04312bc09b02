// Lines in the pen's colour, width and style.
#include "src/gdi32/gdi_strokes.h"
#include "src/gdi32/gdi_mapping.h"
#include "src/gdi32/gdi_pixels.h"

#include <cstdlib>

namespace moltr::platform {
namespace {

// The dash patterns of cosmetic pens, in pixels.
constexpr BYTE kDash[] = {18, 6};
constexpr BYTE kDot[] = {3, 3};
constexpr BYTE kDashDot[] = {9, 6, 3, 6};
constexpr BYTE kDashDotDot[] = {9, 3, 3, 3, 3, 3};

struct PenPattern {
    UINT style;
    std::span<const BYTE> dashes;
};
constexpr PenPattern kPatterns[] = {
    {PS_DASH, kDash},
    {PS_DOT, kDot},
    {PS_DASHDOT, kDashDot},
    {PS_DASHDOTDOT, kDashDotDot},
};

std::span<const BYTE> DashesOf(UINT style) {
    for (const PenPattern& pattern : kPatterns) {
        if (pattern.style == style) {
            return pattern.dashes;
        }
    }
    return {};
}

// Whether the pattern's pixel at `step` is a dash (even entries) rather than a gap.
bool OnDash(std::span<const BYTE> dashes, size_t step) {
    size_t period = 0;
    for (BYTE length : dashes) {
        period += length;
    }
    size_t at = step % period;
    for (size_t i = 0; i < dashes.size(); ++i) {
        if (at < dashes[i]) {
            return i % 2 == 0;
        }
        at -= dashes[i];
    }
    return true;
}

void Put(DrawTarget& target, const Stroke& stroke, LONG x, LONG y, DWORD value) {
    const LONG before = (stroke.width - 1) / 2;
    const RECT square = {x - before, y - before, x - before + stroke.width,
                         y - before + stroke.width};
    ForEachSpan(target, square, [&](LONG left, LONG right, LONG row) {
        for (LONG i = left; i < right; ++i) {
            WritePixel(*target.bitmap, i, row, value);
        }
    });
}

} // namespace

Stroke StrokeOf(const DrawTarget& target) {
    Stroke stroke;
    const PenObject* pen = FindPen(target.dc->state.pen);
    if (!target.bitmap || !pen || pen->style == PS_NULL) {
        return stroke;
    }
    stroke.visible = true;
    stroke.value = ValueOf(*target.bitmap, pen->colour);
    // A width of 0 is one pixel whatever the mapping; others are logical units.
    stroke.width = pen->width > 1 ? DeviceLength(ScaleX(target.dc->state), pen->width) : 1;
    // Only one-pixel pens are styled; wider ones draw solid.
    if (stroke.width == 1) {
        stroke.dashes = DashesOf(pen->style);
        stroke.paintGaps = target.dc->state.bkMode == OPAQUE;
        stroke.gapValue = ValueOf(*target.bitmap, target.dc->state.bkColour);
    }
    return stroke;
}

void StrokeDot(DrawTarget& target, const Stroke& stroke, LONG x, LONG y) {
    Put(target, stroke, x, y, stroke.value);
}

void StrokeLine(DrawTarget& target, Stroke& stroke, POINT from, POINT to) {
    const LONG dx = std::abs(to.x - from.x);
    const LONG dy = -std::abs(to.y - from.y);
    const LONG stepX = from.x < to.x ? 1 : -1;
    const LONG stepY = from.y < to.y ? 1 : -1;
    LONG error = dx + dy;
    POINT at = from;
    while (at.x != to.x || at.y != to.y) {
        if (stroke.dashes.empty() || OnDash(stroke.dashes, stroke.step)) {
            Put(target, stroke, at.x, at.y, stroke.value);
        } else if (stroke.paintGaps) {
            Put(target, stroke, at.x, at.y, stroke.gapValue);
        }
        ++stroke.step;
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

void StrokeOutline(DrawTarget& target, Stroke& stroke, std::span<const POINT> points) {
    for (size_t i = 0; i < points.size(); ++i) {
        StrokeLine(target, stroke, points[i], points[(i + 1) % points.size()]);
    }
}

} // namespace moltr::platform
