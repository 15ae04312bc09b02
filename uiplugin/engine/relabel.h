#pragma once
// Product handlers show some host items with the plug-in's own texts.
#include <windows.h>

namespace moltr::ui {

class VORTAOptItemHandler;

// The item's name becomes string `itemText` and option i's text string `firstOptionText` + i;
// a string the resources lack leaves that text as the host gave it. 0 leaves that part alone.
// The name loses a trailing colon: the host's tree puts its own after every item's name.
void Relabel(VORTAOptItemHandler& handler, UINT itemText, UINT firstOptionText);

// Our strings double as labels of our own pages, so many end in a colon the host adds again.
void RemoveTrailingColon(LPWSTR name);

} // namespace moltr::ui
