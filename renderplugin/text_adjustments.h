#pragma once
// DrvTextOut's adjustments: text turned black when the user asks for it and, in raster mode,
// text drawn by the engine (EngTextOut) into the band after the driver has been told which area
// it covers. GDI's brushes are never changed: replaced colours go into the state's brush records.
#include <windows.h>
#include "renderplugin/render_state.h"

namespace moltr::render {

BOOL AdjustedTextOut(RenderState& state, SURFOBJ* surface, STROBJ* text, FONTOBJ* font,
                     CLIPOBJ* clip, RECTL* extra, RECTL* opaque, BRUSHOBJ* fore,
                     BRUSHOBJ* opaqueBrush, POINTL* origin, MIX mix);

// The engine's own text drawing into the band (EngTextOut).
BOOL EngineTextOut(SURFOBJ* surface, STROBJ* text, FONTOBJ* font, CLIPOBJ* clip, RECTL* extra,
                   RECTL* opaque, BRUSHOBJ* fore, BRUSHOBJ* opaqueBrush, POINTL* origin, MIX mix);

} // namespace moltr::render
