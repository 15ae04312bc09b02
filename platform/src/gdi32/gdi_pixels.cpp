// Reading and writing the pixels of a bitmap in its own format.
#include "src/gdi32/gdi_pixels.h"

#include <cstdint>
#include <new>

namespace moltr::platform {
namespace {

constexpr DWORD kFiveBits = 0x1F;

BYTE* RowOf(BitmapObject& bitmap, LONG y) {
    const LONG row = bitmap.bottomUp ? bitmap.height - 1 - y : y;
    return bitmap.pixels.data() + static_cast<size_t>(row) * BitmapStride(bitmap);
}

const BYTE* RowOf(const BitmapObject& bitmap, LONG y) {
    return RowOf(const_cast<BitmapObject&>(bitmap), y);
}

// A 5-5-5 pixel widened to 8 bits a channel, and back.
DWORD Widen555(DWORD value) {
    auto channel = [&](int shift) { return ((value >> shift) & kFiveBits) * 255 / kFiveBits; };
    return channel(10) << 16 | channel(5) << 8 | channel(0);
}

DWORD Narrow555(DWORD rgb) {
    auto channel = [&](int shift) { return ((rgb >> shift) & 0xFF) * kFiveBits / 255; };
    return channel(16) << 10 | channel(8) << 5 | channel(0);
}

DWORD Distance(const RGBQUAD& entry, COLORREF colour) {
    const int red = entry.rgbRed - GetRValue(colour);
    const int green = entry.rgbGreen - GetGValue(colour);
    const int blue = entry.rgbBlue - GetBValue(colour);
    return static_cast<DWORD>(red * red + green * green + blue * blue);
}

} // namespace

std::vector<RGBQUAD> MonochromeColours() {
    return {{0, 0, 0, 0}, {255, 255, 255, 0}};
}

size_t BitmapStride(const BitmapObject& bitmap) {
    const size_t bits = static_cast<size_t>(bitmap.width) * bitmap.bitsPixel;
    return bitmap.section ? (bits + 31) / 32 * 4 : (bits + 15) / 16 * 2;
}

bool EnsurePixels(BitmapObject& bitmap) {
    if (!bitmap.pixels.empty()) {
        return true;
    }
    const size_t size = BitmapStride(bitmap) * static_cast<size_t>(bitmap.height);
    if (size == 0) {
        return false;
    }
    try {
        bitmap.pixels.assign(size, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

DWORD ReadPixel(const BitmapObject& bitmap, LONG x, LONG y) {
    const BYTE* row = RowOf(bitmap, y);
    const size_t at = static_cast<size_t>(x);
    switch (bitmap.bitsPixel) {
    case 1:
        return (row[at / 8] >> (7 - at % 8)) & 1;
    case 4:
        return (row[at / 2] >> (at % 2 ? 0 : 4)) & 0x0F;
    case 8:
        return row[at];
    case 16:
        return Widen555(static_cast<DWORD>(row[at * 2] | row[at * 2 + 1] << 8));
    case 24:
        return static_cast<DWORD>(row[at * 3] | row[at * 3 + 1] << 8 | row[at * 3 + 2] << 16);
    default:
        return static_cast<DWORD>(row[at * 4] | row[at * 4 + 1] << 8 | row[at * 4 + 2] << 16);
    }
}

void WritePixel(BitmapObject& bitmap, LONG x, LONG y, DWORD value) {
    BYTE* row = RowOf(bitmap, y);
    const size_t at = static_cast<size_t>(x);
    switch (bitmap.bitsPixel) {
    case 1: {
        const BYTE bit = static_cast<BYTE>(0x80 >> (at % 8));
        row[at / 8] = static_cast<BYTE>(value & 1 ? row[at / 8] | bit : row[at / 8] & ~bit);
        break;
    }
    case 4: {
        const int shift = at % 2 ? 0 : 4;
        row[at / 2] = static_cast<BYTE>((row[at / 2] & ~(0x0F << shift)) | (value & 0x0F) << shift);
        break;
    }
    case 8:
        row[at] = static_cast<BYTE>(value);
        break;
    case 16: {
        const DWORD packed = Narrow555(value);
        row[at * 2] = static_cast<BYTE>(packed);
        row[at * 2 + 1] = static_cast<BYTE>(packed >> 8);
        break;
    }
    default: {
        const size_t bytes = bitmap.bitsPixel / 8u;
        for (size_t i = 0; i < 3; ++i) {
            row[at * bytes + i] = static_cast<BYTE>(value >> (8 * i));
        }
        break;
    }
    }
}

COLORREF ColourOf(const BitmapObject& bitmap, DWORD value) {
    if (bitmap.bitsPixel <= 8) {
        if (value >= bitmap.colours.size()) {
            return RGB(0, 0, 0);
        }
        const RGBQUAD& entry = bitmap.colours[value];
        return RGB(entry.rgbRed, entry.rgbGreen, entry.rgbBlue);
    }
    return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

DWORD ValueOf(const BitmapObject& bitmap, COLORREF colour) {
    if (bitmap.bitsPixel > 8) {
        return static_cast<DWORD>(GetRValue(colour)) << 16 |
               static_cast<DWORD>(GetGValue(colour)) << 8 | GetBValue(colour);
    }
    DWORD best = 0;
    DWORD bestDistance = UINT32_MAX;
    for (DWORD i = 0; i < bitmap.colours.size(); ++i) {
        const DWORD distance = Distance(bitmap.colours[i], colour);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

DWORD ValueMask(const BitmapObject& bitmap) {
    return bitmap.bitsPixel <= 8 ? (DWORD{1} << bitmap.bitsPixel) - 1 : 0x00FFFFFF;
}

bool IsMonochrome(const BitmapObject& bitmap) {
    return bitmap.bitsPixel == 1 && !bitmap.section;
}

} // namespace moltr::platform
