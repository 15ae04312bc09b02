// The dialog font's metric.
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

} // namespace

FontMetric MetricOf(const LOGFONTW& font) {
    const int64_t requested = font.lfHeight;
    LONG em = kDefaultEm;
    LONG height = 0;
    if (requested > 0) {
        height = static_cast<LONG>(std::min<int64_t>(requested, Scale(kMaxEm, 6, 5)));
        em = std::clamp<LONG>(Scale(height, 5, 6), 1, kMaxEm);
    } else {
        if (requested < 0) {
            em = static_cast<LONG>(std::min<int64_t>(-requested, kMaxEm));
        }
        height = Scale(em, 6, 5);
    }
    FontMetric metric;
    metric.height = std::max<LONG>(height, 1);
    metric.ascent = Scale(metric.height, 4, 5);
    metric.descent = metric.height - metric.ascent;
    metric.internalLeading = std::max<LONG>(metric.height - em, 0);
    metric.weight = font.lfWeight == FW_DONTCARE ? FW_NORMAL : font.lfWeight;
    metric.aveCharWidth =
        std::max<LONG>(Scale(em, 9, 20), 1) + (metric.weight >= FW_SEMIBOLD ? 1 : 0);
    metric.maxCharWidth = 2 * metric.aveCharWidth;
    return metric;
}

LONG CharWidth(const FontMetric& metric, WCHAR c) {
    switch (c) {
    case u' ':
    case u'.':
    case u',':
    case u':':
    case u';':
    case u'\'':
    case u'!':
    case u'|':
    case u'`':
        return std::max<LONG>(metric.aveCharWidth / 2, 1);
    case u'm':
    case u'w':
        return metric.aveCharWidth + 1;
    default:
        return c >= u'A' && c <= u'Z' ? metric.aveCharWidth + 1 : metric.aveCharWidth;
    }
}

LONG TextWidth(const FontMetric& metric, std::u16string_view text) {
    int64_t width = 0;
    for (char16_t c : text) {
        width = std::min<int64_t>(width + CharWidth(metric, static_cast<WCHAR>(c)), INT32_MAX);
    }
    return static_cast<LONG>(width);
}

} // namespace moltr::platform
