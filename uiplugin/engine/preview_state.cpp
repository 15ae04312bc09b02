#include "uiplugin/engine/preview_state.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>

namespace moltr::ui {
namespace {

constexpr LONG kUnitsPerInch = 600;
constexpr LONG kTenthMillimetresPerInch = 254;

// The standard papers the printers offer, in 0.1 mm (inch sizes are exact in these units).
struct StandardPaper {
    short code;
    LONG width;
    LONG length;
};
constexpr StandardPaper kStandardPapers[] = {
    {DMPAPER_LETTER, 2159, 2794},     {DMPAPER_LETTERSMALL, 2159, 2794},
    {DMPAPER_TABLOID, 2794, 4318},    {DMPAPER_LEDGER, 4318, 2794},
    {DMPAPER_LEGAL, 2159, 3556},      {DMPAPER_STATEMENT, 1397, 2159},
    {DMPAPER_EXECUTIVE, 1842, 2667},  {DMPAPER_A3, 2970, 4200},
    {DMPAPER_A4, 2100, 2970},         {DMPAPER_A4SMALL, 2100, 2970},
    {DMPAPER_A5, 1480, 2100},         {DMPAPER_B4, 2500, 3540},
    {DMPAPER_B5, 1820, 2570},         {DMPAPER_FOLIO, 2159, 3302},
    {DMPAPER_11X17, 2794, 4318},      {DMPAPER_ENV_10, 1048, 2413},
    {DMPAPER_ENV_DL, 1100, 2200},     {DMPAPER_ENV_C5, 1620, 2290},
    {DMPAPER_ENV_C6, 1140, 1620},     {DMPAPER_ENV_B5, 1760, 2500},
    {DMPAPER_ENV_MONARCH, 984, 1905},
};

// The pages per sheet of each _NUP_PAGES index; 1 for an index without one.
constexpr DWORD kPagesPerSheet[] = {1, 2, 4, 6, 9, 16, 1, 2, 4, 6, 9, 16};
// _BOOKLET: 1 is off; 7 binds on the right.
constexpr DWORD kBookletOff = 1;
constexpr DWORD kBookletRight = 7;
// _WMK_ANGLE: along the page's diagonal, or at the degrees of _WMK_DEGREE; others level.
constexpr DWORD kAngleDiagonal = 1;
constexpr DWORD kAngleDegrees = 3;
constexpr DWORD kMaxLevel = 255;

LONG FromTenthMillimetres(LONG value) {
    return static_cast<LONG>(
        std::lround(static_cast<double>(value) * kUnitsPerInch / kTenthMillimetresPerInch));
}

// Reads a setting of `size` bytes (1, 2 or 4) as a number; false when the devmode lacks it.
bool ReadNumber(common::IDrvSettings* settings, void* privateDevMode, LPCWSTR name, DWORD size,
                DWORD& value) {
    DWORD read = 0;
    if (FAILED(settings->GetValue(privateDevMode, name, &read, size, common::kLayoutDevMode))) {
        return false;
    }
    value = read;
    return true;
}

// A text setting of 64 characters, kept terminated.
void ReadText(common::IDrvSettings* settings, void* privateDevMode, LPCWSTR name,
              WCHAR (&text)[kWatermarkRecordText]) {
    constexpr DWORD kFieldCharacters = 64;
    WCHAR read[kFieldCharacters + 1] = {};
    if (SUCCEEDED(settings->GetValue(privateDevMode, name, read, kFieldCharacters * sizeof(WCHAR),
                                     common::kLayoutDevMode))) {
        lstrcpynW(text, read, kWatermarkRecordText);
    }
}

LONG WatermarkAngle(DWORD mode, DWORD degrees, LONG width, LONG length) {
    if (mode == kAngleDiagonal && width > 0) {
        return static_cast<LONG>(std::atan(static_cast<double>(length) / width) * 180.0 /
                                 std::numbers::pi);
    }
    return mode == kAngleDegrees ? static_cast<LONG>(degrees % 360) : 0;
}

void FillLayout(common::IDrvSettings* settings, void* privateDevMode, PreviewState& state) {
    DWORD value = 0;
    if (ReadNumber(settings, privateDevMode, L"_NUP_PAGES", 1, value)) {
        state.pagesPerSheet = value < std::size(kPagesPerSheet) ? kPagesPerSheet[value] : 1;
    }
    if (ReadNumber(settings, privateDevMode, L"_NUP_BORDER", 1, value)) {
        state.pageBorders = value != 0;
    }
    if (ReadNumber(settings, privateDevMode, L"_NUP_ORDER", 1, value)) {
        state.pageOrder = value >= 1 && value <= 4 ? value : 1;
    }
    // A booklet puts two pages on each side of the sheet, as the core driver lays it out.
    if (ReadNumber(settings, privateDevMode, L"_BOOKLET", 1, value) && value != kBookletOff) {
        state.layoutType = kPreviewLayoutBooklet;
        state.pagesPerSheet = 2;
        state.rightToLeftBinding = value == kBookletRight;
    }
    if (ReadNumber(settings, privateDevMode, L"_SCALE_FACTOR", 2, value)) {
        state.scalePercent = value;
    }
    if (ReadNumber(settings, privateDevMode, L"_SCALEDOCON_ENABLED", 1, value)) {
        state.scaleToFit = value != 0;
    }
}

void FillWatermark(common::IDrvSettings* settings, void* privateDevMode, PreviewState& state,
                   WatermarkRecord& watermark) {
    DWORD value = 0;
    if (ReadNumber(settings, privateDevMode, L"_WMK_ENABLED", 1, value)) {
        state.watermarkOff = value == 0;
    }
    if (ReadNumber(settings, privateDevMode, L"_WMK_1STPAGEONLY", 1, value)) {
        state.watermarkFirstPageOnly = value != 0;
    }
    ReadText(settings, privateDevMode, L"_WMK_TEXT", watermark.text);
    ReadText(settings, privateDevMode, L"_WMK_FONT", watermark.faceName);
    if (ReadNumber(settings, privateDevMode, L"_WMK_SIZE", 2, value)) {
        watermark.size = static_cast<LONG>(value);
    }
    if (ReadNumber(settings, privateDevMode, L"_WMK_STYLE", 1, value)) {
        watermark.style = static_cast<LONG>(value);
    }
    DWORD colour = 0;
    DWORD shade = 0;
    ReadNumber(settings, privateDevMode, L"_WMK_COLOR", 4, colour);
    ReadNumber(settings, privateDevMode, L"_WMK_SHADE", 2, shade);
    watermark.colour = WatermarkColour(colour, static_cast<BYTE>(std::min(shade, kMaxLevel)),
                                       state.monochrome ? 0 : 1);
    DWORD mode = 0;
    DWORD degrees = 0;
    ReadNumber(settings, privateDevMode, L"_WMK_ANGLE", 1, mode);
    ReadNumber(settings, privateDevMode, L"_WMK_DEGREE", 2, degrees);
    const bool turned = IsLandscape(state);
    watermark.angle = WatermarkAngle(mode, degrees, turned ? state.paperLength : state.paperWidth,
                                     turned ? state.paperWidth : state.paperLength);
}

} // namespace

bool IsLandscape(const PreviewState& state) {
    return state.orientation > 1;
}

bool IsBooklet(const PreviewState& state) {
    return state.layoutType == kPreviewLayoutBooklet ||
           state.layoutType == kPreviewLayoutBookletAlternate;
}

COLORREF WatermarkColour(COLORREF base, BYTE level, DWORD flag) {
    if (flag == 0) {
        return RGB(level, level, level);
    }
    const auto lighten = [&](BYTE c) {
        return static_cast<BYTE>(255 - ((255 - c) * (255 - level) / 255));
    };
    return RGB(lighten(GetRValue(base)), lighten(GetGValue(base)), lighten(GetBValue(base)));
}

SIZE PreviewPaperSize(const DEVMODEW& devmode) {
    const DWORD both = DM_PAPERWIDTH | DM_PAPERLENGTH;
    if ((devmode.dmFields & both) == both && devmode.dmPaperWidth > 0 &&
        devmode.dmPaperLength > 0) {
        return {FromTenthMillimetres(devmode.dmPaperWidth),
                FromTenthMillimetres(devmode.dmPaperLength)};
    }
    for (const StandardPaper& paper : kStandardPapers) {
        if (paper.code == devmode.dmPaperSize) {
            return {FromTenthMillimetres(paper.width), FromTenthMillimetres(paper.length)};
        }
    }
    return {0, 0};
}

void FillPreviewState(const DEVMODEW& devmode, common::IDrvSettings* settings, void* privateDevMode,
                      PreviewState& state, WatermarkRecord& watermark) {
    state.orientation = devmode.dmOrientation;
    const SIZE paper = PreviewPaperSize(devmode);
    state.paperWidth = paper.cx;
    state.paperLength = paper.cy;
    state.monochrome = !((devmode.dmFields & DM_COLOR) && devmode.dmColor == DMCOLOR_COLOR);
    if (settings == nullptr || privateDevMode == nullptr) {
        return;
    }
    FillLayout(settings, privateDevMode, state);
    FillWatermark(settings, privateDevMode, state, watermark);
}

} // namespace moltr::ui
