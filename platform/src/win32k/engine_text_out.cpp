// EngTextOut: the engine draws a string into a bitmap surface for a driver. Each glyph is the
// STROBJ's own glyph image when it carries one, else the glyph index drawn by the FONTOBJ's font
// (the engine's realised font, which the engine as the font's producer keeps in pvProducer).
// The opaque rectangle is painted first, then the glyphs and the extra rectangles in the fore
// brush's colour, all within the clip's bounds and the surface.
#include "src/gdi32/gdi_font_faces.h"

#include <windows.h>
#include <winddi.h>
#include <algorithm>
#include <cstddef>

using namespace moltr::platform;

namespace {

constexpr ULONG kNonSolid = 0xFFFFFFFF;
// Extra rectangles end with an all-zero one; no string has more than this.
constexpr size_t kMaxExtraRects = 64;

// A bitmap surface the engine can draw on, and what a drawing may touch.
struct Canvas {
    BYTE* scan0 = nullptr;
    LONG delta = 0;
    ULONG format = 0;
    RECTL bounds{};

    void Put(LONG x, LONG y, ULONG colour) const {
        if (x < bounds.left || x >= bounds.right || y < bounds.top || y >= bounds.bottom) {
            return;
        }
        BYTE* row = scan0 + static_cast<ptrdiff_t>(y) * delta;
        switch (format) {
        case BMF_1BPP: {
            const BYTE bit = static_cast<BYTE>(0x80 >> (x % 8));
            row[x / 8] = static_cast<BYTE>(colour & 1 ? row[x / 8] | bit : row[x / 8] & ~bit);
            break;
        }
        case BMF_8BPP:
            row[x] = static_cast<BYTE>(colour);
            break;
        default: // 24 and 32 bits: blue, green, red in memory, from 0x00BBGGRR
            BYTE* pixel = row + static_cast<ptrdiff_t>(x) * (format == BMF_24BPP ? 3 : 4);
            pixel[0] = static_cast<BYTE>(colour >> 16);
            pixel[1] = static_cast<BYTE>(colour >> 8);
            pixel[2] = static_cast<BYTE>(colour);
            break;
        }
    }

    void Fill(const RECTL& rect, ULONG colour) const {
        const LONG top = std::max(rect.top, bounds.top);
        const LONG bottom = std::min(rect.bottom, bounds.bottom);
        const LONG left = std::max(rect.left, bounds.left);
        const LONG right = std::min(rect.right, bounds.right);
        for (LONG y = top; y < bottom; ++y) {
            for (LONG x = left; x < right; ++x) {
                Put(x, y, colour);
            }
        }
    }
};

bool Drawable(ULONG format) {
    return format == BMF_1BPP || format == BMF_8BPP || format == BMF_24BPP || format == BMF_32BPP;
}

// The surface's pixels within the clip; false for a surface the engine cannot draw on.
bool CanvasOf(const SURFOBJ& surface, const CLIPOBJ* clip, Canvas& canvas) {
    if (surface.iType != STYPE_BITMAP || !surface.pvScan0 || !Drawable(surface.iBitmapFormat) ||
        surface.sizlBitmap.cx <= 0 || surface.sizlBitmap.cy <= 0) {
        return false;
    }
    canvas.scan0 = static_cast<BYTE*>(surface.pvScan0);
    canvas.delta = surface.lDelta;
    canvas.format = surface.iBitmapFormat;
    canvas.bounds = {0, 0, surface.sizlBitmap.cx, surface.sizlBitmap.cy};
    // A complex clip is kept to its bounds: the engine's callers here clip to rectangles.
    if (clip && clip->iDComplexity != DC_TRIVIAL) {
        canvas.bounds.left = std::max(canvas.bounds.left, clip->rclBounds.left);
        canvas.bounds.top = std::max(canvas.bounds.top, clip->rclBounds.top);
        canvas.bounds.right = std::min(canvas.bounds.right, clip->rclBounds.right);
        canvas.bounds.bottom = std::min(canvas.bounds.bottom, clip->rclBounds.bottom);
    }
    return true;
}

// Ink (1 bits, rows padded to bytes) with its top-left corner at (`left`, `top`).
void DrawInk(const Canvas& canvas, const BYTE* bits, LONG width, LONG rows, LONG pitch, LONG left,
             LONG top, ULONG colour) {
    for (LONG row = 0; row < rows; ++row) {
        const BYTE* line = bits + static_cast<ptrdiff_t>(row) * pitch;
        for (LONG column = 0; column < width; ++column) {
            if ((line[column / 8] >> (7 - column % 8)) & 1) {
                canvas.Put(left + column, top + row, colour);
            }
        }
    }
}

// Glyph images far larger than any font draws are taken as damage and skipped.
constexpr LONG kMaxGlyphSide = 1 << 14;

void DrawGlyph(const Canvas& canvas, const GLYPHPOS& position, const RealisedFont* font,
               ULONG colour) {
    const GLYPHBITS* bits = position.pgdf ? position.pgdf->pgb : nullptr;
    if (bits) {
        const SIZEL size = bits->sizlBitmap;
        if (size.cx > 0 && size.cy > 0 && size.cx <= kMaxGlyphSide && size.cy <= kMaxGlyphSide) {
            DrawInk(canvas, bits->aj, size.cx, size.cy, (size.cx + 7) / 8,
                    position.ptl.x + bits->ptlOrigin.x, position.ptl.y + bits->ptlOrigin.y, colour);
        }
        return;
    }
    GlyphImage image;
    if (font && font->Render(position.hg, true, 0, 0, image)) {
        DrawInk(canvas, image.bits.data(), image.width, image.rows, image.pitch,
                position.ptl.x + image.left, position.ptl.y - image.top, colour);
    }
}

bool Empty(const RECTL& rect) {
    return rect.left == 0 && rect.top == 0 && rect.right == 0 && rect.bottom == 0;
}

ULONG SolidColour(const BRUSHOBJ* brush) {
    return brush && brush->iSolidColor != kNonSolid ? brush->iSolidColor : 0;
}

} // namespace

extern "C" {

BOOL APIENTRY EngTextOut(SURFOBJ* pso, STROBJ* pstro, FONTOBJ* pfo, CLIPOBJ* pco, RECTL* prclExtra,
                         RECTL* prclOpaque, BRUSHOBJ* pboFore, BRUSHOBJ* pboOpaque, POINTL*, MIX) {
    Canvas canvas;
    if (!pso || !pstro || !CanvasOf(*pso, pco, canvas)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (prclOpaque) {
        canvas.Fill(*prclOpaque, SolidColour(pboOpaque));
    }
    const ULONG colour = SolidColour(pboFore);
    const auto* font = pfo ? static_cast<const RealisedFont*>(pfo->pvProducer) : nullptr;
    for (ULONG g = 0; pstro->pgp && g < pstro->cGlyphs; ++g) {
        DrawGlyph(canvas, pstro->pgp[g], font, colour);
    }
    for (size_t i = 0; prclExtra && i < kMaxExtraRects && !Empty(prclExtra[i]); ++i) {
        canvas.Fill(prclExtra[i], colour);
    }
    return TRUE;
}
}
