#include "compiler/decimal_number.h"

namespace moltr::compiler {

namespace {

struct Digits {
    bool negative = false;
    bool overflow = false; // the magnitude exceeds 32 bits
    unsigned long long magnitude = 0;
};

Digits ReadDigits(std::u16string_view text) {
    Digits digits;
    size_t at = 0;
    while (at < text.size() && (text[at] == u' ' || (text[at] >= u'\t' && text[at] <= u'\r'))) {
        ++at;
    }
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) {
        digits.negative = text[at] == u'-';
        ++at;
    }
    for (; at < text.size() && text[at] >= u'0' && text[at] <= u'9'; ++at) {
        digits.magnitude = digits.magnitude * 10 + static_cast<unsigned>(text[at] - u'0');
        if (digits.magnitude > 0xFFFFFFFFULL) {
            digits.overflow = true;
            digits.magnitude = 0xFFFFFFFFULL + 1;
        }
    }
    return digits;
}

} // namespace

LONG ParseSigned32(std::u16string_view text) {
    const Digits digits = ReadDigits(text);
    if (digits.negative) {
        return digits.magnitude >= 0x80000000ULL ? static_cast<LONG>(-0x7FFFFFFF - 1)
                                                 : -static_cast<LONG>(digits.magnitude);
    }
    return digits.magnitude > 0x7FFFFFFFULL ? static_cast<LONG>(0x7FFFFFFF)
                                            : static_cast<LONG>(digits.magnitude);
}

DWORD ParseUnsigned32(std::u16string_view text) {
    const Digits digits = ReadDigits(text);
    if (digits.overflow) {
        return 0xFFFFFFFFUL;
    }
    const DWORD magnitude = static_cast<DWORD>(digits.magnitude);
    return digits.negative ? 0U - magnitude : magnitude;
}

} // namespace moltr::compiler
