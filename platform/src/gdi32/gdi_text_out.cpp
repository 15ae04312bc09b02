// Drawing text: ExtTextOutW and TextOutW, with the DC's font, colours, background mode and
// alignment, along the font's escapement, at a point, rectangle and widths in logical units.
#include "src/gdi32/gdi_font_faces.h"
#include "src/gdi32/gdi_mapping.h"
#include "src/gdi32/gdi_objects.h"
#include "src/gdi32/gdi_pixels.h"
#include "src/gdi32/gdi_surface.h"

#include <windows.h>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

using namespace moltr::platform;

namespace {

constexpr double kSubpixels = 64.0;
// Far beyond any surface, and small enough to make a LONG of.
constexpr double kFar = 1e9;

LONG PixelOf(double value) {
    return static_cast<LONG>(std::floor(std::clamp(value, -kFar, kFar)));
}

// The baseline's frame on the device: along it, and down from it (towards the descent).
struct Baseline {
    double originX = 0;
    double originY = 0;
    double alongX = 1;
    double alongY = 0;
    double downX = 0;
    double downY = 1;

    double X(double along, double down) const { return originX + along * alongX + down * downX; }
    double Y(double along, double down) const { return originY + along * alongY + down * downY; }
};

struct TextRun {
    std::vector<UINT> codes;
    std::vector<LONG> advances;
    LONG width = 0;
    bool glyphIndex = false;
};

TextRun Layout(const RealisedFont& font, LPCWSTR text, UINT count, UINT options, const INT* dx,
               double scale) {
    TextRun run;
    run.glyphIndex = (options & ETO_GLYPH_INDEX) != 0;
    // With ETO_PDY the widths come in pairs, the second one vertical.
    const UINT step = options & ETO_PDY ? 2 : 1;
    for (UINT i = 0; i < count; ++i) {
        const UINT code = text[i];
        const LONG advance =
            dx ? DeviceLength(scale, dx[i * step]) : font.Advance(code, run.glyphIndex);
        run.codes.push_back(code);
        run.advances.push_back(advance);
        // Widths the caller gives may add up beyond a LONG.
        run.width = static_cast<LONG>(
            std::clamp<int64_t>(int64_t{run.width} + advance, INT32_MIN, INT32_MAX));
    }
    return run;
}

// Where the baseline starts for a reference point and the DC's alignment.
Baseline Place(const RealisedFont& font, POINT reference, UINT align, LONG width) {
    const double angle = font.Escapement() / 10.0 * std::numbers::pi / 180.0;
    Baseline line;
    line.alongX = std::cos(angle);
    line.alongY = -std::sin(angle);
    line.downX = std::sin(angle);
    line.downY = std::cos(angle);
    double along = 0;
    if ((align & TA_CENTER) == TA_CENTER) {
        along = -width / 2.0;
    } else if (align & TA_RIGHT) {
        along = -width;
    }
    double down = font.Metric().tmAscent; // TA_TOP: the reference is the cell's top
    if ((align & TA_BASELINE) == TA_BASELINE) {
        down = 0;
    } else if (align & TA_BOTTOM) {
        down = -font.Metric().tmDescent;
    }
    line.originX = reference.x + along * line.alongX + down * line.downX;
    line.originY = reference.y + along * line.alongY + down * line.downY;
    return line;
}

// Paints the text's cells, turned with the baseline, in the background colour.
void FillCells(DrawTarget& target, const Baseline& line, const TEXTMETRICW& metric, LONG width,
               COLORREF colour) {
    const double ascent = metric.tmAscent;
    const double descent = metric.tmDescent;
    double corners[4][2] = {{line.X(0, -ascent), line.Y(0, -ascent)},
                            {line.X(width, -ascent), line.Y(width, -ascent)},
                            {line.X(0, descent), line.Y(0, descent)},
                            {line.X(width, descent), line.Y(width, descent)}};
    double left = corners[0][0], right = left, top = corners[0][1], bottom = top;
    for (const auto& corner : corners) {
        left = std::min(left, corner[0]);
        right = std::max(right, corner[0]);
        top = std::min(top, corner[1]);
        bottom = std::max(bottom, corner[1]);
    }
    const DWORD value = ValueOf(*target.bitmap, colour);
    const RECT box = {PixelOf(left), PixelOf(top), PixelOf(right) + 1, PixelOf(bottom) + 1};
    ForEachSpan(target, box, [&](LONG from, LONG to, LONG y) {
        for (LONG x = from; x < to; ++x) {
            const double px = x + 0.5 - line.originX;
            const double py = y + 0.5 - line.originY;
            const double along = px * line.alongX + py * line.alongY;
            const double down = px * line.downX + py * line.downY;
            if (along >= 0 && along < width && down >= -ascent && down < descent) {
                WritePixel(*target.bitmap, x, y, value);
            }
        }
    });
}

void DrawGlyph(DrawTarget& target, const GlyphImage& glyph, LONG penX, LONG penY, DWORD ink) {
    // Only the part of the glyph inside the visible area is walked: a glyph of a huge font may be
    // far larger than the surface it lands on.
    const RECT bounds = RegionBounds(target.visible);
    const LONG originX = penX + glyph.left;
    const LONG originY = penY - glyph.top;
    const auto span = [](LONG edge, LONG origin, LONG low, LONG high) {
        return static_cast<LONG>(
            std::clamp<int64_t>(static_cast<int64_t>(edge) - origin, low, high));
    };
    const LONG firstRow = span(bounds.top, originY, 0, glyph.rows);
    const LONG endRow = span(bounds.bottom, originY, firstRow, glyph.rows);
    const LONG firstColumn = span(bounds.left, originX, 0, glyph.width);
    const LONG endColumn = span(bounds.right, originX, firstColumn, glyph.width);
    for (LONG row = firstRow; row < endRow; ++row) {
        const BYTE* bits = glyph.bits.data() + static_cast<size_t>(row) * glyph.pitch;
        for (LONG column = firstColumn; column < endColumn; ++column) {
            const LONG x = originX + column;
            const LONG y = originY + row;
            if ((bits[column / 8] >> (7 - column % 8)) & 1 && Visible(target, x, y)) {
                WritePixel(*target.bitmap, x, y, ink);
            }
        }
    }
}

void DrawRun(DrawTarget& target, const RealisedFont& font, const TextRun& run, const Baseline& line,
             COLORREF colour) {
    const DWORD ink = ValueOf(*target.bitmap, colour);
    double along = 0;
    GlyphImage glyph;
    for (size_t i = 0; i < run.codes.size(); ++i) {
        const double x = line.X(along, 0);
        const double y = line.Y(along, 0);
        const LONG penX = PixelOf(x);
        const LONG penY = PixelOf(y);
        if (font.Render(run.codes[i], run.glyphIndex, std::lround((x - penX) * kSubpixels),
                        std::lround((y - penY) * kSubpixels), glyph)) {
            DrawGlyph(target, glyph, penX, penY, ink);
        }
        along += run.advances[i];
    }
}

} // namespace

extern "C" {

BOOL WINAPI ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCWSTR lpString,
                        UINT c, const INT* lpDx) {
    if (c > 0 && !lpString) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard guard(GdiLock());
    DrawTarget target;
    if (!TargetOf(hdc, target)) {
        return FALSE;
    }
    const std::shared_ptr<const RealisedFont> font = RealisedFontOf(*target.dc);
    if (!font) {
        return FALSE;
    }
    DcState& state = target.dc->state;
    const RECT box = lprect ? ToDeviceRect(state, *lprect) : RECT{};
    if (lprect && (options & ETO_OPAQUE)) {
        FillArea(target, box, state.bkColour);
    }
    if (lprect && (options & ETO_CLIPPED)) {
        target.visible = CombineRects(target.visible, RectRegion(box), RGN_AND);
    }
    const bool current = state.textAlign & TA_UPDATECP;
    const POINT reference = ToDevice(state, current ? state.position : POINT{x, y});
    const TextRun run = Layout(*font, lpString, c, options, lpDx, ScaleX(state));
    const Baseline line = Place(*font, reference, state.textAlign, run.width);
    if (target.bitmap && state.bkMode == OPAQUE && c > 0) {
        FillCells(target, line, font->Metric(), run.width, state.bkColour);
    }
    if (target.bitmap) {
        DrawRun(target, *font, run, line, state.textColour);
    }
    // The current position moves past the text, the way it was aligned.
    if (current && (state.textAlign & TA_CENTER) != TA_CENTER) {
        const LONG sign = state.textAlign & TA_RIGHT ? -1 : 1;
        const POINT end = {PixelOf(reference.x + sign * run.width * line.alongX + 0.5),
                           PixelOf(reference.y + sign * run.width * line.alongY + 0.5)};
        state.position = ToLogical(state, end);
    }
    return TRUE;
}

BOOL WINAPI TextOutW(HDC hdc, int x, int y, LPCWSTR lpString, int c) {
    if (c < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return ExtTextOutW(hdc, x, y, 0, nullptr, lpString, static_cast<UINT>(c), nullptr);
}
}
