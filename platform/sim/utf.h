#pragma once
// UTF-8 and UTF-16 conversions for the simulation and the tests (host build only). Wide text is
// handled as std::u16string, never as std::wstring, whose library code assumes 32-bit characters.
#include <windows.h>
#include <string>
#include <string_view>

namespace moltr::sim {

std::string Utf8(const WCHAR* text);
std::string Utf8(const WCHAR* text, size_t length);
std::string Utf8(std::u16string_view text);
std::u16string Utf16(std::string_view utf8);

inline const WCHAR* W(const std::u16string& text) {
    return reinterpret_cast<const WCHAR*>(text.c_str());
}
inline WCHAR* W(std::u16string& text) {
    return reinterpret_cast<WCHAR*>(text.data());
}
inline std::u16string_view View(const WCHAR* text) {
    return text ? std::u16string_view(reinterpret_cast<const char16_t*>(text)) : std::u16string_view();
}

} // namespace moltr::sim
