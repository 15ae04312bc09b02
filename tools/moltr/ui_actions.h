#pragma once
// The actions `moltr ui` makes on an open property sheet, as a user would: parsed from the
// command line, then run on the sheet's thread in order.
#include <windows.h>
#include <string>
#include <vector>

namespace moltr::tool {

struct UiAction {
    enum class Kind {
        kPage,
        kSelect,
        kValue,
        kType,
        kCheck,
        kClick,
        kApply,
        kOk,
        kCancel,
        kRespond
    };
    Kind kind = Kind::kOk;
    DWORD id = 0;        // the item or control
    LONG_PTR number = 0; // the page, option index, option value, check state or answer
    std::u16string text; // the keys typed
    std::string given;   // the action as written, for messages
};

// Parses one action: page:N, select:ID=INDEX, value:ID=VALUE, type:ID=TEXT, check:ID=0|1,
// click:ID, apply, ok, cancel, respond:ANSWER (IDOK ... or a number). IDs and numbers are decimal
// or 0x-hexadecimal. Returns an error text, empty on success.
std::string ParseUiAction(const std::string& text, UiAction& action);

// Whether the action ends the sheet.
bool ClosesSheet(const UiAction& action);

// Makes an item's action (select, value, type, check, click) on the open sheet `sheet`, through
// the control of the page shown. Returns an error text, empty on success.
std::string MakeItemAction(HWND sheet, const UiAction& action);

// Whether `page` is a page of the open sheet `sheet`.
bool HasPage(HWND sheet, LONG_PTR page);

} // namespace moltr::tool
