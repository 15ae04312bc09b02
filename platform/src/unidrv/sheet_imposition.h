#pragma once
// The driver's imposition of a job's logical pages on its sheets: N-up cells in rows top to
// bottom and left to right (2-up and 6-up sheets have their longer row across the longer side),
// or booklet halves in booklet order, each page scaled into its cell whole and centred there,
// and each page played as often as the print processor replays it for its copies.
#include <windows.h>
#include <winddi.h>
#include <vector>
#include "src/unidrv/job_attributes.h"
#include "src/unidrv/page_drawing.h"

namespace moltr::unidrv {

// One cell of a sheet: the logical page drawn in it (none for a blank booklet page), where it
// goes, and the rectangle it covers on the sheet.
struct PlacedPage {
    bool blank = false;
    DWORD page = 0;
    PagePlacement placement;
    RECTL frame = {};
};

class SheetImposition {
public:
    // `pages` logical pages of `size` pixels each (the sheet's printable area) imposed as
    // `attributes` say, on sheets in landscape when `landscape`.
    SheetImposition(const JobAttributes& attributes, DWORD pages, SIZEL size, bool landscape);

    // The sides the job prints.
    ULONGLONG Sheets() const;
    // The pages on side `sheet` (0 first), in cell order; a partly filled last side has fewer.
    std::vector<PlacedPage> Sheet(ULONGLONG sheet) const;

private:
    // Cell `cell` of a side holding the played page `played` (0 first, each copy counted).
    PlacedPage Place(DWORD cell, ULONGLONG played) const;

    JobAttributes attributes_;
    ULONGLONG played_;
    SIZEL size_;
    LONG columns_;
    LONG rows_;
};

} // namespace moltr::unidrv
