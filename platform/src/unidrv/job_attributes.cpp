#include "src/unidrv/job_attributes.h"

#include <algorithm>
#include "src/unidrv/driver_devmode.h"

namespace moltr::unidrv {
namespace {

// The pages-per-sheet choices the driver lays out; any other reads as one page a side.
constexpr WORD kSidesCounts[] = {1, 2, 4, 6, 9, 16};

} // namespace

JobAttributes QueryJobAttributes(const DEVMODEW& devmode) {
    const DriverLayout layout = LayoutOf(devmode);
    JobAttributes attributes;
    if (std::find(std::begin(kSidesCounts), std::end(kSidesCounts), layout.pagesPerSheet) !=
        std::end(kSidesCounts)) {
        attributes.pagesPerSide = layout.pagesPerSheet;
    }
    attributes.booklet = (layout.flags & kLayoutBooklet) != 0;
    if (attributes.booklet) {
        attributes.pagesPerSide = 2;
    }
    attributes.borders = (layout.flags & kLayoutPageBorders) && attributes.pagesPerSide > 1;
    const DWORD copies = static_cast<DWORD>(std::max<SHORT>(devmode.dmCopies, 1));
    const bool processorCopies = (layout.flags & kLayoutProcessorCopies) != 0;
    attributes.deviceCopies = processorCopies ? 1 : copies;
    attributes.pageRepeats = processorCopies ? copies : 1;
    return attributes;
}

} // namespace moltr::unidrv
