#include "uiplugin/engine/hex_text.h"

namespace moltr::ui {

void FormatHex(DWORD value, WCHAR (&digits)[kHexDigitsMax + 1]) {
    WCHAR reversed[kHexDigitsMax];
    size_t count = 0;
    do {
        reversed[count++] = static_cast<WCHAR>(L"0123456789abcdef"[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    for (size_t i = 0; i < count; ++i) {
        digits[i] = reversed[count - 1 - i];
    }
    digits[count] = 0;
}

namespace {

int HexDigit(WCHAR c) {
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (c >= L'a' && c <= L'f') {
        return c - L'a' + 10;
    }
    if (c >= L'A' && c <= L'F') {
        return c - L'A' + 10;
    }
    return -1;
}

} // namespace

bool ParseHex(LPCWSTR text, size_t length, DWORD* value) {
    if (length == 0 || length > kHexDigitsMax) {
        return false;
    }
    DWORD result = 0;
    for (size_t i = 0; i < length; ++i) {
        const int digit = HexDigit(text[i]);
        if (digit < 0) {
            return false;
        }
        result = (result << 4) | static_cast<DWORD>(digit);
    }
    *value = result;
    return true;
}

bool ParseDecimal(LPCWSTR text, LONG* value) {
    const bool negative = text[0] == L'-';
    LPCWSTR digits = negative || text[0] == L'+' ? text + 1 : text;
    if (digits[0] == 0) {
        return false;
    }
    long long result = 0;
    for (LPCWSTR at = digits; *at != 0; ++at) {
        if (*at < L'0' || *at > L'9') {
            return false;
        }
        result = result * 10 + (*at - L'0');
        if (result > 0x80000000LL) {
            return false;
        }
    }
    result = negative ? -result : result;
    if (result > 0x7FFFFFFFLL) {
        return false;
    }
    *value = static_cast<LONG>(result);
    return true;
}

} // namespace moltr::ui
