#pragma once
// Product handlers show some host items with the plug-in's own texts.
#include <windows.h>

namespace moltr::ui {

class VORTAOptItemHandler;

// The item's name becomes string `itemText` and option i's text string `firstOptionText` + i;
// a string the resources lack leaves that text as the host gave it. 0 leaves that part alone.
void Relabel(VORTAOptItemHandler& handler, UINT itemText, UINT firstOptionText);

} // namespace moltr::ui
