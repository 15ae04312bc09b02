#pragma once
// The byte tables of the single-byte code pages the simulation knows.
#include <windows.h>

namespace moltr::sim::text {

// Characters of the bytes 0x80 to 0xFF of a single-byte code page (0x00 to 0x7F are ASCII in all of
// them), or nullptr for a page that is not a known single-byte one.
const char16_t* HighHalf(UINT codePage);

} // namespace moltr::sim::text
