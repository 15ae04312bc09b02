#pragma once
// The compressions of raster rows the renderer writes: PCL 5's run-length mode (ESC*b1M: pairs of
// a repeat count less one and the byte) and the PackBits runs that PCL XL's eRLECompression
// takes (a control byte n: 0..127 copies n+1 literal bytes, 129..255 repeats the next byte 257-n
// times).
#include <windows.h>
#include <vector>

namespace moltr::unidrv {

// Appends the encoding of `size` bytes to `out`.
void AppendRunLength(const BYTE* row, size_t size, std::vector<BYTE>* out);
void AppendPackBits(const BYTE* row, size_t size, std::vector<BYTE>* out);

} // namespace moltr::unidrv
