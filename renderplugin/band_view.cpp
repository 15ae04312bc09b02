#include "renderplugin/band_view.h"

#include <cstdlib>

namespace moltr::render {

namespace {

// Bands wider or taller than this are no page of any printer; they are refused rather than
// walked.
constexpr LONG kMaxBandSide = 1 << 16;

bool WalkableFormat(const BITMAPINFOHEADER& header) {
    return header.biPlanes == 1 && header.biCompression == BI_RGB &&
           (header.biBitCount == 1 || header.biBitCount == 8 || header.biBitCount == 24);
}

// The surface's stride when the band's bits are the surface's own, top-down rows of at least a
// DIB row's worth of pixels.
LONG SurfaceStride(const RenderState& state, const BYTE* bits, LONG width, WORD bitsPerPixel) {
    const SURFOBJ* surface = state.surface;
    if (surface == nullptr || surface->pvBits != bits || surface->lDelta <= 0) {
        return 0;
    }
    LONG rowBytes = (width * bitsPerPixel + 7) / 8;
    return surface->lDelta >= rowBytes ? surface->lDelta : 0;
}

// Entry 1 of a 1-bit band's colour table white (its entry 0 not) makes 1 the white bit.
BYTE WhiteBit(const BITMAPINFOHEADER& header, const BYTE* colorTable) {
    if (header.biBitCount != 1 || colorTable == nullptr) {
        return 0;
    }
    auto white = [colorTable](size_t entry) {
        const BYTE* quad = colorTable + entry * sizeof(RGBQUAD);
        return quad[0] == 0xFF && quad[1] == 0xFF && quad[2] == 0xFF;
    };
    return white(1) && !white(0) ? 1 : 0;
}

} // namespace

LONG DibStride(LONG width, WORD bitsPerPixel) {
    return ((width * bitsPerPixel + 31) / 32) * 4;
}

bool ViewBand(const RenderState& state, const BITMAPINFOHEADER& header, BYTE* bits,
              const BYTE* colorTable, BandView* band) {
    if (bits == nullptr || header.biSize < sizeof(BITMAPINFOHEADER) || !WalkableFormat(header)) {
        return false;
    }
    LONG width = header.biWidth;
    // INT_MIN has no magnitude; it is refused with the other oversized heights.
    LONG height = header.biHeight == LONG(0x80000000) ? 0 : std::labs(header.biHeight);
    if (width <= 0 || height <= 0 || width > kMaxBandSide || height > kMaxBandSide) {
        return false;
    }
    LONG stride = SurfaceStride(state, bits, width, header.biBitCount);
    if (stride == 0) {
        stride = DibStride(width, header.biBitCount);
    }
    // Whatever says how big the buffer is bounds the walk.
    unsigned long long need = static_cast<unsigned long long>(stride) * height;
    const SURFOBJ* surface = state.surface;
    if (surface != nullptr && surface->pvBits == bits && need > surface->cjBits) {
        return false;
    }
    if (header.biSizeImage != 0 && need > header.biSizeImage) {
        return false;
    }
    *band = {bits, width, height, stride, header.biBitCount, WhiteBit(header, colorTable)};
    return true;
}

} // namespace moltr::render
