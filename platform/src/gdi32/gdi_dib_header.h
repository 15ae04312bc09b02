#pragma once
// The header of a device-independent bitmap as resources hold it (no file header): a
// BITMAPINFOHEADER or later version, or the old BITMAPCOREHEADER, and its colour table.
#include <windows.h>
#include <cstddef>

namespace moltr::platform {

struct DibHeader {
    LONG width = 0;
    LONG height = 0; // as stored: negative for top-down rows, twice the image for icons
    WORD bitCount = 0;
    DWORD compression = BI_RGB;
    DWORD sizeImage = 0;
    size_t bitsOffset = 0; // where the pixels start: after the header and colour table
};

// Reads the header at [data, data + size). False when it is damaged: an unknown header size, a
// size or format the system does not draw, or a colour table beyond the data.
bool ParseDibHeader(const BYTE* data, size_t size, DibHeader& header);

// The bytes of one row of pixels: rows are padded to whole DWORDs.
size_t DibRowBytes(LONG width, WORD bitCount);

// The bytes the pixels of an uncompressed DIB take, or its stated image size when compressed.
size_t DibPixelBytes(const DibHeader& header, LONG rows);

} // namespace moltr::platform
