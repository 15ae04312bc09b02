#pragma once
// A property sheet's frame: the tab control over the pages, the OK, Cancel, Apply and Help
// buttons, and the PSM_ messages. It runs the PSN_ notifications of its pages.
#include <prsht.h>

namespace moltr::platform {

// The id of the Apply button and of the tab control in the frame.
constexpr int kApplyButton = 12321;
constexpr int kSheetTab = 12320;

// The frame with its pages (created from PROPSHEETPAGEW descriptions with PSH_PROPSHEETPAGE)
// and its start page shown; null when a page or the frame cannot be made.
HWND CreateSheet(const PROPSHEETHEADERW& header, DWORD frameStyle);
// Whether the user (or a page through PSM_PRESSBUTTON) has ended the sheet, and the result
// PropertySheetW returns for it.
bool SheetEnded(HWND sheet, INT_PTR& result);
// Ends a sheet that no button could end, as the system closes a window: nothing was saved then.
void ForceSheetEnd(HWND sheet);

} // namespace moltr::platform
