#pragma once
// The font choices of the watermark page: the TrueType families of the screen.
#include <windows.h>
#include <compstui.h>

namespace moltr::ui {

// Gives `item` one option per TrueType family of the screen, in the screen's order, each name
// once and cut to `nameLength` - 1 characters; an option's pData and lParam point at its name and
// its IconID holds the family's character set. The options live on `heap` and replace the item's
// own only when at least one family was found: answers 1 then, else 0.
BOOL LoadWatermarkFonts(HANDLE heap, POPTITEM item, DWORD nameLength);

} // namespace moltr::ui
