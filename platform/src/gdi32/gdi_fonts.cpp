// Fonts and their text metrics: CreateFontIndirectW, GetTextMetricsW and GetTextExtentPoint32W.
#include "src/gdi32/gdi_font_metrics.h"
#include "src/gdi32/gdi_objects.h"
#include "sim/utf.h"

#include <windows.h>

using namespace moltr::platform;

extern "C" {

HFONT WINAPI CreateFontIndirectW(const LOGFONTW* lplf) {
    if (!lplf) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto font = std::make_shared<FontObject>();
    font->logFont = *lplf;
    // The face name is kept terminated even when the caller filled all of it.
    font->logFont.lfFaceName[LF_FACESIZE - 1] = 0;
    std::lock_guard guard(GdiLock());
    const HFONT handle = InsertFont(std::move(font));
    if (!handle) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
    return handle;
}

BOOL WINAPI GetTextMetricsW(HDC hdc, LPTEXTMETRICW lptm) {
    LOGFONTW font;
    if (!SelectedFont(hdc, font)) {
        return FALSE;
    }
    if (!lptm) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lptm = TextMetricOf(font);
    return TRUE;
}

BOOL WINAPI GetTextExtentPoint32W(HDC hdc, LPCWSTR lpString, int c, LPSIZE psizl) {
    LOGFONTW font;
    if (!SelectedFont(hdc, font)) {
        return FALSE;
    }
    if (c < 0 || !psizl || (c > 0 && !lpString)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const FontMetric metric = MetricOf(font);
    psizl->cx =
        c ? TextWidth(metric, std::u16string_view(reinterpret_cast<const char16_t*>(lpString),
                                                  static_cast<size_t>(c)))
          : 0;
    psizl->cy = metric.height;
    return TRUE;
}
}
