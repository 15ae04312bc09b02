// Fonts and their text metrics: CreateFontIndirectW, GetTextMetricsW and GetTextExtentPoint32W,
// measured on the faces the text is drawn with.
#include "src/gdi32/gdi_font_faces.h"
#include "src/gdi32/gdi_objects.h"

#include <windows.h>

namespace moltr::platform {

std::shared_ptr<const RealisedFont> RealisedFontOf(const DcObject& dc) {
    FontObject* font = FindFont(dc.state.font);
    if (!font->realised) {
        font->realised = RealiseFont(font->logFont);
    }
    if (!font->realised) {
        SetLastError(ERROR_FILE_NOT_FOUND);
    }
    return font->realised;
}

} // namespace moltr::platform

using namespace moltr::platform;

namespace {

std::shared_ptr<const RealisedFont> FontOf(HDC hdc) {
    std::lock_guard guard(GdiLock());
    const DcObject* dc = FindDc(hdc);
    if (!dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return RealisedFontOf(*dc);
}

} // namespace

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
    const std::shared_ptr<const RealisedFont> font = FontOf(hdc);
    if (!font) {
        return FALSE;
    }
    if (!lptm) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lptm = font->Metric();
    return TRUE;
}

BOOL WINAPI GetTextExtentPoint32W(HDC hdc, LPCWSTR lpString, int c, LPSIZE psizl) {
    const std::shared_ptr<const RealisedFont> font = FontOf(hdc);
    if (!font) {
        return FALSE;
    }
    if (c < 0 || !psizl || (c > 0 && !lpString)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    psizl->cx =
        c ? TextAdvance(*font, std::u16string_view(reinterpret_cast<const char16_t*>(lpString),
                                                   static_cast<size_t>(c)))
          : 0;
    psizl->cy = font->Metric().tmHeight;
    return TRUE;
}
}
