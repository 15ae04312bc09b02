#include "moltr/ui_capture.h"

#include <commctrl.h>
#include <prsht.h>
#include "common/resources.h"
#include "sim/message_box.h"
#include "sim/option_item_views.h"
#include "sim/property_sheets.h"
#include "sim/utf.h"
#include "sim/windows_admin.h"
#include "sim/window_pictures.h"

namespace moltr::tool {
namespace {

std::u16string WindowText(HWND window) {
    std::u16string text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, u'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, sim::W(text), static_cast<int>(text.size()))));
    return text;
}

bool IsClass(const std::u16string& className, LPCWSTR name) {
    return lstrcmpiW(sim::W(className), name) == 0;
}

bool IsCheckable(HWND button) {
    switch (GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return true;
    default:
        return false;
    }
}

// The value a control shows: the message that reads it, by the control's class.
std::optional<LONG_PTR> ControlValue(HWND control, const std::u16string& className) {
    UINT message = 0;
    if (IsClass(className, L"Button")) {
        message = IsCheckable(control) ? BM_GETCHECK : 0;
    } else if (IsClass(className, L"ComboBox")) {
        message = CB_GETCURSEL;
    } else if (IsClass(className, L"ListBox")) {
        message = LB_GETCURSEL;
    } else if (IsClass(className, TRACKBAR_CLASSW)) {
        message = TBM_GETPOS;
    } else if (IsClass(className, UPDOWN_CLASSW)) {
        message = UDM_GETPOS32;
    }
    if (message == 0) {
        return std::nullopt;
    }
    return static_cast<LONG_PTR>(SendMessageW(control, message, 0, 0));
}

BOOL CALLBACK AddControl(HWND control, LPARAM list) {
    UiControl shown;
    shown.id = GetDlgCtrlID(control);
    shown.className = sim::WindowClassName(control);
    shown.text = WindowText(control);
    shown.visible = IsWindowVisible(control) != FALSE;
    shown.enabled = IsWindowEnabled(control) != FALSE;
    shown.value = ControlValue(control, shown.className);
    GetWindowRect(control, &shown.rect);
    RECT page = {};
    GetWindowRect(GetParent(control), &page);
    shown.rect = {shown.rect.left - page.left, shown.rect.top - page.top,
                  shown.rect.right - page.left, shown.rect.bottom - page.top};
    reinterpret_cast<std::vector<UiControl>*>(list)->push_back(std::move(shown));
    return TRUE;
}

std::u16string TabCaption(HWND tab, int index) {
    WCHAR caption[128] = {};
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = caption;
    item.cchTextMax = static_cast<int>(std::size(caption));
    SendMessageW(tab, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return reinterpret_cast<const char16_t*>(caption);
}

// A page's dialog id: its template's resource id, or for a template in memory the id that the
// template's owner loaded it from; 0 when nobody says.
DWORD DialogId(HWND sheet, int index) {
    const LRESULT id = PropSheet_IndexToId(sheet, index);
    if ((static_cast<ULONG_PTR>(id) >> 16) == 0) { // a resource id, not an address
        return static_cast<DWORD>(id);
    }
    for (const sim::OptionItemsView& view : sim::PublishedOptionItems()) {
        for (const sim::PublishedTemplate& known : view.templates) {
            if (reinterpret_cast<LRESULT>(known.dialog) == id) {
                return known.id;
            }
        }
    }
    return 0;
}

UiPage CapturePage(HWND sheet, HWND tab, int index, bool pictures) {
    UiPage page;
    page.caption = TabCaption(tab, index);
    page.dialogId = DialogId(sheet, index);
    if (HWND window = PropSheet_IndexToHwnd(sheet, index)) {
        EnumChildWindows(window, AddControl, reinterpret_cast<LPARAM>(&page.controls));
    }
    if (pictures) {
        page.picture = sim::WindowPicture(sheet);
    }
    return page;
}

// A text pointer or a resource id, as compstui takes names and option texts.
JsonValue NameJson(LPCWSTR name) {
    if (IS_INTRESOURCE(name)) {
        return JsonValue::Unsigned(reinterpret_cast<ULONG_PTR>(name));
    }
    return JsonValue::String(sim::Utf8(name));
}

JsonValue ItemJson(const sim::PublishedItem& view) {
    const OPTITEM& item = *view.item;
    JsonValue shown = JsonValue::Object();
    shown.Add("id", JsonValue::Unsigned(view.id));
    shown.Add("oem", JsonValue::Bool(view.own));
    shown.Add("dmPubId", JsonValue::Unsigned(item.DMPubID));
    shown.Add("userItemId", JsonValue::Unsigned(item.UserItemID));
    shown.Add("name", NameJson(item.pName));
    shown.Add("level", JsonValue::Unsigned(item.Level));
    shown.Add("flags", JsonValue::Unsigned(item.Flags));
    shown.Add("helpIndex", JsonValue::Unsigned(item.HelpIndex));
    const BYTE type = item.pOptType != nullptr ? item.pOptType->Type : 0;
    shown.Add("type", item.pOptType != nullptr ? JsonValue::Unsigned(type) : JsonValue());
    // An edit box's selection is its text.
    shown.Add("sel", type == TVOT_EDITBOX ? NameJson(item.pSel) : JsonValue::Signed(item.Sel));
    JsonValue options = JsonValue::Array();
    for (const sim::OptionView& option : view.options) {
        JsonValue entry = JsonValue::Object();
        entry.Add("text", JsonValue::String(sim::Utf8(option.text)));
        entry.Add("flags", JsonValue::Unsigned(option.flags));
        entry.Add("iconId", JsonValue::Unsigned(option.icon));
        entry.Add("value", JsonValue::Signed(option.value));
        options.Add(std::move(entry));
    }
    shown.Add("options", std::move(options));
    return shown;
}

// The id of the printer's string that reads `text`; 0 when none does.
UINT FindStringId(common::IDrvResources* resources, const std::u16string& text) {
    if (resources == nullptr || text.empty()) {
        return 0;
    }
    WCHAR loaded[512];
    for (UINT id = 1; id <= 0xFFFF; ++id) {
        if (SUCCEEDED(resources->LoadString(id, loaded, std::size(loaded))) &&
            text == reinterpret_cast<const char16_t*>(loaded)) {
            return id;
        }
    }
    return 0;
}

} // namespace

std::vector<UiPage> CapturePages(HWND sheet, bool pictures) {
    std::vector<UiPage> pages;
    HWND tab = PropSheet_GetTabControl(sheet);
    if (tab == nullptr) {
        return pages;
    }
    const int shown = static_cast<int>(SendMessageW(tab, TCM_GETCURSEL, 0, 0));
    const int count = static_cast<int>(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        PropSheet_SetCurSel(sheet, nullptr, index);
        pages.push_back(CapturePage(sheet, tab, index, pictures));
    }
    if (shown >= 0) {
        PropSheet_SetCurSel(sheet, nullptr, shown);
    }
    return pages;
}

JsonValue CaptureItems(DWORD& uiType) {
    JsonValue items = JsonValue::Array();
    uiType = 0;
    for (const sim::OptionItemsView& view : sim::PublishedOptionItems()) {
        uiType = view.uiType;
        for (const sim::PublishedItem& item : view.items) {
            items.Add(ItemJson(item));
        }
    }
    return items;
}

std::vector<UiMessage> ShownMessages(HANDLE printer) {
    std::vector<UiMessage> messages;
    const std::vector<sim::MessageBoxCall> calls = sim::MessageBoxCalls();
    if (calls.empty()) {
        return messages;
    }
    common::IDrvResources* resources = nullptr;
    if (FAILED(common::CreatePrinterResources(&resources, printer, nullptr))) {
        resources = nullptr;
    }
    for (const sim::MessageBoxCall& call : calls) {
        messages.push_back({FindStringId(resources, call.text), call.text,
                            FindStringId(resources, call.caption), call.caption, call.type,
                            call.result});
    }
    if (resources != nullptr) {
        resources->Release();
    }
    return messages;
}

} // namespace moltr::tool
