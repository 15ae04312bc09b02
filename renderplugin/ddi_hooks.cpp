#include "renderplugin/ddi_hooks.h"

#include <tuple>
#include "renderplugin/band_stamping.h"
#include "renderplugin/cosmetic_lines.h"
#include "renderplugin/edge_markers.h"
#include "renderplugin/page_progress.h"
#include "renderplugin/render_state.h"
#include "renderplugin/text_adjustments.h"

namespace moltr::render {

namespace {

// The position of each hooked function among the "before" entries of the hooks.
enum class Before : size_t {
    AlphaBlend,
    BitBlt,
    CopyBits,
    EndDoc,
    FillPath,
    GradientFill,
    GetGlyphMode,
    LineTo,
    NextBand,
    Paint,
    PlgBlt,
    RealizeBrush,
    SendPage,
    StartBanding,
    StartDoc,
    StartPage,
    StretchBlt,
    StretchBltROP,
    StrokeAndFillPath,
    StrokePath,
    TextOut,
    TransparentBlt,
    None,
};

// Function pointers change type through this one, which converts to and from any other.
using GenericFunction = void (*)();

// Offers the call to the "before" entry `before`, which may change the arguments; true when the
// entry ended the call with an answer of its own.
template <Before before, typename... Arguments>
bool EntryAnswered(RenderState& state, Arguments&... arguments) {
    BeforeHook entry =
        state.hooks != nullptr ? state.hooks->before[static_cast<size_t>(before)] : nullptr;
    if (entry == nullptr) {
        return false;
    }
    std::tuple<Arguments&...> view(arguments...);
    return !Declined(entry(state, &view));
}

// Calls the driver's entry point `slot` of type `Function` after the "before" entry `before`.
template <typename Function, Ddi slot, Before before, typename Result, typename... Arguments>
Result Forward(RenderState* state, Arguments... arguments) {
    if (state == nullptr) {
        return Result(FALSE);
    }
    if constexpr (before != Before::None) {
        if (EntryAnswered<before>(*state, arguments...)) {
            return Result(TRUE);
        }
    }
    auto own = DriverEntry<Function>(*state, slot);
    return own != nullptr ? own(arguments...) : Result(FALSE);
}

bool IsPatternCopy(ROP4 rop4) {
    return (rop4 & 0xFF) == 0xF0;
}

RenderState* StateOfSurface(SURFOBJ* surface) {
    return surface != nullptr ? StateOf(surface->dhpdev) : nullptr;
}

BOOL APIENTRY HookAlphaBlend(SURFOBJ* dest, SURFOBJ* source, CLIPOBJ* clip, XLATEOBJ* xlate,
                             RECTL* destRect, RECTL* sourceRect, BLENDOBJ* blend) {
    return Forward<PFN_DrvAlphaBlend, Ddi::AlphaBlend, Before::AlphaBlend, BOOL>(
        StateOfSurface(dest), dest, source, clip, xlate, destRect, sourceRect, blend);
}

BOOL APIENTRY HookBitBlt(SURFOBJ* target, SURFOBJ* source, SURFOBJ* mask, CLIPOBJ* clip,
                         XLATEOBJ* xlate, RECTL* targetRect, POINTL* sourcePoint, POINTL* maskPoint,
                         BRUSHOBJ* brush, POINTL* brushOrigin, ROP4 rop4) {
    RenderState* state = StateOfSurface(target);
    // A pattern fills the band as it would the page: its origin moves with the band. GDI's own
    // point stays as it is.
    POINTL shifted = {};
    if (state != nullptr && source == nullptr && IsPatternCopy(rop4) && brushOrigin != nullptr) {
        shifted = {brushOrigin->x - state->bandOrigin.x, brushOrigin->y - state->bandOrigin.y};
        brushOrigin = &shifted;
    }
    return Forward<PFN_DrvBitBlt, Ddi::BitBlt, Before::BitBlt, BOOL>(
        state, target, source, mask, clip, xlate, targetRect, sourcePoint, maskPoint, brush,
        brushOrigin, rop4);
}

BOOL APIENTRY HookCopyBits(SURFOBJ* dest, SURFOBJ* source, CLIPOBJ* clip, XLATEOBJ* xlate,
                           RECTL* destRect, POINTL* sourcePoint) {
    return Forward<PFN_DrvCopyBits, Ddi::CopyBits, Before::CopyBits, BOOL>(
        StateOfSurface(dest), dest, source, clip, xlate, destRect, sourcePoint);
}

BOOL APIENTRY HookEndDoc(SURFOBJ* surface, FLONG flags) {
    RenderState* state = StateOfSurface(surface);
    BOOL ok = Forward<PFN_DrvEndDoc, Ddi::EndDoc, Before::EndDoc, BOOL>(state, surface, flags);
    if (state != nullptr) {
        EndJob(*state);
    }
    return ok;
}

BOOL APIENTRY HookFillPath(SURFOBJ* surface, PATHOBJ* path, CLIPOBJ* clip, BRUSHOBJ* brush,
                           POINTL* brushOrigin, MIX mix, FLONG options) {
    return Forward<PFN_DrvFillPath, Ddi::FillPath, Before::FillPath, BOOL>(
        StateOfSurface(surface), surface, path, clip, brush, brushOrigin, mix, options);
}

BOOL APIENTRY HookGradientFill(SURFOBJ* dest, CLIPOBJ* clip, XLATEOBJ* xlate, TRIVERTEX* vertex,
                               ULONG vertexCount, PVOID mesh, ULONG meshCount, RECTL* extents,
                               POINTL* ditherOrigin, ULONG mode) {
    return Forward<PFN_DrvGradientFill, Ddi::GradientFill, Before::GradientFill, BOOL>(
        StateOfSurface(dest), dest, clip, xlate, vertex, vertexCount, mesh, meshCount, extents,
        ditherOrigin, mode);
}

ULONG APIENTRY HookGetGlyphMode(DHPDEV pdev, FONTOBJ* font) {
    return Forward<PFN_DrvGetGlyphMode, Ddi::GetGlyphMode, Before::GetGlyphMode, ULONG>(
        StateOf(pdev), pdev, font);
}

BOOL APIENTRY HookLineTo(SURFOBJ* surface, CLIPOBJ* clip, BRUSHOBJ* brush, LONG x1, LONG y1,
                         LONG x2, LONG y2, RECTL* bounds, MIX mix) {
    RenderState* state = StateOfSurface(surface);
    if (state != nullptr) {
        MarkEdges(*state, x1, y1, x2, y2);
    }
    return Forward<PFN_DrvLineTo, Ddi::LineTo, Before::LineTo, BOOL>(state, surface, clip, brush,
                                                                     x1, y1, x2, y2, bounds, mix);
}

BOOL APIENTRY HookNextBand(SURFOBJ* surface, POINTL* origin) {
    RenderState* state = StateOfSurface(surface);
    BOOL ok =
        Forward<PFN_DrvNextBand, Ddi::NextBand, Before::NextBand, BOOL>(state, surface, origin);
    if (!ok || state == nullptr || origin == nullptr) {
        return ok;
    }
    if (origin->x == -1 && origin->y == -1) {
        return SUCCEEDED(EndPage(*state));
    }
    state->bandOrigin = *origin;
    ClearBand(*state, surface);
    return ok;
}

BOOL APIENTRY HookPaint(SURFOBJ* surface, CLIPOBJ* clip, BRUSHOBJ* brush, POINTL* brushOrigin,
                        MIX mix) {
    return Forward<PFN_DrvPaint, Ddi::Paint, Before::Paint, BOOL>(StateOfSurface(surface), surface,
                                                                  clip, brush, brushOrigin, mix);
}

BOOL APIENTRY HookPlgBlt(SURFOBJ* target, SURFOBJ* source, SURFOBJ* mask, CLIPOBJ* clip,
                         XLATEOBJ* xlate, COLORADJUSTMENT* adjustment, POINTL* brushOrigin,
                         POINTFIX* points, RECTL* rect, POINTL* maskPoint, ULONG mode) {
    return Forward<PFN_DrvPlgBlt, Ddi::PlgBlt, Before::PlgBlt, BOOL>(
        StateOfSurface(target), target, source, mask, clip, xlate, adjustment, brushOrigin, points,
        rect, maskPoint, mode);
}

BOOL APIENTRY HookRealizeBrush(BRUSHOBJ* brush, SURFOBJ* target, SURFOBJ* pattern, SURFOBJ* mask,
                               XLATEOBJ* xlate, ULONG hatch) {
    return Forward<PFN_DrvRealizeBrush, Ddi::RealizeBrush, Before::RealizeBrush, BOOL>(
        StateOfSurface(target), brush, target, pattern, mask, xlate, hatch);
}

BOOL APIENTRY HookSendPage(SURFOBJ* surface) {
    RenderState* state = StateOfSurface(surface);
    BOOL ok = Forward<PFN_DrvSendPage, Ddi::SendPage, Before::SendPage, BOOL>(state, surface);
    return state != nullptr && ok ? SUCCEEDED(EndPage(*state)) : ok;
}

BOOL APIENTRY HookStartBanding(SURFOBJ* surface, POINTL* origin) {
    RenderState* state = StateOfSurface(surface);
    if (state != nullptr) {
        state->surface = surface;
    }
    BOOL ok = Forward<PFN_DrvStartBanding, Ddi::StartBanding, Before::StartBanding, BOOL>(
        state, surface, origin);
    if (ok && state != nullptr && origin != nullptr) {
        state->bandOrigin = *origin;
    }
    return ok;
}

BOOL APIENTRY HookStartDoc(SURFOBJ* surface, LPWSTR documentName, DWORD jobId) {
    RenderState* state = StateOfSurface(surface);
    if (state != nullptr) {
        StartJob(*state, jobId);
    }
    return Forward<PFN_DrvStartDoc, Ddi::StartDoc, Before::StartDoc, BOOL>(state, surface,
                                                                           documentName, jobId);
}

BOOL APIENTRY HookStartPage(SURFOBJ* surface) {
    RenderState* state = StateOfSurface(surface);
    if (state != nullptr) {
        StartPage(*state, surface);
    }
    return Forward<PFN_DrvStartPage, Ddi::StartPage, Before::StartPage, BOOL>(state, surface);
}

BOOL APIENTRY HookStretchBlt(SURFOBJ* dest, SURFOBJ* source, SURFOBJ* mask, CLIPOBJ* clip,
                             XLATEOBJ* xlate, COLORADJUSTMENT* adjustment, POINTL* halftoneOrigin,
                             RECTL* destRect, RECTL* sourceRect, POINTL* maskPoint, ULONG mode) {
    return Forward<PFN_DrvStretchBlt, Ddi::StretchBlt, Before::StretchBlt, BOOL>(
        StateOfSurface(dest), dest, source, mask, clip, xlate, adjustment, halftoneOrigin, destRect,
        sourceRect, maskPoint, mode);
}

BOOL APIENTRY HookStretchBltROP(SURFOBJ* dest, SURFOBJ* source, SURFOBJ* mask, CLIPOBJ* clip,
                                XLATEOBJ* xlate, COLORADJUSTMENT* adjustment,
                                POINTL* halftoneOrigin, RECTL* destRect, RECTL* sourceRect,
                                POINTL* maskPoint, ULONG mode, BRUSHOBJ* brush, DWORD rop4) {
    return Forward<PFN_DrvStretchBltROP, Ddi::StretchBltROP, Before::StretchBltROP, BOOL>(
        StateOfSurface(dest), dest, source, mask, clip, xlate, adjustment, halftoneOrigin, destRect,
        sourceRect, maskPoint, mode, brush, rop4);
}

BOOL APIENTRY HookStrokeAndFillPath(SURFOBJ* surface, PATHOBJ* path, CLIPOBJ* clip,
                                    XFORMOBJ* transform, BRUSHOBJ* strokeBrush,
                                    LINEATTRS* lineAttributes, BRUSHOBJ* fillBrush,
                                    POINTL* brushOrigin, MIX fillMix, FLONG options) {
    return Forward<PFN_DrvStrokeAndFillPath, Ddi::StrokeAndFillPath, Before::StrokeAndFillPath,
                   BOOL>(StateOfSurface(surface), surface, path, clip, transform, strokeBrush,
                         lineAttributes, fillBrush, brushOrigin, fillMix, options);
}

// The "before" entry sees these arguments as StrokePathArguments.
BOOL APIENTRY HookStrokePath(SURFOBJ* surface, PATHOBJ* path, CLIPOBJ* clip, XFORMOBJ* transform,
                             BRUSHOBJ* brush, POINTL* brushOrigin, LINEATTRS* lineAttributes,
                             MIX mix) {
    return Forward<PFN_DrvStrokePath, Ddi::StrokePath, Before::StrokePath, BOOL>(
        StateOfSurface(surface), surface, path, clip, transform, brush, brushOrigin, lineAttributes,
        mix);
}

BOOL APIENTRY HookTextOut(SURFOBJ* surface, STROBJ* text, FONTOBJ* font, CLIPOBJ* clip,
                          RECTL* extra, RECTL* opaque, BRUSHOBJ* fore, BRUSHOBJ* opaqueBrush,
                          POINTL* origin, MIX mix) {
    RenderState* state = StateOfSurface(surface);
    if (state == nullptr) {
        return FALSE;
    }
    if (EntryAnswered<Before::TextOut>(*state, surface, text, font, clip, extra, opaque, fore,
                                       opaqueBrush, origin, mix)) {
        return TRUE;
    }
    return AdjustedTextOut(*state, surface, text, font, clip, extra, opaque, fore, opaqueBrush,
                           origin, mix);
}

BOOL APIENTRY HookTransparentBlt(SURFOBJ* dest, SURFOBJ* source, CLIPOBJ* clip, XLATEOBJ* xlate,
                                 RECTL* destRect, RECTL* sourceRect, ULONG transparentColor,
                                 ULONG reserved) {
    return Forward<PFN_DrvTransparentBlt, Ddi::TransparentBlt, Before::TransparentBlt, BOOL>(
        StateOfSurface(dest), dest, source, clip, xlate, destRect, sourceRect, transparentColor,
        reserved);
}

// Escapes pass straight through to the driver.
ULONG APIENTRY HookEscape(SURFOBJ* surface, ULONG escape, ULONG inSize, PVOID in, ULONG outSize,
                          PVOID out) {
    return Forward<PFN_DrvEscape, Ddi::Escape, Before::None, ULONG>(
        StateOfSurface(surface), surface, escape, inSize, in, outSize, out);
}

ULONG APIENTRY HookDrawEscape(SURFOBJ* surface, ULONG escape, CLIPOBJ* clip, RECTL* rect,
                              ULONG inSize, PVOID in) {
    return Forward<PFN_DrvDrawEscape, Ddi::DrawEscape, Before::None, ULONG>(
        StateOfSurface(surface), surface, escape, clip, rect, inSize, in);
}

template <typename Function> PFN AsPfn(Function function) {
    return reinterpret_cast<PFN>(reinterpret_cast<GenericFunction>(function));
}

const DRVFN kHookedDdi[kHookedDdiCount] = {
    {INDEX_DrvAlphaBlend, AsPfn(HookAlphaBlend)},
    {INDEX_DrvBitBlt, AsPfn(HookBitBlt)},
    {INDEX_DrvCopyBits, AsPfn(HookCopyBits)},
    {INDEX_DrvEndDoc, AsPfn(HookEndDoc)},
    {INDEX_DrvFillPath, AsPfn(HookFillPath)},
    {INDEX_DrvGradientFill, AsPfn(HookGradientFill)},
    {INDEX_DrvGetGlyphMode, AsPfn(HookGetGlyphMode)},
    {INDEX_DrvLineTo, AsPfn(HookLineTo)},
    {INDEX_DrvNextBand, AsPfn(HookNextBand)},
    {INDEX_DrvPaint, AsPfn(HookPaint)},
    {INDEX_DrvPlgBlt, AsPfn(HookPlgBlt)},
    {INDEX_DrvRealizeBrush, AsPfn(HookRealizeBrush)},
    {INDEX_DrvSendPage, AsPfn(HookSendPage)},
    {INDEX_DrvStartBanding, AsPfn(HookStartBanding)},
    {INDEX_DrvStartDoc, AsPfn(HookStartDoc)},
    {INDEX_DrvStartPage, AsPfn(HookStartPage)},
    {INDEX_DrvStretchBlt, AsPfn(HookStretchBlt)},
    {INDEX_DrvStretchBltROP, AsPfn(HookStretchBltROP)},
    {INDEX_DrvStrokeAndFillPath, AsPfn(HookStrokeAndFillPath)},
    {INDEX_DrvStrokePath, AsPfn(HookStrokePath)},
    {INDEX_DrvTextOut, AsPfn(HookTextOut)},
    {INDEX_DrvTransparentBlt, AsPfn(HookTransparentBlt)},
    {INDEX_DrvEscape, AsPfn(HookEscape)},
    {INDEX_DrvDrawEscape, AsPfn(HookDrawEscape)},
};

} // namespace

const DRVFN* HookedDdiTable() {
    return kHookedDdi;
}

} // namespace moltr::render
