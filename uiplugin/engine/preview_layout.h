#pragma once
// The geometry of the page preview, in the logical units of its isotropic mapping (1/600 inch of
// the paper): the window that fits the sheet into the control, the sheet, the grid of page cells
// and the cells in page order.
#include <windows.h>
#include <vector>
#include "uiplugin/engine/preview_state.h"

namespace moltr::ui {

// The cells of a page area of w by h: the gap, columns and rows, the cell size and the vertical
// and horizontal gaps between cells. No columns when the area or a derived size is empty.
struct PageGrid {
    LONG gap = 0;
    LONG columns = 0;
    LONG rows = 0;
    LONG cellWidth = 0;
    LONG cellHeight = 0;
    LONG rowGap = 0;
    LONG columnGap = 0;
};

PageGrid GridOf(const PreviewState& state, LONG w, LONG h);

struct PreviewLayout {
    LONG window = 0; // side of the square window; 0 when there is nothing to draw
    LONG pixel = 0;  // logical units in a device pixel
    SIZE extent{};   // the control, in logical units
    RECT sheet{};
    RECT area{}; // the sheet less its unprintable margins
    PageGrid grid;
    LONG margin = 0; // the page-number offset, also the mock text's margin
    LONG border = 0;
    DWORD order = 1;
    std::vector<RECT> cells; // in page order, the first page first
};

// The layout for a control of `width` by `height` device pixels.
PreviewLayout LayOutPreview(const PreviewState& state, LONG width, LONG height);

// `value` rounded to whole device pixels of `pixel` logical units.
LONG WholePixels(LONG value, LONG pixel);

} // namespace moltr::ui
