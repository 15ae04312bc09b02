#pragma once
// The paper-limit table: per model of the family the range of widths and of lengths the printer
// takes, in micrometres, with two rows for any other device.
#include <windows.h>
#include "common/drv_settings.h"

namespace moltr::ui {

struct PaperLimits {
    DWORD widthMin;
    DWORD widthMax;
    DWORD lengthMin;
    DWORD lengthMax;
};

// The row of the model whose name equals `deviceName` ignoring case, else a fall-back row: the
// large one when `settings` is given and its printer setting _LRGSIZES is non-zero.
PaperLimits LookUpPaperLimits(LPCWSTR deviceName, common::IDrvSettings* settings);

} // namespace moltr::ui
