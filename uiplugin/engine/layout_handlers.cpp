#include "uiplugin/engine/layout_handlers.h"
#include "uiplugin/engine/opt_item_handler_factory.h"

namespace moltr::ui {

namespace {

constexpr DWORD kColorShadow = 32500;
constexpr DWORD kNupShadow = 32501;
constexpr DWORD kDuplexSidesLink = 2053;
constexpr DWORD kDuplexShortEdgeLink = 2100;
constexpr DWORD kDuplexShortEdgeAllowed = 2153;
// The host's duplex selection that turns on the short edge.
constexpr LONG kDuplexShortEdge = 2;

struct NupText {
    UINT hostId;
    LPCWSTR text;
};
constexpr NupText kNupTexts[] = {
    {64866, L"2"}, {64867, L"4"}, {64868, L"6"}, {64869, L"9"}, {64870, L"16"}};

} // namespace

LONG VORTAOptItemHandlerCOLORDlg::SetSelection(LONG index, VORTAOptItemNotify* source) {
    const LONG old = VORTAOptItemHandler::SetSelection(index, source);
    SetShadow(kColorShadow, 1 - GetSelection(0));
    return old;
}

DWORD VORTAOptItemHandlerDUPLEXDlg::GetOptionCount() {
    const DWORD count = VORTAOptItemHandler::GetOptionCount();
    return count < 2 ? count : 2;
}

LONG VORTAOptItemHandlerDUPLEXDlg::GetSelection(DWORD linkId) {
    const LONG selection = VORTAOptItemHandler::GetSelection(0);
    if (linkId == kDuplexSidesLink) {
        return selection != 0 ? 1 : 0;
    }
    if (linkId == kDuplexShortEdgeLink) {
        return selection == kDuplexShortEdge ? 1 : 0;
    }
    return selection;
}

BOOL VORTAOptItemHandlerDUPLEXDlg::IsEnabled(DWORD linkId, DWORD mask) {
    if (!VORTAOptItemHandler::IsEnabled(linkId, mask)) {
        return FALSE;
    }
    if (linkId != kDuplexShortEdgeLink) {
        return TRUE;
    }
    VORTAOptItemHandler* allowed = Factory()->Find(kDuplexShortEdgeAllowed);
    return allowed != nullptr && allowed->GetValue(nullptr) == 1 ? TRUE : FALSE;
}

// The last option (pages in a booklet) has a control of its own on the own pages.
VORTAOptItemHandlerNUP::VORTAOptItemHandlerNUP(VORTAOptItemHandlerFactory* factory, POPTITEM item,
                                               DWORD itemId)
    : VORTAOptItemHandler(factory, item, itemId) {
    const LONG count = static_cast<LONG>(VORTAOptItemHandler::GetOptionCount());
    const LONG last = factory->Environment().uiType == kUITypeOwnPages ? count - 2 : count - 1;
    SetStepRange(0, last < 0 ? 0 : last, true);
}

void VORTAOptItemHandlerNUP::GetOptionText(DWORD i, WCHAR (&text)[kOptionTextMax], BOOL* visible) {
    VORTAOptItemHandler::GetOptionText(i, text, visible);
    const POPTPARAM option = Option(i);
    const ULONG_PTR data = option != nullptr ? reinterpret_cast<ULONG_PTR>(option->pData) : 0;
    if (data == 0 || data > 0xFFFF) {
        return;
    }
    LPCWSTR number = L"1";
    for (const NupText& entry : kNupTexts) {
        number = entry.hostId == data ? entry.text : number;
    }
    lstrcpynW(text, number, static_cast<int>(kOptionTextMax));
}

LONG VORTAOptItemHandlerNUP::SetSelection(LONG index, VORTAOptItemNotify* source) {
    const LONG old = VORTAOptItemHandler::SetSelection(index, source);
    SetShadow(kNupShadow, GetValue(nullptr));
    return old;
}

LONG VORTAOptItemHandlerNUP::Step(LONG delta) {
    const LONG old = VORTAOptItemHandler::Step(delta);
    SetShadow(kNupShadow, GetValue(nullptr));
    return old;
}

} // namespace moltr::ui
