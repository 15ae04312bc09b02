#pragma once
// What `moltr ui` looks at on an open sheet and after it: each page as a user clicking through
// the tabs sees it, the option items as the plug-in's engine knows them, the message boxes shown.
#include <windows.h>
#include <vector>
#include "moltr/json_value.h"
#include "moltr/ui_report.h"

namespace moltr::tool {

// Every page of the open sheet `sheet`, each selected in turn and then the one shown before
// selected again; `pictures` also takes each page's picture (the sheet showing it).
std::vector<UiPage> CapturePages(HWND sheet, bool pictures);

// The option items of the open sheet, with the UI type the engine shows them in (0 when no
// engine publishes its items).
JsonValue CaptureItems(DWORD& uiType);

// The message boxes shown since the last clear, with the ids of their texts among the printer's
// strings.
std::vector<UiMessage> ShownMessages(HANDLE printer);

} // namespace moltr::tool
