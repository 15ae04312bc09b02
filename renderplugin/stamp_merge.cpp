#include "renderplugin/stamp_merge.h"

#include <algorithm>
#include <cstring>

namespace moltr::render {

namespace {

constexpr BYTE kWhite = 0xFF;

bool IsWhite(const BYTE* pixel) {
    return pixel[0] == kWhite && pixel[1] == kWhite && pixel[2] == kWhite;
}

// The stamp is white almost everywhere: runs of white stamp pixels are passed over whole.
constexpr LONG kRun = 16;
constexpr BYTE kWhiteRun[kRun * 3] = {
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

// The pixels of a row the stamp inks, run by run; `merge` takes a band pixel index and the
// stamp pixel for it.
template <typename Merge> void ForInkedPixels(const BYTE* stamp, LONG width, Merge merge) {
    for (LONG x = 0; x < width;) {
        if (x + kRun <= width && std::memcmp(stamp + x * 3, kWhiteRun, sizeof kWhiteRun) == 0) {
            x += kRun;
            continue;
        }
        for (const LONG end = std::min(width, x + kRun); x < end; ++x) {
            if (!IsWhite(stamp + x * 3)) {
                merge(x, stamp + x * 3);
            }
        }
    }
}

void MergeColourRow(BYTE* band, const BYTE* stamp, LONG width) {
    ForInkedPixels(stamp, width, [band](LONG x, const BYTE* ink) {
        BYTE* pixel = band + x * 3;
        if (IsWhite(pixel)) {
            pixel[0] = ink[0];
            pixel[1] = ink[1];
            pixel[2] = ink[2];
        }
    });
}

void MergeGreyRow(BYTE* band, const BYTE* stamp, LONG width) {
    ForInkedPixels(stamp, width, [band](LONG x, const BYTE* ink) {
        if (band[x] == kWhite) {
            band[x] = GreyLevel(ink[2], ink[1], ink[0]);
        }
    });
}

} // namespace

BYTE GreyLevel(BYTE red, BYTE green, BYTE blue) {
    return static_cast<BYTE>((red * 19 + green * 37 + blue * 7) / 63);
}

bool MergeStamp(const BandView& band, const StampView& stamp, RECT area) {
    if ((band.bitsPerPixel != 24 && band.bitsPerPixel != 8) || stamp.bits == nullptr ||
        stamp.width < band.width || stamp.height < band.height) {
        return false;
    }
    const LONG left = std::clamp<LONG>(area.left, 0, band.width);
    const LONG right = std::clamp<LONG>(area.right, left, band.width);
    const LONG top = std::clamp<LONG>(area.top, 0, band.height);
    const LONG bottom = std::clamp<LONG>(area.bottom, top, band.height);
    const LONG bytes = band.bitsPerPixel / 8;
    for (LONG y = top; y < bottom; ++y) {
        const BYTE* from = stamp.bits + static_cast<size_t>(y) * stamp.stride + left * 3;
        BYTE* to = band.Row(y) + static_cast<size_t>(left) * bytes;
        if (band.bitsPerPixel == 24) {
            MergeColourRow(to, from, right - left);
        } else {
            MergeGreyRow(to, from, right - left);
        }
    }
    return true;
}

} // namespace moltr::render
