#include "src/unidrv/band_surface.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace moltr::unidrv {
namespace {

constexpr BYTE kWhite24 = 0xFF;

// Rows are whole DWORDs, as DIBs are.
LONG Stride(LONG width, bool colour) {
    LONG bits = width * (colour ? 24 : 1);
    return ((bits + 31) / 32) * 4;
}

constexpr LONG kChunk = 64;

constexpr std::array<BYTE, kChunk> Chunk(BYTE value) {
    std::array<BYTE, kChunk> chunk{};
    chunk.fill(value);
    return chunk;
}

constexpr std::array<BYTE, kChunk> kWhiteChunk = Chunk(kWhite24);
constexpr std::array<BYTE, kChunk> kBlankChunk = Chunk(0);

bool Ink(ULONG rgb) {
    unsigned sum = (rgb & 0xFF) + ((rgb >> 8) & 0xFF) + ((rgb >> 16) & 0xFF);
    return sum < 3 * 128;
}

} // namespace

BandSurface::BandSurface(LONG width, LONG pageHeight, LONG bandRows, bool colour)
    : width_(std::max<LONG>(width, 1)), pageHeight_(std::max<LONG>(pageHeight, 1)),
      bandRows_(std::max<LONG>(bandRows, 1)), colour_(colour), stride_(Stride(width_, colour)),
      bits_(static_cast<size_t>(stride_) * bandRows_, colour ? kWhite24 : 0),
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
        std::memset(bits_.data() + row * stride_, colour_ ? kWhite24 : 0, stride_);
        drawn = {};
    }
}

void BandSurface::Fill(RECTL rect, ULONG rgb) {
    LONG left = std::max<LONG>(rect.left, 0);
    LONG right = std::min<LONG>(rect.right, width_);
    LONG top = std::max<LONG>(rect.top, top_);
    LONG bottom = std::min<LONG>(rect.bottom, top_ + rows_);
    if (left >= right || top >= bottom) {
        return;
    }
    bool ink = Ink(rgb);
    for (LONG y = top; y < bottom; ++y) {
        LONG row = y - top_;
        BYTE* line = bits_.data() + row * stride_;
        for (LONG x = left; x < right; ++x) {
            if (colour_) {
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
    const BYTE* white = colour_ ? kWhiteChunk.data() : kBlankChunk.data();
    LONG used = colour_ ? 3 * width_ : (width_ + 7) / 8;
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
    if (bits == bits_.data()) {
        // What the plug-in drew on the band itself is whitened with the rest.
        RowExtent& drawn = drawn_[row];
        drawn = drawn.empty() ? RowExtent{0, width_} : drawn;
    }
    return colour_ ? RowExtent{first / 3, (last + 2) / 3}
                   : RowExtent{first * 8, std::min<LONG>(last * 8, width_)};
}

} // namespace moltr::unidrv
