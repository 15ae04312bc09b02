#pragma once
// The merge of a watermark stamp into a band: the stamp lies behind the page, so it shows only
// where the band is still white. Both are walked row by row with their own strides.
#include <windows.h>
#include "renderplugin/band_view.h"

namespace moltr::render {

// A 24-bit top-down stamp (blue, green, red in memory, as a DIB section holds it) at least as
// wide and as tall as the band it is merged into.
struct StampView {
    const BYTE* bits = nullptr;
    LONG width = 0;
    LONG height = 0;
    LONG stride = 0;
};

// The grey level of a colour: 19/63 red, 37/63 green, 7/63 blue.
BYTE GreyLevel(BYTE red, BYTE green, BYTE blue);

// Merges the stamp's `area` (band pixels, clipped to the band) into a 24-bit or 8-bit band; a
// 1-bit band (or a stamp smaller than the band) is left as it is. False when nothing was merged
// for that reason.
bool MergeStamp(const BandView& band, const StampView& stamp, RECT area);

} // namespace moltr::render
