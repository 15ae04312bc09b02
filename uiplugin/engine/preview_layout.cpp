#include "uiplugin/engine/preview_layout.h"

#include <algorithm>
#include <cstdint>

namespace moltr::ui {
namespace {

// The margin between the sheet and the control's edges, in pixels, and the smallest paper side
// the window allows for (an inch), so that a tiny paper is not blown up.
constexpr LONG kMarginPixels = 40;
constexpr LONG kMinimumSide = 600;
// Gap and cell-size divisors of the grid rule.
constexpr LONG kGapDivisor = 28;
constexpr LONG kBorderDivisor = 24;
constexpr LONG kBorderPixels = 2;
constexpr DWORD kBookletOrder = 1;
constexpr DWORD kBookletRightToLeftOrder = 3;

// Columns and rows by pages per sheet, in portrait and in landscape, and whether the aspect
// percentage is width over height (else height over width).
struct GridShape {
    DWORD pages;
    LONG portraitColumns;
    LONG portraitRows;
    LONG landscapeColumns;
    LONG landscapeRows;
    bool widthOverHeight;
};
constexpr GridShape kGridShapes[] = {
    {1, 1, 1, 1, 1, true}, {2, 2, 1, 1, 2, true},  {4, 2, 2, 2, 2, false},
    {6, 3, 2, 2, 3, true}, {9, 3, 3, 3, 3, false}, {16, 4, 4, 4, 4, false},
};

GridShape ShapeOf(DWORD pages) {
    for (const GridShape& shape : kGridShapes) {
        if (shape.pages == pages) {
            return shape;
        }
    }
    return kGridShapes[0];
}

// The sheet is turned for 2 and 6 pages per sheet.
bool Turned(DWORD pages) {
    return pages == 2 || pages == 6;
}

// A whole-area cell (one page, or half a sheet in a booklet): no gaps.
PageGrid WholeCells(LONG columns, LONG rows, LONG w, LONG h) {
    PageGrid grid;
    grid.columns = columns;
    grid.rows = rows;
    grid.cellWidth = w / columns;
    grid.cellHeight = h / rows;
    return grid;
}

// In 64 bits: a state's paper may be of any size.
PageGrid SpacedCells(const PreviewState& state, int64_t w, int64_t h) {
    const GridShape shape = ShapeOf(state.pagesPerSheet);
    const bool landscape = IsLandscape(state);
    const int64_t b = landscape ? shape.landscapeColumns : shape.portraitColumns;
    const int64_t r = landscape ? shape.landscapeRows : shape.portraitRows;
    const int64_t q = (w + h) / kGapDivisor;
    const int64_t d = shape.widthOverHeight ? w * 100 / h : h * 100 / w;
    if (d <= 0) {
        return {};
    }
    int64_t g = (h - q * (r + 1)) / r;
    int64_t l = (h - r * g) / (r + 1);
    int64_t m = g * 100 / d;
    int64_t t = (w - b * m) / (b + 1);
    if (t < q / 2) {
        m = (w - (b + 1) * q) / b;
        g = d * m / 100;
        l = (h - r * g) / (r + 1);
        t = (w - b * m) / (b + 1);
    }
    if (m <= 0 || g <= 0) {
        return {};
    }
    const auto narrow = [](int64_t v) { return static_cast<LONG>(v); };
    return {narrow(q), narrow(b), narrow(r), narrow(m), narrow(g), narrow(l), narrow(t)};
}

// The cell of page `index` (from 0) in the page order.
POINT CellOf(DWORD order, LONG index, LONG columns, LONG rows) {
    switch (order) {
    case 2:
        return {index / rows, index % rows};
    case 3:
        return {columns - 1 - index % columns, index / columns};
    case 4:
        return {columns - 1 - index / rows, index % rows};
    default:
        return {index % columns, index / columns};
    }
}

void PlaceCells(PreviewLayout& layout) {
    const PageGrid& grid = layout.grid;
    for (LONG i = 0; i < grid.columns * grid.rows; ++i) {
        const POINT at = CellOf(layout.order, i, grid.columns, grid.rows);
        const LONG left =
            layout.area.left + grid.columnGap + at.x * (grid.cellWidth + grid.columnGap);
        const LONG top = layout.area.top + grid.rowGap + at.y * (grid.cellHeight + grid.rowGap);
        layout.cells.push_back({left, top, left + grid.cellWidth, top + grid.cellHeight});
    }
}

// The side of the square window: s x (max(paper sides, minimum) / (s - margin) + 1); 0 when the
// control is too small to leave the margin.
LONG WindowSide(LONG s, LONG paperWidth, LONG paperLength) {
    if (s <= kMarginPixels) {
        return 0;
    }
    const int64_t longest = std::max({paperWidth, paperLength, kMinimumSide});
    const int64_t side = s * (longest / (s - kMarginPixels) + 1);
    return side > INT32_MAX ? 0 : static_cast<LONG>(side);
}

} // namespace

LONG WholePixels(LONG value, LONG pixel) {
    return (value + pixel / 2) / pixel * pixel;
}

PageGrid GridOf(const PreviewState& state, LONG w, LONG h) {
    if (w <= 0 || h <= 0) {
        return {};
    }
    if (IsBooklet(state)) {
        // The halves lie across the sheet's longer side.
        return IsLandscape(state) ? WholeCells(1, 2, w, h) : WholeCells(2, 1, w, h);
    }
    if (state.pagesPerSheet > 1) {
        return SpacedCells(state, w, h);
    }
    PageGrid grid = WholeCells(1, 1, w, h);
    if (state.scalePercent != 100) {
        grid.cellWidth = static_cast<LONG>(int64_t{grid.cellWidth} * state.scalePercent / 100);
        grid.cellHeight = static_cast<LONG>(int64_t{grid.cellHeight} * state.scalePercent / 100);
    }
    return grid.cellWidth > 0 && grid.cellHeight > 0 ? grid : PageGrid{};
}

PreviewLayout LayOutPreview(const PreviewState& state, LONG width, LONG height) {
    PreviewLayout layout;
    const LONG s = std::min(width, height);
    if (state.paperWidth <= 0 || state.paperLength <= 0) {
        return layout;
    }
    layout.window = WindowSide(s, state.paperWidth, state.paperLength);
    if (layout.window == 0) {
        return layout;
    }
    layout.pixel = layout.window / s;
    layout.extent = {static_cast<LONG>(int64_t{width} * layout.window / s),
                     static_cast<LONG>(int64_t{height} * layout.window / s)};
    const bool across = IsLandscape(state) != Turned(state.pagesPerSheet);
    const LONG sheetWidth = across ? state.paperLength : state.paperWidth;
    const LONG sheetHeight = across ? state.paperWidth : state.paperLength;
    const LONG left = (layout.extent.cx - sheetWidth) / 2;
    const LONG top = (layout.extent.cy - sheetHeight) / 2;
    layout.sheet = {left, top, left + sheetWidth, top + sheetHeight};
    const RECT& off = state.printableOffsets;
    layout.area = {layout.sheet.left + off.left, layout.sheet.top + off.top,
                   layout.sheet.right - off.right, layout.sheet.bottom - off.bottom};
    layout.grid =
        GridOf(state, layout.area.right - layout.area.left, layout.area.bottom - layout.area.top);
    if (layout.grid.columns == 0) {
        return layout;
    }
    const LONG m = layout.grid.cellWidth;
    const LONG g = layout.grid.cellHeight;
    layout.margin = m / kGapDivisor + g / kGapDivisor;
    layout.border = WholePixels(
        std::max(std::max(g, m) / kBorderDivisor, kBorderPixels * layout.pixel), layout.pixel);
    layout.order = IsBooklet(state)
                       ? (state.rightToLeftBinding ? kBookletRightToLeftOrder : kBookletOrder)
                       : state.pageOrder;
    PlaceCells(layout);
    return layout;
}

} // namespace moltr::ui
