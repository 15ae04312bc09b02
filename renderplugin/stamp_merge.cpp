#include "renderplugin/stamp_merge.h"

#include <algorithm>

namespace moltr::render {

namespace {

constexpr BYTE kWhite = 0xFF;

bool IsWhite(const BYTE* pixel) {
    return pixel[0] == kWhite && pixel[1] == kWhite && pixel[2] == kWhite;
}

void MergeColourRow(BYTE* band, const BYTE* stamp, LONG width) {
    for (LONG x = 0; x < width; ++x, band += 3, stamp += 3) {
        if (IsWhite(band) && !IsWhite(stamp)) {
            band[0] = stamp[0];
            band[1] = stamp[1];
            band[2] = stamp[2];
        }
    }
}

void MergeGreyRow(BYTE* band, const BYTE* stamp, LONG width) {
    for (LONG x = 0; x < width; ++x, ++band, stamp += 3) {
        if (*band == kWhite && !IsWhite(stamp)) {
            *band = GreyLevel(stamp[2], stamp[1], stamp[0]);
        }
    }
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
