#include "src/core/text_utf8.h"

namespace moltr::sim::text {
namespace {

void AppendUtf16(std::u16string& out, char32_t c) {
    if (c >= 0x10000) {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
        out += static_cast<char16_t>(c);
    }
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

// One U+FFFD per maximal ill-formed subpart, as Unicode recommends and Windows does: a lead byte
// with the trail bytes that could still belong to it is one error, the byte that breaks the
// sequence starts anew. Overlong forms, surrogates and values above U+10FFFF are ill-formed.
bool DecodeUtf8(std::string_view bytes, bool strict, std::u16string& out) {
    size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            out += static_cast<char16_t>(lead);
            ++i;
            continue;
        }
        size_t trails = 0;
        char32_t c = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            trails = 1;
            c = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            trails = 2;
            c = lead & 0x0F;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            trails = 3;
            c = lead & 0x07;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        }
        size_t used = 1;
        bool valid = trails > 0;
        while (valid && used <= trails) {
            const unsigned char trail =
                i + used < bytes.size() ? static_cast<unsigned char>(bytes[i + used]) : 0;
            valid = trail >= low && trail <= high;
            if (valid) {
                c = (c << 6) | (trail & 0x3F);
                low = 0x80;
                high = 0xBF;
                ++used;
            }
        }
        if (!valid) {
            if (strict) {
                return false;
            }
            out += u'\uFFFD';
        } else {
            AppendUtf16(out, c);
        }
        i += used;
    }
    return true;
}

bool EncodeUtf8(std::u16string_view text, bool strict, std::string& out) {
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            if (strict) {
                return false;
            }
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return true;
}

} // namespace moltr::sim::text
