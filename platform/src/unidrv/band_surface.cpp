#include "src/unidrv/band_surface.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace moltr::unidrv {
namespace {

// Rows are whole DWORDs, as DIBs are.
LONG Stride(LONG width, WORD bits) {
    return ((width * bits + 31) / 32) * 4;
}

constexpr LONG kChunk = 64;

constexpr std::array<BYTE, kChunk> Chunk(BYTE value) {
    std::array<BYTE, kChunk> chunk{};
    chunk.fill(value);
    return chunk;
}

constexpr std::array<BYTE, kChunk> kWhiteChunk = Chunk(0xFF);
constexpr std::array<BYTE, kChunk> kBlankChunk = Chunk(0);

} // namespace

BYTE GreyLevel(ULONG rgb) {
    // The luminance weights of video, in hundredths.
    const unsigned red = rgb & 0xFF, green = (rgb >> 8) & 0xFF, blue = (rgb >> 16) & 0xFF;
    return static_cast<BYTE>((red * 30 + green * 59 + blue * 11) / 100);
}

BandSurface::BandSurface(LONG width, LONG pageHeight, LONG bandRows, WORD bits)
    : width_(std::max<LONG>(width, 1)), pageHeight_(std::max<LONG>(pageHeight, 1)),
      bandRows_(std::max<LONG>(bandRows, 1)), bits_(bits == 24 || bits == 8 ? bits : 1),
      stride_(Stride(width_, bits_)), pixels_(static_cast<size_t>(stride_) * bandRows_, White()),
      drawn_(static_cast<size_t>(bandRows_)) {}

void BandSurface::StartBand(LONG top) {
    Whiten();
    top_ = top;
    rows_ = std::min(bandRows_, pageHeight_ - top);
}

void BandSurface::Whiten() {
    for (LONG row = 0; row < bandRows_; ++row) {
        RowExtent& drawn = drawn_[row];
        if (drawn.empty()) {
            continue;
        }
        // The whole row: a plug-in may have drawn beyond what the drawing calls did.
        std::memset(pixels_.data() + row * stride_, White(), stride_);
        drawn = {};
    }
}

void BandSurface::Fill(RECTL rect, ULONG rgb) {
    LONG left = std::max<LONG>(rect.left, 0);
    LONG right = std::min<LONG>(rect.right, width_);
    LONG top = std::max<LONG>(rect.top, 0);
    LONG bottom = std::min<LONG>(rect.bottom, rows_);
    if (left >= right || top >= bottom) {
        return;
    }
    const BYTE grey = GreyLevel(rgb);
    const bool ink = grey < 128;
    for (LONG row = top; row < bottom; ++row) {
        BYTE* line = pixels_.data() + row * stride_;
        if (bits_ == 8) {
            std::memset(line + left, grey, static_cast<size_t>(right - left));
        }
        for (LONG x = left; bits_ != 8 && x < right; ++x) {
            if (bits_ == 24) {
                line[3 * x] = static_cast<BYTE>(rgb >> 16);
                line[3 * x + 1] = static_cast<BYTE>(rgb >> 8);
                line[3 * x + 2] = static_cast<BYTE>(rgb);
            } else if (ink) {
                line[x / 8] = static_cast<BYTE>(line[x / 8] | (0x80 >> (x % 8)));
            } else {
                line[x / 8] = static_cast<BYTE>(line[x / 8] & ~(0x80 >> (x % 8)));
            }
        }
        RowExtent& drawn = drawn_[row];
        drawn = drawn.empty() ? RowExtent{left, right}
                              : RowExtent{std::min(drawn.first, left), std::max(drawn.last, right)};
    }
}

RowExtent BandSurface::Extent(const BYTE* bits, LONG row) const {
    const BYTE* line = bits + row * stride_;
    const BYTE* white = bits_ == 1 ? kBlankChunk.data() : kWhiteChunk.data();
    const LONG bytesPerPixel = bits_ / 8;
    LONG used = bits_ == 1 ? (width_ + 7) / 8 : bytesPerPixel * width_;
    // Whole chunks first: most rows of a page are white, and this keeps them cheap.
    LONG first = 0;
    while (first + kChunk <= used && std::memcmp(line + first, white, kChunk) == 0) {
        first += kChunk;
    }
    while (first < used && line[first] == white[0]) {
        ++first;
    }
    if (first == used) {
        return {};
    }
    LONG last = used;
    while (last - kChunk > first && std::memcmp(line + last - kChunk, white, kChunk) == 0) {
        last -= kChunk;
    }
    while (last > first && line[last - 1] == white[0]) {
        --last;
    }
    if (bits == pixels_.data()) {
        // What the plug-in drew on the band itself is whitened with the rest.
        RowExtent& drawn = drawn_[row];
        drawn = drawn.empty() ? RowExtent{0, width_} : drawn;
    }
    if (bits_ == 1) {
        return {first * 8, std::min<LONG>(last * 8, width_)};
    }
    return {first / bytesPerPixel, (last + bytesPerPixel - 1) / bytesPerPixel};
}

} // namespace moltr::unidrv
