#pragma once
// compstui stands in front of every page it adds: the caller's dialog procedure gets its own
// description, with the PSPINFO after it, on WM_INITDIALOG and every message after, and the
// sheet's PSN_APPLY also applies the option-item groups, even those whose page was never shown.
#include "src/compstui/sheet_tree.h"

#include <prsht.h>

namespace moltr::platform::compstui {

// The page for a caller's description, `node` standing in front of it; null when the page
// cannot be made.
HPROPSHEETPAGE CreateCallerPage(Node* node, const PROPSHEETPAGEW& description);
// Takes a page the caller made, `node` standing in front of it; false for no page.
bool TakeCallerPage(Node* node, HPROPSHEETPAGE page);
// The answer to PSN_APPLY of the page of `node`: the first page made applies every option-item
// group of the sheet; PSNRET_INVALID_NOCHANGEPAGE when one of their callbacks keeps the sheet
// open.
LRESULT AnswerApply(Node* node, HWND window);

} // namespace moltr::platform::compstui
