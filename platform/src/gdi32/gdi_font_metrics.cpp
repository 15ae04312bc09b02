// The dialog font's base units.
#include "src/gdi32/gdi_font_metrics.h"

#include <algorithm>
#include <cstdint>

namespace moltr::platform {
namespace {

constexpr LONG kDefaultEm = 12;
constexpr LONG kMaxEm = 16384;

// a * b / c rounded half away from zero, for the small positive values here.
LONG Scale(LONG a, LONG b, LONG c) {
    return static_cast<LONG>((static_cast<int64_t>(a) * b * 2 + c) / (2 * c));
}

struct Height {
    LONG em = kDefaultEm;
    LONG cell = 0;
};

Height HeightOf(const LOGFONTW& font) {
    const int64_t requested = font.lfHeight;
    Height height;
    if (requested > 0) {
        height.cell = static_cast<LONG>(std::min<int64_t>(requested, Scale(kMaxEm, 6, 5)));
        height.em = std::clamp<LONG>(Scale(height.cell, 5, 6), 1, kMaxEm);
    } else {
        if (requested < 0) {
            height.em = static_cast<LONG>(std::min<int64_t>(-requested, kMaxEm));
        }
        height.cell = Scale(height.em, 6, 5);
    }
    height.cell = std::max<LONG>(height.cell, 1);
    return height;
}

LONG LetterWidth(LONG average, char16_t letter) {
    const bool wide = (letter >= u'A' && letter <= u'Z') || letter == u'm' || letter == u'w';
    return wide ? average + 1 : average;
}

} // namespace

DialogBaseUnits DialogBaseUnitsOf(const LOGFONTW& font) {
    const Height height = HeightOf(font);
    const LONG weight = font.lfWeight == FW_DONTCARE ? FW_NORMAL : font.lfWeight;
    const LONG average =
        std::max<LONG>(Scale(height.em, 9, 20), 1) + (weight >= FW_SEMIBOLD ? 1 : 0);
    LONG letters = 0;
    for (char16_t upper = u'A'; upper <= u'Z'; ++upper) {
        const char16_t lower = static_cast<char16_t>(upper - u'A' + u'a');
        letters += LetterWidth(average, upper) + LetterWidth(average, lower);
    }
    return {(letters + 26) / 52, height.cell};
}

} // namespace moltr::platform
