#include "src/core/wide_text.h"

#include <cstring>

namespace moltr::sim {

char16_t UpperChar(char16_t c) {
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
        return static_cast<char16_t>(c - 0x20);
    }
    return c == 0xFF ? char16_t(0x178) : c;
}

std::u16string Upper(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out) {
        c = UpperChar(c);
    }
    return out;
}

bool EqualNoCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (UpperChar(a[i]) != UpperChar(b[i])) {
            return false;
        }
    }
    return true;
}

DWORD CopyOut(std::u16string_view text, WCHAR* buffer, DWORD size) {
    if (!buffer || text.size() >= size) {
        return static_cast<DWORD>(text.size() + 1);
    }
    std::memcpy(buffer, text.data(), text.size() * sizeof(WCHAR));
    buffer[text.size()] = 0;
    return static_cast<DWORD>(text.size());
}

} // namespace moltr::sim
