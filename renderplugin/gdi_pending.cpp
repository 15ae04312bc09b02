// Where the host platform cannot yet draw text (GDI's ExtTextOutW into DIB sections, the engine's
// EngTextOut), the plug-in still prints every page: no watermark layer is made, and text keeps
// the driver's own drawing with the adjusted brushes.
#include "renderplugin/render_state.h"
#include "renderplugin/text_adjustments.h"
#include "renderplugin/watermark_layer.h"

namespace moltr::render {

HRESULT WatermarkLayer::Create(const RenderState&, const BandView&, WatermarkLayer** layer) {
    *layer = nullptr;
    return E_NOTIMPL;
}

WatermarkLayer::~WatermarkLayer() = default;

HRESULT WatermarkLayer::Stamp(const RenderState&, const BandView&, POINTL,
                              const bool (&)[kMaxCells]) {
    return E_NOTIMPL;
}

BOOL EngineTextOut(SURFOBJ* surface, STROBJ* text, FONTOBJ* font, CLIPOBJ* clip, RECTL* extra,
                   RECTL* opaque, BRUSHOBJ* fore, BRUSHOBJ* opaqueBrush, POINTL* origin, MIX mix) {
    RenderState* state = StateOf(surface != nullptr ? surface->dhpdev : nullptr);
    auto own = state != nullptr ? DriverEntry<PFN_DrvTextOut>(*state, Ddi::TextOut) : nullptr;
    return own != nullptr &&
           own(surface, text, font, clip, extra, opaque, fore, opaqueBrush, origin, mix);
}

} // namespace moltr::render
