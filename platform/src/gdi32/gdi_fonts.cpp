// Fonts and their text metrics: CreateFontIndirectW, CreateFontW, GetTextMetricsW and
// GetTextExtentPoint32W, measured on the faces the text is drawn with. A font's sizes are logical
// units: it is realised at the size the DC's mapping gives them on the device, and measures are
// answered in logical units again.
#include "src/gdi32/gdi_font_faces.h"
#include "src/gdi32/gdi_mapping.h"
#include "src/gdi32/gdi_objects.h"

#include <windows.h>
#include <cmath>

namespace moltr::platform {

namespace {

LOGFONTW DeviceFont(const DcState& state, const LOGFONTW& logical) {
    LOGFONTW device = logical;
    device.lfHeight = DeviceLength(ScaleY(state), logical.lfHeight);
    device.lfWidth = DeviceLength(ScaleX(state), logical.lfWidth);
    return device;
}

} // namespace

std::shared_ptr<const RealisedFont> RealisedFontOf(const DcObject& dc) {
    FontObject* font = FindFont(dc.state.font);
    const LOGFONTW device = DeviceFont(dc.state, font->logFont);
    if (!font->realised || device.lfHeight != font->realisedAs.lfHeight ||
        device.lfWidth != font->realisedAs.lfWidth) {
        font->realised = RealiseFont(device);
        font->realisedAs = device;
    }
    if (!font->realised) {
        SetLastError(ERROR_FILE_NOT_FOUND);
    }
    return font->realised;
}

} // namespace moltr::platform

using namespace moltr::platform;

namespace {

// The DC's font as realised, and the device pixels a logical unit has along x and y.
struct MeasuredFont {
    std::shared_ptr<const RealisedFont> font;
    double scaleX = 1;
    double scaleY = 1;
};

MeasuredFont FontOf(HDC hdc) {
    std::lock_guard guard(GdiLock());
    const DcObject* dc = FindDc(hdc);
    if (!dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return {};
    }
    return {RealisedFontOf(*dc), ScaleX(dc->state), ScaleY(dc->state)};
}

LONG Logical(LONG device, double scale) {
    return static_cast<LONG>(std::lround(device / scale));
}

TEXTMETRICW LogicalMetric(const MeasuredFont& measured) {
    TEXTMETRICW metric = measured.font->Metric();
    for (LONG* height : {&metric.tmHeight, &metric.tmAscent, &metric.tmDescent,
                         &metric.tmInternalLeading, &metric.tmExternalLeading}) {
        *height = Logical(*height, measured.scaleY);
    }
    for (LONG* width : {&metric.tmAveCharWidth, &metric.tmMaxCharWidth, &metric.tmOverhang}) {
        *width = Logical(*width, measured.scaleX);
    }
    return metric;
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

HFONT WINAPI CreateFontW(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight,
                         DWORD bItalic, DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet,
                         DWORD iOutPrecision, DWORD iClipPrecision, DWORD iQuality,
                         DWORD iPitchAndFamily, LPCWSTR pszFaceName) {
    LOGFONTW font{};
    font.lfHeight = cHeight;
    font.lfWidth = cWidth;
    font.lfEscapement = cEscapement;
    font.lfOrientation = cOrientation;
    font.lfWeight = cWeight;
    font.lfItalic = static_cast<BYTE>(bItalic);
    font.lfUnderline = static_cast<BYTE>(bUnderline);
    font.lfStrikeOut = static_cast<BYTE>(bStrikeOut);
    font.lfCharSet = static_cast<BYTE>(iCharSet);
    font.lfOutPrecision = static_cast<BYTE>(iOutPrecision);
    font.lfClipPrecision = static_cast<BYTE>(iClipPrecision);
    font.lfQuality = static_cast<BYTE>(iQuality);
    font.lfPitchAndFamily = static_cast<BYTE>(iPitchAndFamily);
    // A longer name is cut to the room a LOGFONTW has.
    if (pszFaceName) {
        lstrcpynW(font.lfFaceName, pszFaceName, LF_FACESIZE);
    }
    return CreateFontIndirectW(&font);
}

BOOL WINAPI GetTextMetricsW(HDC hdc, LPTEXTMETRICW lptm) {
    const MeasuredFont measured = FontOf(hdc);
    if (!measured.font) {
        return FALSE;
    }
    if (!lptm) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lptm = LogicalMetric(measured);
    return TRUE;
}

BOOL WINAPI GetTextExtentPoint32W(HDC hdc, LPCWSTR lpString, int c, LPSIZE psizl) {
    const MeasuredFont measured = FontOf(hdc);
    const RealisedFont* font = measured.font.get();
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
    psizl->cx = Logical(psizl->cx, measured.scaleX);
    psizl->cy = Logical(font->Metric().tmHeight, measured.scaleY);
    return TRUE;
}
}
