#pragma once
// The number parsing of values: decimal only, leading white space and one sign allowed, stopping
// at the first character that is not a digit (so "0x10" is 0), saturating on overflow.
#include <windows.h>
#include <string_view>

namespace moltr::compiler {

// Signed 32-bit parsing: overflow gives the largest or smallest LONG.
LONG ParseSigned32(std::u16string_view text);
// Unsigned 32-bit parsing: a minus sign negates modulo 2^32 (-1 gives 0xFFFFFFFF); overflow of the
// digits gives 0xFFFFFFFF.
DWORD ParseUnsigned32(std::u16string_view text);

} // namespace moltr::compiler
