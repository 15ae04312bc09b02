#pragma once
// What ImageProcessing does to each band: the gutters and frame cleared in raster mode without
// N-up borders, then the watermark stamped behind the page in the cells that hold a page.
#include <windows.h>
#include "renderplugin/render_state.h"

namespace moltr::render {

// The band entry. `colorTable` is the band's (for 1-bit bands, the two entries that say which
// bit is white), or null. E_INVALIDARG for a missing or unusable band.
HRESULT StampBand(RenderState& state, const BITMAPINFOHEADER* header, BYTE* bits,
                  const BYTE* colorTable);

// DrvNextBand's clearing of the next band before the driver renders into it, while the page has
// a watermark.
void ClearBand(const RenderState& state, SURFOBJ* surface);

} // namespace moltr::render
