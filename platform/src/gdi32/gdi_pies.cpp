// Pie: the part of the ellipse inside a box that runs counter-clockwise from where the first
// radial meets it to where the second one does, filled with the DC's brush and outlined (arc and
// both radii) with its pen. Coinciding radials give the whole ellipse.
#include "src/gdi32/gdi_mapping.h"
#include "src/gdi32/gdi_objects.h"
#include "src/gdi32/gdi_pixels.h"
#include "src/gdi32/gdi_strokes.h"
#include "src/gdi32/gdi_surface.h"

#include <windows.h>
#include <cmath>
#include <numbers>
#include <vector>

using namespace moltr::platform;

namespace {

constexpr double kTurn = 2 * std::numbers::pi;

// The ellipse in device space with the y axis turned upwards, so that angles run
// counter-clockwise on the screen.
struct Wedge {
    double centreX = 0;
    double centreY = 0;
    double radiusX = 0;
    double radiusY = 0;
    double start = 0;
    double sweep = kTurn;

    double AngleOf(double x, double y) const { return std::atan2(centreY - y, x - centreX); }
    bool Holds(double angle) const {
        return sweep >= kTurn || std::fmod(angle - start + 2 * kTurn, kTurn) <= sweep;
    }
    // Where the ray at `angle` leaves an ellipse of these radii less `inset`.
    POINT Edge(double angle, double inset) const {
        const double rx = radiusX - inset;
        const double ry = radiusY - inset;
        const double c = std::cos(angle);
        const double s = std::sin(angle);
        const double length = rx * ry / std::max(std::hypot(ry * c, rx * s), 1e-9);
        return {static_cast<LONG>(std::floor(centreX + c * length)),
                static_cast<LONG>(std::floor(centreY - s * length))};
    }
};

Wedge WedgeOf(const RECT& box, POINT first, POINT second) {
    Wedge wedge;
    wedge.centreX = (box.left + box.right) / 2.0;
    wedge.centreY = (box.top + box.bottom) / 2.0;
    wedge.radiusX = (box.right - box.left) / 2.0;
    wedge.radiusY = (box.bottom - box.top) / 2.0;
    wedge.start = wedge.AngleOf(first.x, first.y);
    const double end = wedge.AngleOf(second.x, second.y);
    if (first.x != second.x || first.y != second.y) {
        wedge.sweep = std::fmod(end - wedge.start + 2 * kTurn, kTurn);
    }
    return wedge;
}

void FillWedge(DrawTarget& target, const RECT& box, const Wedge& wedge, COLORREF colour) {
    const DWORD value = ValueOf(*target.bitmap, colour);
    ForEachSpan(target, box, [&](LONG left, LONG right, LONG y) {
        for (LONG x = left; x < right; ++x) {
            const double dx = (x + 0.5 - wedge.centreX) / wedge.radiusX;
            const double dy = (y + 0.5 - wedge.centreY) / wedge.radiusY;
            if (dx * dx + dy * dy <= 1 && wedge.Holds(wedge.AngleOf(x + 0.5, y + 0.5))) {
                WritePixel(*target.bitmap, x, y, value);
            }
        }
    });
}

// The arc in steps of about a pixel, then the two radii back to the centre.
void OutlineWedge(DrawTarget& target, Stroke& stroke, const Wedge& wedge) {
    const double steps = std::ceil(std::max(wedge.radiusX, wedge.radiusY) * wedge.sweep) + 1;
    std::vector<POINT> points;
    for (double i = 0; i <= steps; ++i) {
        points.push_back(wedge.Edge(wedge.start + wedge.sweep * i / steps, 0.5));
    }
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        StrokeLine(target, stroke, points[i], points[i + 1]);
    }
    if (wedge.sweep < kTurn) {
        const POINT centre = {static_cast<LONG>(std::floor(wedge.centreX)),
                              static_cast<LONG>(std::floor(wedge.centreY))};
        StrokeLine(target, stroke, points.back(), centre);
        StrokeLine(target, stroke, centre, points.front());
    }
    StrokeDot(target, stroke, points.front().x, points.front().y);
}

} // namespace

extern "C" {

BOOL WINAPI Pie(HDC hdc, int left, int top, int right, int bottom, int xr1, int yr1, int xr2,
                int yr2) {
    std::lock_guard guard(GdiLock());
    DrawTarget target;
    if (!TargetOf(hdc, target)) {
        return FALSE;
    }
    const DcState& state = target.dc->state;
    const RECT box = ToDeviceRect(state, {left, top, right, bottom});
    if (!target.bitmap || box.right <= box.left || box.bottom <= box.top) {
        return TRUE;
    }
    POINT first = ToDevice(state, {xr1, yr1});
    POINT second = ToDevice(state, {xr2, yr2});
    // A mapping that turns one axis over turns the direction over too.
    const bool flipsX = (state.viewportExt.cx < 0) != (state.windowExt.cx < 0);
    const bool flipsY = (state.viewportExt.cy < 0) != (state.windowExt.cy < 0);
    if (flipsX != flipsY) {
        std::swap(first, second);
    }
    const Wedge wedge = WedgeOf(box, first, second);
    COLORREF fill = 0;
    if (BrushColour(state.brush, fill)) {
        FillWedge(target, box, wedge, fill);
    }
    Stroke stroke = StrokeOf(target);
    if (stroke.visible) {
        OutlineWedge(target, stroke, wedge);
    }
    return TRUE;
}
}
