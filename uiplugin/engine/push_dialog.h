#pragma once
// What pushing an item shows: a push button's modal dialog from its record.
#include <windows.h>
#include <compstui.h>

namespace moltr::ui {

class VORTAOptItemHandlerFactory;

// Answers 1 when the dialog or sheet ended with OK, 0 otherwise or when there is nothing to show.
LONG RunPushDialog(VORTAOptItemHandlerFactory& factory, POPTITEM item, HWND owner);

} // namespace moltr::ui
