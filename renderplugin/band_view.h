#pragma once
// One raster band as ImageProcessing receives it, checked once: its size, pixel format and row
// stride, rows top first. Every walk over the band's bytes goes through this view.
#include <windows.h>
#include "renderplugin/render_state.h"

namespace moltr::render {

struct BandView {
    BYTE* bits = nullptr;
    LONG width = 0;
    LONG height = 0;
    LONG stride = 0;
    WORD bitsPerPixel = 0;
    // The bit of a white pixel in a 1-bit band, from its colour table.
    BYTE whiteBit = 0;

    BYTE* Row(LONG row) const { return bits + static_cast<size_t>(row) * stride; }
};

// The bytes of a DIB row of `width` pixels: padded to whole 32-bit words.
LONG DibStride(LONG width, WORD bitsPerPixel);

// The band that `header` describes at `bits`. Its size comes from the header; its stride from the
// recorded surface when that surface holds these bits, else the DIB stride of the header. False
// for a header this plug-in cannot walk safely (other formats, sizes that exceed the buffer).
// `colorTable`, when given, holds the two RGBQUADs of a 1-bit band; without one, 1 is ink.
bool ViewBand(const RenderState& state, const BITMAPINFOHEADER& header, BYTE* bits,
              const BYTE* colorTable, BandView* band);

} // namespace moltr::render
