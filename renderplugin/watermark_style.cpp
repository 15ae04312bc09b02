#include "renderplugin/watermark_style.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace moltr::render {

namespace {

constexpr LONG kFullCircle = 3600;
constexpr LONG kQuarterTurn = 900;
constexpr LONG kHalfTurn = 1800;

BYTE Shaded(BYTE channel, DWORD shade) {
    DWORD s = std::min<DWORD>(shade, 255);
    return static_cast<BYTE>(255 - ((255 - channel) * (255 - s) / 255));
}

} // namespace

bool ReadWatermarkStyle(const SettingsView& settings, WatermarkStyle* style) {
    if (!settings.JobTextTerminated(L"_WMK_FONT", style->font, kWatermarkFontRoom) ||
        !settings.JobTextTerminated(L"_WMK_TEXT", style->text, kWatermarkTextRoom)) {
        return false;
    }
    style->size = settings.Job(L"_WMK_SIZE");
    style->angleMode = settings.Job(L"_WMK_ANGLE");
    style->degree = settings.Job(L"_WMK_DEGREE");
    style->colour = settings.Job(L"_WMK_COLOR");
    style->shade = settings.Job(L"_WMK_SHADE");
    style->style = settings.Job(L"_WMK_STYLE");
    style->firstPageOnly = settings.Job(L"_WMK_1STPAGEONLY") != 0;
    return true;
}

LONG WatermarkEscapement(const WatermarkStyle& style, ULONG width, ULONG height, DWORD nupCount,
                         bool booklet, DWORD pageCount) {
    // Settings are at most 16 bits wide; the modulo keeps any larger value in the circle.
    LONG degrees = static_cast<LONG>(style.degree % kFullCircle) * 10;
    LONG escapement = 0;
    if (style.angleMode == 1) {
        escapement = width != 0 ? static_cast<LONG>(std::atan(static_cast<double>(height) / width) *
                                                    180.0 / std::numbers::pi) *
                                      10
                                : degrees;
    } else if (style.angleMode == 3) {
        escapement = degrees;
    }
    if (nupCount == 2 || nupCount == 6) {
        escapement += kQuarterTurn;
    }
    if (booklet && pageCount % 2 == 1) {
        escapement += kHalfTurn;
    }
    return escapement % kFullCircle;
}

LONG WatermarkFontHeight(DWORD points, ULONG dpi, double scale, ULONG pageSide) {
    int em = MulDiv(static_cast<int>(std::min<DWORD>(points, 0xFFFF)),
                    static_cast<int>(std::min<ULONG>(dpi, 0xFFFF)), 72);
    // No taller than the page's longer side: a taller glyph shows nothing more on the page and
    // would only make GDI rasterise a giant bitmap.
    const double tallest = std::max<double>(std::min<ULONG>(pageSide, 0x7FFF), 1.0);
    double height = -static_cast<double>(em) * scale;
    return static_cast<LONG>(std::clamp(height, -tallest, tallest));
}

POINT WatermarkTextOffset(LONG textHeight, LONG escapement) {
    LONG half = -(textHeight / 2);
    double theta = escapement / 10.0 * std::numbers::pi / 180.0;
    return {static_cast<LONG>(std::sin(theta) * half), static_cast<LONG>(std::cos(theta) * half)};
}

RECT WatermarkTextBounds(POINT centre, SIZE extent, LONG escapement, LONG top, LONG bottom) {
    const double theta = escapement / 10.0 * std::numbers::pi / 180.0;
    const double margin = extent.cy / 2.0 + 4.0;
    const double along = extent.cx / 2.0 + margin;
    const double across = extent.cy / 2.0 + margin;
    // Device rows run downwards: the baseline runs along (cos, -sin), the glyphs stand across it.
    const double ux = std::cos(theta) * along, uy = -std::sin(theta) * along;
    const double vx = std::sin(theta) * across, vy = std::cos(theta) * across;
    const double cx = centre.x, cy = centre.y;
    const double corners[4][2] = {{cx + ux + vx, cy + uy + vy},
                                  {cx + ux - vx, cy + uy - vy},
                                  {cx - ux - vx, cy - uy - vy},
                                  {cx - ux + vx, cy - uy + vy}};
    // The turned box's part within the rows: its corners there, and where its sides cross the
    // rows' first and last lines. A slanted text crosses a band in a short run of columns.
    double left = HUGE_VAL, right = -HUGE_VAL, high = HUGE_VAL, low = -HUGE_VAL;
    const auto take = [&](double x, double y) {
        left = std::min(left, x);
        right = std::max(right, x);
        high = std::min(high, y);
        low = std::max(low, y);
    };
    for (int i = 0; i < 4; ++i) {
        const double* p = corners[i];
        const double* q = corners[(i + 1) % 4];
        if (p[1] >= top && p[1] <= bottom) {
            take(p[0], p[1]);
        }
        for (const double line : {static_cast<double>(top), static_cast<double>(bottom)}) {
            if ((p[1] - line) * (q[1] - line) < 0) {
                take(p[0] + (line - p[1]) * (q[0] - p[0]) / (q[1] - p[1]), line);
            }
        }
    }
    if (left > right) {
        return {};
    }
    // Sines and cosines of right angles are not exact zeros.
    constexpr double kSlack = 1e-6;
    const auto floorOf = [](double v) { return static_cast<LONG>(std::floor(v + kSlack)); };
    const auto ceilOf = [](double v) { return static_cast<LONG>(std::ceil(v - kSlack)); };
    return {floorOf(left), floorOf(high), ceilOf(right), ceilOf(low)};
}

COLORREF WatermarkTextColour(COLORREF colour, DWORD shade) {
    BYTE red = GetRValue(colour);
    BYTE green = GetGValue(colour);
    BYTE blue = GetBValue(colour);
    if (red == green && green == blue) {
        red = green = blue = 0;
    }
    return RGB(Shaded(red, shade) | 0x0F, Shaded(green, shade) | 0x0F, Shaded(blue, shade) | 0x0F);
}

} // namespace moltr::render
