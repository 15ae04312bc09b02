#include "renderplugin/text_adjustments.h"

namespace moltr::render {

BOOL EngineTextOut(SURFOBJ* surface, STROBJ* text, FONTOBJ* font, CLIPOBJ* clip, RECTL* extra,
                   RECTL* opaque, BRUSHOBJ* fore, BRUSHOBJ* opaqueBrush, POINTL* origin, MIX mix) {
    return EngTextOut(surface, text, font, clip, extra, opaque, fore, opaqueBrush, origin, mix);
}

} // namespace moltr::render
