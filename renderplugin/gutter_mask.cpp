#include "renderplugin/gutter_mask.h"

#include <algorithm>
#include <cstring>

namespace moltr::render {

namespace {

// Half the width of a gutter strip, and the width of the frame.
constexpr LONG kHalfStrip = 4;
constexpr LONG kFrame = 4;

// Where the gutters of each count lie: vertical strips at W × n / d, horizontal ones at H × n / d
// (a landscape 6-up sheet turns the table of the portrait one).
struct Fraction {
    LONG numerator;
    LONG denominator;
};
struct GutterRow {
    DWORD count;
    bool landscape;
    size_t verticalCount;
    Fraction vertical[3];
    size_t horizontalCount;
    Fraction horizontal[3];
};
constexpr GutterRow kGutters[] = {
    {2, true, 1, {{1, 2}}, 0, {}},
    {2, false, 0, {}, 1, {{1, 2}}},
    {4, true, 1, {{1, 2}}, 1, {{1, 2}}},
    {4, false, 1, {{1, 2}}, 1, {{1, 2}}},
    {6, true, 2, {{1, 3}, {2, 3}}, 1, {{1, 2}}},
    {6, false, 1, {{1, 2}}, 2, {{1, 3}, {2, 3}}},
    {9, true, 2, {{1, 3}, {2, 3}}, 2, {{1, 3}, {2, 3}}},
    {9, false, 2, {{1, 3}, {2, 3}}, 2, {{1, 3}, {2, 3}}},
    {16, true, 3, {{1, 4}, {2, 4}, {3, 4}}, 3, {{1, 4}, {2, 4}, {3, 4}}},
    {16, false, 3, {{1, 4}, {2, 4}, {3, 4}}, 3, {{1, 4}, {2, 4}, {3, 4}}},
};

LONG At(LONG size, const Fraction& fraction) {
    return size * fraction.numerator / fraction.denominator;
}

// Sets `count` pixels from `first` of a row to white: bytes to 0xFF, bits to the white index.
void Whiten(const BandView& band, BYTE* row, LONG first, LONG count) {
    if (band.bitsPerPixel != 1) {
        LONG bytes = band.bitsPerPixel / 8;
        std::memset(row + static_cast<size_t>(first) * bytes, 0xFF,
                    static_cast<size_t>(count) * bytes);
        return;
    }
    for (LONG x = first; x < first + count; ++x) {
        BYTE bit = static_cast<BYTE>(0x80 >> (x % 8));
        row[x / 8] = static_cast<BYTE>(band.whiteBit != 0 ? row[x / 8] | bit : row[x / 8] & ~bit);
    }
}

} // namespace

GutterMask::GutterMask(LONG pageWidth, LONG pageHeight, DWORD nupCount, bool landscape)
    : width_(pageWidth), height_(pageHeight) {
    for (const GutterRow& row : kGutters) {
        if (row.count == nupCount && row.landscape == landscape) {
            for (size_t i = 0; i < row.verticalCount; ++i) {
                AddVertical(At(width_, row.vertical[i]));
            }
            for (size_t i = 0; i < row.horizontalCount; ++i) {
                AddHorizontal(At(height_, row.horizontal[i]));
            }
        }
    }
    Add(0, 0, width_, kFrame);
    Add(0, height_ - kFrame, width_, height_);
    Add(0, 0, kFrame, height_);
    Add(width_ - kFrame, 0, width_, height_);
}

void GutterMask::Add(LONG left, LONG top, LONG right, LONG bottom) {
    if (count_ < kMaxStrips) {
        strips_[count_++] = {left, top, right, bottom};
    }
}

void GutterMask::AddVertical(LONG centre) {
    Add(centre - kHalfStrip, 0, centre + kHalfStrip, height_);
}

void GutterMask::AddHorizontal(LONG centre) {
    Add(0, centre - kHalfStrip, width_, centre + kHalfStrip);
}

void GutterMask::Apply(const BandView& band, POINTL origin) const {
    // Band coordinates, clipped to the band; 64-bit so that no origin can wrap them.
    auto clip = [](LONG value, LONG offset, LONG limit) {
        return static_cast<LONG>(
            std::clamp<long long>(static_cast<long long>(value) - offset, 0, limit));
    };
    for (size_t i = 0; i < count_; ++i) {
        const RECTL& strip = strips_[i];
        LONG left = clip(strip.left, origin.x, band.width);
        LONG right = clip(strip.right, origin.x, band.width);
        LONG top = clip(strip.top, origin.y, band.height);
        LONG bottom = clip(strip.bottom, origin.y, band.height);
        for (LONG y = top; y < bottom && left < right; ++y) {
            Whiten(band, band.Row(y), left, right - left);
        }
    }
}

} // namespace moltr::render
