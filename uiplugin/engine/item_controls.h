#pragma once
// The standard controls of a page that show an item: the control whose id is the item's id shows
// the item's selection, and what the user does in it becomes the item's selection.
#include <windows.h>

namespace moltr::ui {

class VORTAOptItemHandler;

// Shows `handler`'s selection, and its options for list-like controls, in the control of `dialog`
// whose id is the item's; nothing when the dialog has no such control.
void ShowInControl(HWND dialog, VORTAOptItemHandler& handler);

// Takes what the user did in `control` (the WM_COMMAND notification `code`, or 0 for a scroll)
// into `handler`; false when it was no change of a value.
bool TakeFromControl(HWND control, UINT code, VORTAOptItemHandler& handler);

// The edit control an up-down control sets, or the control itself.
HWND ValueControlOf(HWND control);

} // namespace moltr::ui
