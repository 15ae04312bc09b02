#pragma once
// Lower-case hexadecimal numbers in wide text, as the quick-settings records hold them.
#include <windows.h>
#include <cstddef>

namespace moltr::ui {

inline constexpr size_t kHexDigitsMax = 8;

// Writes `value` without leading zeros ("0" for zero) and a terminator into `digits`.
void FormatHex(DWORD value, WCHAR (&digits)[kHexDigitsMax + 1]);

// Reads the hexadecimal number that makes up all of `text` (`length` characters, 1 to 8 digits);
// false otherwise.
bool ParseHex(LPCWSTR text, size_t length, DWORD* value);

// Reads an optionally signed decimal number that makes up all of `text`; false otherwise or when
// it does not fit in 32 bits.
bool ParseDecimal(LPCWSTR text, LONG* value);

} // namespace moltr::ui
