#pragma once
// What `moltr ui` shows after the actions: the sheet's pages with their controls, the option
// items as the plug-in's engine knows them, the message boxes shown and the settings that
// resulted, as text for people or as one JSON object.
#include <windows.h>
#include <optional>
#include <string>
#include <vector>
#include "moltr/json_value.h"

namespace moltr::tool {

struct UiControl {
    int id = 0;
    std::u16string className;
    std::u16string text;
    bool visible = false;
    bool enabled = false;
    std::optional<LONG_PTR> value; // the selection, check state or position; none for others
    RECT rect = {};                // in the page's client coordinates
};

struct UiPage {
    std::u16string caption;
    DWORD dialogId = 0; // the page's template id; 0 when it was built in memory
    std::vector<UiControl> controls;
    std::vector<BYTE> picture; // PNG bytes, taken only when asked for
};

struct UiMessage {
    UINT textId = 0; // the string shown, found in the printer's texts; 0 when none matches
    std::u16string text;
    UINT captionId = 0;
    std::u16string caption;
    UINT type = 0;
    int answer = 0;
};

struct UiReport {
    DWORD uiType = 0;
    std::vector<UiPage> pages;
    JsonValue items = JsonValue::Array(); // taken while the sheet was open
    std::vector<UiMessage> messages;
    std::string settingsName; // "devmode" or "printerSettings"
    JsonValue settings = JsonValue::Object();
};

// The report as one JSON object (uiType, pages, items, messages, then the settings).
std::string UiReportJson(const UiReport& report);
// The pages with their controls, the settings as sections and the message boxes, for people.
std::string UiReportText(const UiReport& report);

} // namespace moltr::tool
