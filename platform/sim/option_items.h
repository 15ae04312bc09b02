#pragma once
// The option-item pages of compstui's sheets (host build only): what the tree view of such a page
// shows, and a simulated user's changes made through the page's controls, the tree view for
// choosing an item and the change area below it for its value. Call these on the sheet's thread
// (from a queued sim::SheetAction of kind Run) with a page window of an open sheet.
#include <windows.h>
#include <compstui.h>

#include <string>
#include <vector>

namespace moltr::sim {

struct PageItemView {
    int index = 0;       // in the page's OPTITEM array
    int level = 0;       // its OPTITEM Level
    std::u16string text; // as the tree view shows it: "name: value", or the name alone
    std::u16string name;
    std::u16string value;
    bool shown = false;   // in the tree view: neither it nor an item above it hidden
    bool enabled = false; // OPTIF_DISABLED is not set
    bool expanded = false;
    bool current = false; // the item the change area is for
    DWORD flags = 0;
    LONG sel = 0;                  // the selection, or 0 for items whose selection is text
    const OPTITEM* item = nullptr; // the caller's item itself: names need not be unique
};

// The option-item page among the pages of `sheet` that are made (the first one), or null.
HWND OptionItemPageOf(HWND sheet);
// The items of the option-item page `page`, in array order; empty for any other window.
std::vector<PageItemView> OptionItems(HWND page);
// The user clicks the item in the tree view; false when it is not shown.
bool ChooseOptionItem(HWND page, int index);
// The user chooses the item (as above) and then, in the change area: picks option `sel` (list,
// combo box, states, check box) or sets the value `sel` (up-down, track bar, scroll bar); types
// `text` into its edit box; ticks its extended check box; presses its push button or extended
// push button. False when the page, the item or the option cannot be used so.
bool SetOptionItemSelection(HWND page, int index, LONG sel);
bool SetOptionItemText(HWND page, int index, const std::u16string& text);
bool SetOptionItemCheck(HWND page, int index, bool checked);
bool PushOptionItem(HWND page, int index);

} // namespace moltr::sim
