#include "renderplugin/cosmetic_lines.h"

#include "renderplugin/pdl_family.h"

namespace moltr::render {

namespace {

constexpr ULONG kThinLineDpi = 300;

bool HighResolution(const RenderState& state) {
    const GDIINFO* page = state.gdiInfo;
    return page != nullptr &&
           (page->ulLogPixelsX > kThinLineDpi || page->ulLogPixelsY > kThinLineDpi);
}

} // namespace

HRESULT WidenCosmeticLine(RenderState& state, void* arguments) {
    LINEATTRS*& line = std::get<6>(*static_cast<StrokePathArguments*>(arguments));
    // A geometric line's width is a float in world units; only a cosmetic one counts pixels.
    if (IsPcl5(state.pdlType) && HighResolution(state) && line != nullptr &&
        (line->fl & LA_GEOMETRIC) == 0 && line->elWidth.l == 1) {
        state.lineCopy = *line;
        state.lineCopy.elWidth.l = 2;
        line = &state.lineCopy;
    }
    return E_NOTIMPL;
}

} // namespace moltr::render
