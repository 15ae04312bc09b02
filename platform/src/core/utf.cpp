#include "sim/utf.h"
#include "src/core/text_utf8.h"

namespace moltr::sim {

std::string Utf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    text::EncodeUtf8(text, false, out);
    return out;
}

std::string Utf8(const WCHAR* text) {
    return Utf8(View(text));
}

std::string Utf8(const WCHAR* text, size_t length) {
    return Utf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

std::u16string Utf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    text::DecodeUtf8(utf8, false, out);
    return out;
}

} // namespace moltr::sim
