#pragma once
// What a job asks of the driver besides its pages, read from its whole devmode (public part and
// the driver's part), as the print processor asks the driver before it plays the job: how many
// logical pages go on a side and how, and who makes the copies.
#include <windows.h>

namespace moltr::unidrv {

struct JobAttributes {
    // 1, 2, 4, 6, 9 or 16; 2 for a booklet.
    DWORD pagesPerSide = 1;
    bool booklet = false;
    // Each placed page framed by a border (never with one page a side).
    bool borders = false;
    // The copies the printer is told to make.
    DWORD deviceCopies = 1;
    // How often each page is played: the job's copies when the printer makes one.
    DWORD pageRepeats = 1;
};

// The attributes of the whole devmode `devmode` (dmSize + dmDriverExtra bytes).
JobAttributes QueryJobAttributes(const DEVMODEW& devmode);

} // namespace moltr::unidrv
