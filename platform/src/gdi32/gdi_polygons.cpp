// Polygon: the outline with the DC's pen, the inside with its brush by the alternate rule (the
// default fill mode: a point is inside when a ray from it crosses the outline an odd number of
// times).
#include "src/gdi32/gdi_mapping.h"
#include "src/gdi32/gdi_objects.h"
#include "src/gdi32/gdi_pixels.h"
#include "src/gdi32/gdi_strokes.h"
#include "src/gdi32/gdi_surface.h"

#include <windows.h>
#include <algorithm>
#include <cmath>
#include <span>
#include <vector>

using namespace moltr::platform;

namespace {

// Where the outline crosses the row through pixel centres at `y`, left to right.
std::vector<double> Crossings(std::span<const POINT> points, double y) {
    std::vector<double> crossings;
    for (size_t i = 0; i < points.size(); ++i) {
        const POINT a = points[i];
        const POINT b = points[(i + 1) % points.size()];
        // Each edge holds its upper end and not its lower one, so a vertex counts once.
        if ((a.y <= y && y < b.y) || (b.y <= y && y < a.y)) {
            crossings.push_back(a.x + (y - a.y) * (b.x - a.x) / static_cast<double>(b.y - a.y));
        }
    }
    std::sort(crossings.begin(), crossings.end());
    return crossings;
}

// Fills the pixels whose centres lie inside.
void FillInside(DrawTarget& target, std::span<const POINT> points, COLORREF colour) {
    LONG top = points[0].y, bottom = points[0].y;
    for (const POINT& p : points) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    const DWORD value = ValueOf(*target.bitmap, colour);
    for (LONG y = top; y < bottom; ++y) {
        const std::vector<double> crossings = Crossings(points, y + 0.5);
        for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
            const RECT run = {static_cast<LONG>(std::ceil(crossings[i] - 0.5)), y,
                              static_cast<LONG>(std::ceil(crossings[i + 1] - 0.5)), y + 1};
            ForEachSpan(target, run, [&](LONG left, LONG right, LONG row) {
                for (LONG x = left; x < right; ++x) {
                    WritePixel(*target.bitmap, x, row, value);
                }
            });
        }
    }
}

} // namespace

extern "C" {

BOOL WINAPI Polygon(HDC hdc, const POINT* apt, int cpt) {
    if (!apt || cpt < 2) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard guard(GdiLock());
    DrawTarget target;
    if (!TargetOf(hdc, target)) {
        return FALSE;
    }
    if (!target.bitmap) {
        return TRUE;
    }
    std::vector<POINT> points;
    for (int i = 0; i < cpt; ++i) {
        points.push_back(ToDevice(target.dc->state, apt[i]));
    }
    COLORREF fill = 0;
    if (BrushColour(target.dc->state.brush, fill)) {
        FillInside(target, points, fill);
    }
    Stroke stroke = StrokeOf(target);
    if (stroke.visible) {
        StrokeOutline(target, stroke, points);
    }
    return TRUE;
}
}
