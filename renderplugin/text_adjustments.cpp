#include "renderplugin/text_adjustments.h"

namespace moltr::render {

namespace {

constexpr ULONG kNonSolid = 0xFFFFFFFF;
constexpr ULONG kColourMask = 0x00FFFFFF;
constexpr ULONG kWhite = 0x00FFFFFF;
constexpr ROP4 kDestinationUnchanged = 0xAAAA;
// DrvTextOut's extra rectangles end with an empty one; no string has more than this.
constexpr size_t kMaxExtraRects = 64;

// A record of `brush` with `colour`, kept in the state for the length of the call.
BRUSHOBJ* Record(RenderState& state, const BRUSHOBJ& brush, ULONG colour) {
    if (state.brushRecordsUsed >= kBrushRecords) {
        return nullptr;
    }
    BRUSHOBJ& record = state.brushRecords[state.brushRecordsUsed++];
    record = brush;
    record.iSolidColor = colour;
    return &record;
}

// Replaces a solid `brush` by a record when its colour changes; true when it did.
bool Recolour(RenderState& state, BRUSHOBJ*& brush, bool blacken) {
    if (brush == nullptr || brush->iSolidColor == kNonSolid) {
        return false;
    }
    ULONG colour = brush->iSolidColor & kColourMask;
    if (blacken && colour != 0 && colour != kWhite) {
        colour = 0;
    }
    if (colour == brush->iSolidColor) {
        return false;
    }
    BRUSHOBJ* record = Record(state, *brush, colour);
    if (record != nullptr) {
        brush = record;
    }
    return record != nullptr;
}

bool Empty(const RECTL& rect) {
    return rect.left == 0 && rect.top == 0 && rect.right == 0 && rect.bottom == 0;
}

// Tells the driver, without drawing, which band area the engine's text covers.
BOOL TouchArea(const RenderState& state, SURFOBJ* surface, CLIPOBJ* clip, RECTL* rect) {
    auto blit = DriverEntry<PFN_DrvBitBlt>(state, Ddi::BitBlt);
    return blit != nullptr && blit(surface, nullptr, nullptr, clip, nullptr, rect, nullptr, nullptr,
                                   nullptr, nullptr, kDestinationUnchanged);
}

BOOL TouchTextAreas(RenderState& state, SURFOBJ* surface, STROBJ* text, CLIPOBJ* clip, RECTL* extra,
                    RECTL* opaque) {
    state.inTextBlits = true;
    BOOL ok = TRUE;
    if (text != nullptr) {
        ok = TouchArea(state, surface, clip, &text->rclBkGround) && ok;
    }
    if (opaque != nullptr) {
        ok = TouchArea(state, surface, clip, opaque) && ok;
    }
    for (size_t i = 0; extra != nullptr && i < kMaxExtraRects && !Empty(extra[i]); ++i) {
        ok = TouchArea(state, surface, clip, &extra[i]) && ok;
    }
    state.inTextBlits = false;
    return ok;
}

} // namespace

BOOL AdjustedTextOut(RenderState& state, SURFOBJ* surface, STROBJ* text, FONTOBJ* font,
                     CLIPOBJ* clip, RECTL* extra, RECTL* opaque, BRUSHOBJ* fore,
                     BRUSHOBJ* opaqueBrush, POINTL* origin, MIX mix) {
    auto own = DriverEntry<PFN_DrvTextOut>(state, Ddi::TextOut);
    auto byDriver = [&]() -> BOOL {
        return own != nullptr &&
               own(surface, text, font, clip, extra, opaque, fore, opaqueBrush, origin, mix);
    };
    state.brushRecordsUsed = 0;
    if (state.inTextBlits) {
        return byDriver();
    }
    if ((state.deviceFlags & kDeviceRasterMode) == 0) {
        if (state.printTextBlack && fore != nullptr) {
            BRUSHOBJ* black = Record(state, *fore, 0);
            fore = black != nullptr ? black : fore;
        }
        return byDriver();
    }
    bool foreChanged = Recolour(state, fore, state.printTextBlack);
    bool opaqueChanged = Recolour(state, opaqueBrush, false);
    // Windows 2000 draws every raster string with the engine, changed or not.
    if (!foreChanged && !opaqueChanged && !state.windows2000) {
        return byDriver();
    }
    BOOL touched = TouchTextAreas(state, surface, text, clip, extra, opaque);
    return EngineTextOut(surface, text, font, clip, extra, opaque, fore, opaqueBrush, origin,
                         mix) &&
           touched;
}

} // namespace moltr::render
