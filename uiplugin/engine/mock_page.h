#pragma once
// One page cell of the page preview drawn as a mock page: its frame and border, the page, lines
// standing for text, the pictures of the first page, the watermark and the page number. The DC
// has the preview's mapping; everything is in its logical units.
#include <windows.h>
#include "uiplugin/engine/preview_layout.h"
#include "uiplugin/engine/preview_state.h"

namespace moltr::ui {

// A drawing's colour on a mock page: `base` inverted with the negative flag, then paled with the
// grey flag.
COLORREF MockColour(const PreviewState& state, COLORREF base);

// Draws the cell of page `index` (from 0) of `layout`.
void DrawMockPage(HDC dc, const PreviewState& state, const PreviewLayout& layout,
                  const WatermarkRecord& watermark, size_t index);

} // namespace moltr::ui
