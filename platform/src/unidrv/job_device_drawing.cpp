#include "src/unidrv/job_device_drawing.h"

#include <algorithm>
#include <cstdlib>
#include <vector>
#include "src/unidrv/job_device.h"

namespace moltr::unidrv {
namespace {

constexpr ULONG kWhite = 0x00FFFFFF;
// Glyph images larger than any font draws are taken as damage and skipped.
constexpr LONG kMaxGlyphSide = 1 << 14;
// A path's points beyond this many are ignored: no drawing here makes more.
constexpr ULONG kMaxPathPoints = 1 << 16;

// The raster operations that paint without a source, and what they paint.
enum class Paint { kBrush, kBlack, kWhite, kNothing };

struct SolidRop {
    ROP4 rop4;
    Paint paint;
};

constexpr SolidRop kSolidRops[] = {
    {0xF0F0, Paint::kBrush},   // PATCOPY
    {0x0000, Paint::kBlack},   // BLACKNESS
    {0xFFFF, Paint::kWhite},   // WHITENESS
    {0xAAAA, Paint::kNothing}, // the destination as it is
};

BandSurface* BandOf(SURFOBJ* surface) {
    JobDevice* device = JobDevice::OfSurface(surface);
    return device ? &device->band() : nullptr;
}

// A solid colour to paint with; pattern brushes are painted in black.
ULONG BrushColour(const BRUSHOBJ* brush) {
    return brush && brush->iSolidColor != 0xFFFFFFFF ? brush->iSolidColor & kWhite : 0;
}

RECTL Clipped(RECTL rect, const CLIPOBJ* clip) {
    if (clip && clip->iDComplexity != DC_TRIVIAL) {
        rect.left = std::max(rect.left, clip->rclBounds.left);
        rect.top = std::max(rect.top, clip->rclBounds.top);
        rect.right = std::min(rect.right, clip->rclBounds.right);
        rect.bottom = std::min(rect.bottom, clip->rclBounds.bottom);
    }
    return rect;
}

void Segment(BandSurface& band, const CLIPOBJ* clip, POINTL from, POINTL to, LONG width,
             ULONG colour) {
    const LONG half = width / 2;
    if (from.x == to.x || from.y == to.y) {
        RECTL rect = {std::min(from.x, to.x) - half, std::min(from.y, to.y) - half,
                      std::max(from.x, to.x) - half + width, std::max(from.y, to.y) - half + width};
        band.Fill(Clipped(rect, clip), colour);
        return;
    }
    // Only the steps whose rows reach the band are drawn.
    const LONG steps = std::max(std::labs(to.x - from.x), std::labs(to.y - from.y));
    for (LONG i = 0; i <= steps; ++i) {
        LONG y = from.y + static_cast<LONG>(static_cast<long long>(to.y - from.y) * i / steps);
        if (y + width < 0 || y - width > band.rows()) {
            continue;
        }
        LONG x = from.x + static_cast<LONG>(static_cast<long long>(to.x - from.x) * i / steps);
        band.Fill(Clipped({x - half, y - half, x - half + width, y - half + width}, clip), colour);
    }
}

std::vector<POINTL> PathPoints(const PATHOBJ* path) {
    const auto* engine = reinterpret_cast<const EnginePath*>(path);
    std::vector<POINTL> points;
    for (ULONG i = 0; engine->points && i < std::min(engine->count, kMaxPathPoints); ++i) {
        points.push_back({engine->points[i].x >> 4, engine->points[i].y >> 4});
    }
    return points;
}

// The polygon's inside on band row `y`, by the even-odd rule: where a line through the row's
// middle has crossed an odd number of edges.
void FillRow(BandSurface& band, const CLIPOBJ* clip, const std::vector<POINTL>& points, LONG y,
             ULONG colour) {
    std::vector<double> crossings;
    const double middle = y + 0.5;
    for (size_t i = 0; i < points.size(); ++i) {
        const POINTL a = points[i];
        const POINTL b = points[(i + 1) % points.size()];
        if ((a.y <= middle) != (b.y <= middle)) {
            crossings.push_back(a.x +
                                (middle - a.y) * (b.x - a.x) / static_cast<double>(b.y - a.y));
        }
    }
    std::sort(crossings.begin(), crossings.end());
    for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
        const LONG left = static_cast<LONG>(crossings[i] + 0.5);
        const LONG right = static_cast<LONG>(crossings[i + 1] + 0.5);
        band.Fill(Clipped({left, y, right, y + 1}, clip), colour);
    }
}

// The runs of ink of one glyph row, each filled at once.
void GlyphRow(BandSurface& band, const CLIPOBJ* clip, const BYTE* bits, LONG width, LONG left,
              LONG y, ULONG colour) {
    for (LONG x = 0; x < width;) {
        if (!(bits[x / 8] & (0x80 >> (x % 8)))) {
            ++x;
            continue;
        }
        LONG end = x;
        while (end < width && (bits[end / 8] & (0x80 >> (end % 8)))) {
            ++end;
        }
        band.Fill(Clipped({left + x, y, left + end, y + 1}, clip), colour);
        x = end;
    }
}

void Glyph(BandSurface& band, const CLIPOBJ* clip, const GLYPHPOS& glyph, ULONG colour) {
    const GLYPHBITS* bits = glyph.pgdf ? glyph.pgdf->pgb : nullptr;
    if (!bits || bits->sizlBitmap.cx <= 0 || bits->sizlBitmap.cy <= 0 ||
        bits->sizlBitmap.cx > kMaxGlyphSide || bits->sizlBitmap.cy > kMaxGlyphSide) {
        return;
    }
    const LONG rowBytes = (bits->sizlBitmap.cx + 7) / 8;
    const LONG left = glyph.ptl.x + bits->ptlOrigin.x;
    const LONG top = glyph.ptl.y + bits->ptlOrigin.y;
    // Only the glyph's rows inside the band.
    const LONG first = std::clamp<LONG>(-top, 0, bits->sizlBitmap.cy);
    const LONG end = std::clamp<LONG>(band.rows() - top, first, bits->sizlBitmap.cy);
    for (LONG y = first; y < end; ++y) {
        GlyphRow(band, clip, bits->aj + y * rowBytes, bits->sizlBitmap.cx, left, top + y, colour);
    }
}

} // namespace

// Solid fills of the target rectangle; blits from a source the renderer's pages do not make.
BOOL APIENTRY DriverBitBlt(SURFOBJ* target, SURFOBJ* source, SURFOBJ*, CLIPOBJ* clip, XLATEOBJ*,
                           RECTL* rect, POINTL*, POINTL*, BRUSHOBJ* brush, POINTL*, ROP4 rop4) {
    BandSurface* band = BandOf(target);
    if (!band || !rect || source) {
        return FALSE;
    }
    for (const SolidRop& solid : kSolidRops) {
        if (solid.rop4 != rop4) {
            continue;
        }
        if (solid.paint != Paint::kNothing) {
            ULONG colour = solid.paint == Paint::kBrush   ? BrushColour(brush)
                           : solid.paint == Paint::kBlack ? 0
                                                          : kWhite;
            band->Fill(Clipped(*rect, clip), colour);
        }
        return TRUE;
    }
    return FALSE;
}

BOOL APIENTRY DriverStrokePath(SURFOBJ* surface, PATHOBJ* path, CLIPOBJ* clip, XFORMOBJ*,
                               BRUSHOBJ* brush, POINTL*, LINEATTRS* line, MIX) {
    BandSurface* band = BandOf(surface);
    if (!band || !path) {
        return FALSE;
    }
    // Cosmetic lines too keep their width: the plug-in widens thin ones at high resolutions.
    const LONG width = line ? std::max<LONG>(line->elWidth.l, 1) : 1;
    const ULONG colour = BrushColour(brush);
    const std::vector<POINTL> points = PathPoints(path);
    for (size_t i = 1; i < points.size(); ++i) {
        Segment(*band, clip, points[i - 1], points[i], width, colour);
    }
    if (reinterpret_cast<const EnginePath*>(path)->closed && points.size() > 2) {
        Segment(*band, clip, points.back(), points.front(), width, colour);
    }
    return TRUE;
}

BOOL APIENTRY DriverFillPath(SURFOBJ* surface, PATHOBJ* path, CLIPOBJ* clip, BRUSHOBJ* brush,
                             POINTL*, MIX, FLONG) {
    BandSurface* band = BandOf(surface);
    if (!band || !path) {
        return FALSE;
    }
    const std::vector<POINTL> points = PathPoints(path);
    if (points.size() < 3) {
        return TRUE;
    }
    auto [low, high] = std::minmax_element(points.begin(), points.end(),
                                           [](POINTL a, POINTL b) { return a.y < b.y; });
    const LONG first = std::max<LONG>(low->y, 0);
    const LONG end = std::min<LONG>(high->y, band->rows());
    for (LONG y = first; y < end; ++y) {
        FillRow(*band, clip, points, y, BrushColour(brush));
    }
    return TRUE;
}

BOOL APIENTRY DriverLineTo(SURFOBJ* surface, CLIPOBJ* clip, BRUSHOBJ* brush, LONG x1, LONG y1,
                           LONG x2, LONG y2, RECTL*, MIX) {
    BandSurface* band = BandOf(surface);
    if (!band) {
        return FALSE;
    }
    Segment(*band, clip, {x1, y1}, {x2, y2}, 1, BrushColour(brush));
    return TRUE;
}

// Glyph bitmaps (rows of whole bytes, 1 for ink) in the fore colour over the opaque rectangle.
BOOL APIENTRY DriverTextOut(SURFOBJ* surface, STROBJ* text, FONTOBJ*, CLIPOBJ* clip, RECTL*,
                            RECTL* opaque, BRUSHOBJ* fore, BRUSHOBJ* opaqueBrush, POINTL*, MIX) {
    BandSurface* band = BandOf(surface);
    if (!band || !text) {
        return FALSE;
    }
    if (opaque) {
        band->Fill(Clipped(*opaque, clip), BrushColour(opaqueBrush));
    }
    const ULONG colour = BrushColour(fore);
    for (ULONG g = 0; g < text->cGlyphs && text->pgp; ++g) {
        Glyph(*band, clip, text->pgp[g], colour);
    }
    return TRUE;
}

} // namespace moltr::unidrv
