#include "src/unidrv/sheet_imposition.h"

#include <algorithm>
#include <cmath>

namespace moltr::unidrv {
namespace {

// The cells of each pages-per-side count as columns by rows, on a landscape and a portrait sheet.
struct CellGrid {
    DWORD count;
    LONG landscapeColumns;
    LONG landscapeRows;
    LONG portraitColumns;
    LONG portraitRows;
};

constexpr CellGrid kGrids[] = {
    {1, 1, 1, 1, 1}, {2, 2, 1, 1, 2}, {4, 2, 2, 2, 2},
    {6, 3, 2, 2, 3}, {9, 3, 3, 3, 3}, {16, 4, 4, 4, 4},
};

const CellGrid& GridOf(DWORD count) {
    const auto* grid =
        std::find_if(std::begin(kGrids), std::end(kGrids),
                     [count](const CellGrid& known) { return known.count == count; });
    return grid != std::end(kGrids) ? *grid : kGrids[0];
}

} // namespace

SheetImposition::SheetImposition(const JobAttributes& attributes, DWORD pages, SIZEL size,
                                 bool landscape)
    : attributes_(attributes),
      played_(ULONGLONG{pages} * std::max<DWORD>(attributes.pageRepeats, 1)), size_(size) {
    const CellGrid& grid = GridOf(attributes_.pagesPerSide);
    attributes_.pagesPerSide = grid.count;
    columns_ = landscape ? grid.landscapeColumns : grid.portraitColumns;
    rows_ = landscape ? grid.landscapeRows : grid.portraitRows;
}

ULONGLONG SheetImposition::Sheets() const {
    if (attributes_.booklet) {
        // A booklet's sheets are folded: its pages are padded to a multiple of four.
        return (played_ + 3) / 4 * 2;
    }
    return (played_ + attributes_.pagesPerSide - 1) / attributes_.pagesPerSide;
}

std::vector<PlacedPage> SheetImposition::Sheet(ULONGLONG sheet) const {
    std::vector<PlacedPage> pages;
    if (attributes_.booklet) {
        // Side k of the folded stack: the outer pages on the front, the inner ones on the back.
        const ULONGLONG padded = (played_ + 3) / 4 * 4;
        const ULONGLONG s = sheet / 2;
        const bool front = sheet % 2 == 0;
        pages.push_back(Place(0, front ? padded - 1 - 2 * s : 2 * s + 1));
        pages.push_back(Place(1, front ? 2 * s : padded - 2 - 2 * s));
        return pages;
    }
    const ULONGLONG first = sheet * attributes_.pagesPerSide;
    for (DWORD cell = 0; cell < attributes_.pagesPerSide && first + cell < played_; ++cell) {
        pages.push_back(Place(cell, first + cell));
    }
    return pages;
}

PlacedPage SheetImposition::Place(DWORD cell, ULONGLONG played) const {
    const LONG column = static_cast<LONG>(cell) % columns_;
    const LONG row = static_cast<LONG>(cell) / columns_;
    const RECTL area = {static_cast<LONG>(LONGLONG{column} * size_.cx / columns_),
                        static_cast<LONG>(LONGLONG{row} * size_.cy / rows_),
                        static_cast<LONG>(LONGLONG{column + 1} * size_.cx / columns_),
                        static_cast<LONG>(LONGLONG{row + 1} * size_.cy / rows_)};
    const LONG width = std::max<LONG>(size_.cx, 1);
    const LONG height = std::max<LONG>(size_.cy, 1);
    // The whole page fits the smallest cell, unturned, at the larger scale that keeps its shape;
    // every page of the side has the same scale, so each cell shows its page alike.
    const double scale =
        std::min(double(size_.cx / columns_) / width, double(size_.cy / rows_) / height);
    const LONG placedWidth = static_cast<LONG>(width * scale);
    const LONG placedHeight = static_cast<LONG>(height * scale);
    PlacedPage placed;
    placed.blank = played >= played_;
    placed.page = static_cast<DWORD>(played / std::max<DWORD>(attributes_.pageRepeats, 1));
    placed.placement.origin = {area.left + (area.right - area.left - placedWidth) / 2,
                               area.top + (area.bottom - area.top - placedHeight) / 2};
    placed.placement.scale = scale;
    placed.frame = {placed.placement.origin.x, placed.placement.origin.y,
                    placed.placement.origin.x + placedWidth,
                    placed.placement.origin.y + placedHeight};
    return placed;
}

} // namespace moltr::unidrv
