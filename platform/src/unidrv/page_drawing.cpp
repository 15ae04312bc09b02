#include "src/unidrv/page_drawing.h"

#include <algorithm>
#include "src/unidrv/job_device.h"

namespace moltr::unidrv {
namespace {

constexpr ULONG kBlack = 0x000000;
constexpr ULONG kRed = 0x0000FF; // 0x00BBGGRR
constexpr ROP4 kPatternCopy = 0xF0F0;
constexpr LONG kGlyphSize = 16;
constexpr DWORD kMarkPositions = 8;

template <typename Function> Function As(PFN function) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(function));
}

FIX Fixed(LONG value) {
    return value << 4;
}

bool Frame(const DdiLookup& lookup, SURFOBJ* surface, const RECTL& box, LONG width) {
    auto stroke = As<PFN_DrvStrokePath>(lookup(INDEX_DrvStrokePath));
    if (!stroke) {
        return false;
    }
    POINTFIX corners[4] = {{Fixed(box.left), Fixed(box.top)},
                           {Fixed(box.right), Fixed(box.top)},
                           {Fixed(box.right), Fixed(box.bottom)},
                           {Fixed(box.left), Fixed(box.bottom)}};
    EnginePath path = {{PO_ALL_INTEGERS, 1}, corners, 4, true};
    BRUSHOBJ brush = {kBlack, nullptr, 0};
    LINEATTRS line = {};
    line.fl = LA_GEOMETRIC;
    line.elWidth.l = width;
    CLIPOBJ clip = {};
    clip.iDComplexity = DC_TRIVIAL;
    return stroke(surface, &path.path, &clip, nullptr, &brush, nullptr, &line, 0) != FALSE;
}

bool Mark(const DdiLookup& lookup, SURFOBJ* surface, RECTL rect, bool colour) {
    auto blit = As<PFN_DrvBitBlt>(lookup(INDEX_DrvBitBlt));
    BRUSHOBJ brush = {colour ? kRed : kBlack, nullptr, 0};
    return blit && blit(surface, nullptr, nullptr, nullptr, nullptr, &rect, nullptr, nullptr,
                        &brush, nullptr, kPatternCopy) != FALSE;
}

// A cross, 16 by 16.
bool Glyph(const DdiLookup& lookup, SURFOBJ* surface, POINTL at) {
    auto textOut = As<PFN_DrvTextOut>(lookup(INDEX_DrvTextOut));
    if (!textOut) {
        return false;
    }
    struct {
        GLYPHBITS bits;
        BYTE more[kGlyphSize * 2];
    } glyph = {};
    glyph.bits.sizlBitmap = {kGlyphSize, kGlyphSize};
    BYTE* rows = glyph.bits.aj;
    for (LONG y = 0; y < kGlyphSize; ++y) {
        for (LONG x : {y, kGlyphSize - 1 - y}) {
            rows[y * 2 + x / 8] = static_cast<BYTE>(rows[y * 2 + x / 8] | (0x80 >> (x % 8)));
        }
    }
    GLYPHDEF definition = {};
    definition.pgb = &glyph.bits;
    GLYPHPOS position = {0, &definition, at};
    WCHAR text[] = L"x";
    STROBJ string = {
        1, SO_HORIZONTAL, 0, {at.x, at.y, at.x + kGlyphSize, at.y + kGlyphSize}, &position, text};
    BRUSHOBJ fore = {kBlack, nullptr, 0};
    return textOut(surface, &string, nullptr, nullptr, nullptr, nullptr, &fore, nullptr, nullptr,
                   0) != FALSE;
}

} // namespace

bool DrawSimplePage(const DdiLookup& lookup, SURFOBJ* surface, const DeviceGeometry& geometry,
                    DWORD page) {
    const LONG inch = geometry.dpiX;
    const LONG margin = inch / 2;
    RECTL box = {margin, margin, geometry.printable.cx - margin, margin + inch};
    if (box.right <= box.left || box.bottom > geometry.printable.cy) {
        box = {0, 0, geometry.printable.cx - 1, geometry.printable.cy - 1};
    }
    const LONG size = std::max<LONG>((box.bottom - box.top) / 4, 1);
    const LONG step = std::max<LONG>((box.right - box.left) / (2 * kMarkPositions), 1);
    const LONG left = box.left + size + static_cast<LONG>(page % kMarkPositions) * step;
    const LONG top = box.top + size;
    RECTL mark = {left, top, left + size, top + size};
    return Frame(lookup, surface, box, std::max<LONG>(inch / 100, 1)) &&
           Mark(lookup, surface, mark, geometry.colour) &&
           Glyph(lookup, surface, {mark.right + size / 2, top});
}

} // namespace moltr::unidrv
