#pragma once
// What the page preview shows, taken from a document's devmode: the sheet's paper, the pages per
// sheet and their order, scaling, borders and the watermark.
#include <windows.h>
#include "common/drv_settings.h"

namespace moltr::ui {

inline constexpr DWORD kPreviewLayoutNormal = 0;
inline constexpr DWORD kPreviewLayoutBooklet = 8;
inline constexpr DWORD kPreviewLayoutBookletAlternate = 17;
inline constexpr DWORD kPreviewUnitMillimetres = 1;
inline constexpr DWORD kPreviewUnitInches = 2;

// Lengths are in 1/600 inch.
struct PreviewState {
    bool negative = false;
    bool grey = false;
    bool monochrome = true;
    bool pageBorders = false;
    bool watermarkFirstPageOnly = false;
    bool scaleToFit = false;
    DWORD pagesPerSheet = 1; // 1, 2, 4, 6, 9 or 16
    DWORD orientation = 0;   // 0 and 1 portrait, other values landscape
    DWORD layoutType = kPreviewLayoutNormal;
    DWORD scalePercent = 100;
    DWORD pageOrder = 1; // 1 to 4
    bool rightToLeftBinding = false;
    LONG borderWidth = 0;
    LONG gap = 0;
    DWORD units = kPreviewUnitInches;
    bool rightToLeftText = false;
    bool watermarkOff = true;
    LONG paperWidth = 0;
    LONG paperLength = 0;
    RECT printableOffsets{}; // the unprintable margins at each edge
    RECT client{};
    RECT sheet{};
    RECT page{};
};

inline constexpr size_t kWatermarkRecordText = 128;

struct WatermarkRecord {
    WCHAR text[kWatermarkRecordText] = {};
    WCHAR faceName[kWatermarkRecordText] = {};
    BYTE charSet = DEFAULT_CHARSET;
    LONG size = 0;  // points
    LONG style = 0; // 1 bold, 2 italic, 3 bold italic, others regular
    COLORREF colour = 0;
    LONG angle = 0; // degrees counter-clockwise
};

bool IsLandscape(const PreviewState& state);
bool IsBooklet(const PreviewState& state);

// The watermark colour rule: `flag` 0 gives the grey of `level`; 1 lightens each component of
// `base` towards white by `level` (0 keeps the colour, 255 gives white).
COLORREF WatermarkColour(COLORREF base, BYTE level, DWORD flag);

// The paper of a devmode in 1/600 inch: its own width and length when it gives both, else the
// standard size of its paper; 0 by 0 for a size this does not know.
SIZE PreviewPaperSize(const DEVMODEW& devmode);

// Fills `state` and `watermark` from a document's public devmode and its private devmode, read
// through the printer's settings object. Settings the private devmode lacks keep their defaults.
void FillPreviewState(const DEVMODEW& devmode, common::IDrvSettings* settings, void* privateDevMode,
                      PreviewState& state, WatermarkRecord& watermark);

} // namespace moltr::ui
