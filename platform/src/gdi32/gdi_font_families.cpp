// Font enumeration: EnumFontFamiliesW over the TrueType families the screen offers.
#include "src/gdi32/gdi_font_faces.h"
#include "src/gdi32/gdi_objects.h"

#include <windows.h>

#include <algorithm>

namespace moltr::platform {
namespace {

constexpr LPCWSTR kStyleNames[2][2] = {{L"Regular", L"Bold"}, {L"Italic", L"Bold Italic"}};

template <size_t N> void CopyName(WCHAR (&to)[N], std::u16string_view from) {
    const size_t length = std::min(from.size(), N - 1);
    std::copy_n(reinterpret_cast<const WCHAR*>(from.data()), length, to);
    to[length] = 0;
}

bool SameFamily(std::u16string_view a, LPCWSTR b) {
    return lstrcmpiW(reinterpret_cast<LPCWSTR>(std::u16string(a).c_str()), b) == 0;
}

// What the callback receives for one face: the logical font that selects it at the screen's usual
// size, its full and style names, and its TrueType text metric.
struct EnumeratedFace {
    ENUMLOGFONTW font{};
    NEWTEXTMETRICW metric{};
};

EnumeratedFace Describe(const FontFamily& family, const FontStyle& style) {
    EnumeratedFace face;
    LOGFONTW& logical = face.font.elfLogFont;
    logical.lfWeight = style.bold ? FW_BOLD : FW_NORMAL;
    logical.lfItalic = style.italic;
    logical.lfCharSet = family.charSet;
    logical.lfOutPrecision = OUT_STROKE_PRECIS;
    logical.lfClipPrecision = CLIP_STROKE_PRECIS;
    logical.lfQuality = DRAFT_QUALITY;
    CopyName(logical.lfFaceName, family.name);
    std::u16string full = family.name;
    const LPCWSTR styleName = kStyleNames[style.italic][style.bold];
    if (style.bold || style.italic) {
        full += u" ";
        full += reinterpret_cast<const char16_t*>(styleName);
    }
    CopyName(face.font.elfFullName, full);
    CopyName(face.font.elfStyle, reinterpret_cast<const char16_t*>(styleName));
    if (auto realised = RealiseFont(logical)) {
        const TEXTMETRICW& metric = realised->Metric();
        logical.lfHeight = metric.tmHeight;
        logical.lfWidth = metric.tmAveCharWidth;
        logical.lfPitchAndFamily = metric.tmPitchAndFamily & 0xF0;
        std::copy_n(reinterpret_cast<const BYTE*>(&metric), sizeof metric,
                    reinterpret_cast<BYTE*>(&face.metric));
        face.metric.ntmSizeEM = static_cast<UINT>(metric.tmHeight - metric.tmInternalLeading);
        face.metric.ntmCellHeight = static_cast<UINT>(metric.tmHeight);
        face.metric.ntmAvgWidth = static_cast<UINT>(metric.tmAveCharWidth);
    }
    face.metric.tmCharSet = family.charSet;
    face.metric.tmItalic = style.italic;
    face.metric.tmWeight = logical.lfWeight;
    face.metric.ntmFlags = (style.bold ? NTM_BOLD : 0) | (style.italic ? NTM_ITALIC : 0);
    if (!face.metric.ntmFlags) {
        face.metric.ntmFlags = NTM_REGULAR;
    }
    return face;
}

} // namespace
} // namespace moltr::platform

using namespace moltr::platform;

extern "C" {

// Without a family name, one face of every family (its regular one when it has one); with one,
// every face of that family. The answer is the callback's last answer, and the enumeration stops
// at an answer of 0; nothing enumerated answers 1.
int WINAPI EnumFontFamiliesW(HDC hdc, LPCWSTR lpLogfont, FONTENUMPROCW lpProc, LPARAM lParam) {
    {
        std::lock_guard guard(GdiLock());
        if (!FindDc(hdc)) {
            SetLastError(ERROR_INVALID_HANDLE);
            return 0;
        }
    }
    if (!lpProc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int answer = 1;
    for (const FontFamily& family : ScreenFontFamilies()) {
        const bool named = lpLogfont && *lpLogfont;
        if (named && !SameFamily(family.name, lpLogfont)) {
            continue;
        }
        std::vector<FontStyle> styles = FamilyStyles(family.name);
        if (styles.empty()) {
            continue;
        }
        if (!named) {
            styles.resize(1);
        }
        for (const FontStyle& style : styles) {
            const EnumeratedFace face = Describe(family, style);
            answer =
                lpProc(&face.font.elfLogFont, reinterpret_cast<const TEXTMETRICW*>(&face.metric),
                       TRUETYPE_FONTTYPE, lParam);
            if (answer == 0) {
                return 0;
            }
        }
    }
    return answer;
}

} // extern "C"
