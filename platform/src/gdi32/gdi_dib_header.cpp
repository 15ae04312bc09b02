// Reading the headers of device-independent bitmaps.
#include "src/gdi32/gdi_dib_header.h"
#include "src/kernel32/resource_image.h"

#include <cstdint>

namespace moltr::platform {
namespace {

constexpr DWORD kCoreHeaderSize = 12;
constexpr DWORD kInfoHeaderSize = 40;
constexpr LONG kMaxDimension = 0x8000;
constexpr DWORD kBitFieldMasksSize = 3 * sizeof(DWORD);

bool KnownBitCount(WORD bitCount) {
    switch (bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        return true;
    default:
        return false;
    }
}

} // namespace

bool ParseDibHeader(const BYTE* data, size_t size, DibHeader& header) {
    if (!data || size < sizeof(DWORD)) {
        return false;
    }
    const DWORD headerSize = ReadDword(data);
    size_t colourBytes = 0;
    if (headerSize == kCoreHeaderSize && size >= kCoreHeaderSize) {
        header.width = ReadWord(data + 4);
        header.height = ReadWord(data + 6);
        if (ReadWord(data + 8) != 1) {
            return false;
        }
        header.bitCount = ReadWord(data + 10);
        header.compression = BI_RGB;
        header.sizeImage = 0;
        colourBytes = header.bitCount <= 8 ? (size_t{1} << header.bitCount) * 3 : 0;
    } else if (headerSize >= kInfoHeaderSize && headerSize <= size) {
        header.width = static_cast<LONG>(ReadDword(data + 4));
        header.height = static_cast<LONG>(ReadDword(data + 8));
        if (ReadWord(data + 12) != 1) {
            return false;
        }
        header.bitCount = ReadWord(data + 14);
        header.compression = ReadDword(data + 16);
        header.sizeImage = ReadDword(data + 20);
        const DWORD used = ReadDword(data + 32);
        if (used > 256 && header.bitCount <= 8) {
            return false;
        }
        const size_t entries =
            used ? used : (header.bitCount <= 8 ? size_t{1} << header.bitCount : 0);
        colourBytes = entries * sizeof(RGBQUAD);
        // The masks of BI_BITFIELDS follow a plain info header; later headers hold them inside.
        if (header.compression == BI_BITFIELDS && headerSize == kInfoHeaderSize) {
            colourBytes += kBitFieldMasksSize;
        }
    } else {
        return false;
    }
    if (header.width <= 0 || header.width > kMaxDimension || header.height == 0 ||
        header.height > 2 * kMaxDimension || header.height < -kMaxDimension ||
        !KnownBitCount(header.bitCount)) {
        return false;
    }
    header.bitsOffset = headerSize + colourBytes;
    return header.bitsOffset <= size;
}

size_t DibRowBytes(LONG width, WORD bitCount) {
    return (static_cast<size_t>(width) * bitCount + 31) / 32 * 4;
}

size_t DibPixelBytes(const DibHeader& header, LONG rows) {
    if (header.compression != BI_RGB && header.compression != BI_BITFIELDS) {
        return header.sizeImage;
    }
    return DibRowBytes(header.width, header.bitCount) *
           static_cast<size_t>(rows < 0 ? -rows : rows);
}

} // namespace moltr::platform
