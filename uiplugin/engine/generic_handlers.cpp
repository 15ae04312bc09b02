#include "uiplugin/engine/generic_handlers.h"
#include "uiplugin/engine/hex_text.h"
#include "uiplugin/engine/opt_item_handler_factory.h"
#include "uiplugin/engine/push_dialog.h"
#include "uiplugin/engine/quick_settings_text.h"

namespace moltr::ui {

namespace {

// Control types of the plug-in's own items (no compstui macro names them).
constexpr BYTE kTypeTabControl = 20;

} // namespace

VORTAOptItemHandlerCheckbox::VORTAOptItemHandlerCheckbox(VORTAOptItemHandlerFactory* factory,
                                                         POPTITEM item, DWORD itemId)
    : VORTAOptItemHandler(factory, item, itemId) {
    SetStepRange(0, 1, true);
}

VORTAOptItemHandlerUDArrow::VORTAOptItemHandlerUDArrow(VORTAOptItemHandlerFactory* factory,
                                                       POPTITEM item, DWORD itemId)
    : VORTAOptItemHandler(factory, item, itemId) {
    if (const POPTPARAM limits = Option(1)) {
        low_ = static_cast<LONG>(limits->IconID);
        high_ = static_cast<LONG>(limits->lParam);
    }
    SetStepRange(low_, high_, true);
    high_ = high_ < low_ ? low_ : high_;
}

void VORTAOptItemHandlerUDArrow::UseShortLimits() {
    if (const POPTPARAM limits = Option(1)) {
        low_ = static_cast<SHORT>(limits->IconID);
        high_ = static_cast<SHORT>(limits->lParam);
    }
    high_ = high_ < low_ ? low_ : high_;
    SetStepRange(low_, high_, false);
}

void VORTAOptItemHandlerUDArrow::SetSelectionFromText(LPCWSTR text) {
    LONG value = 0;
    if (text != nullptr && ParseDecimal(text, &value)) {
        SetSelectionByValue(value, nullptr);
    }
}

void VORTAOptItemHandlerUDArrow::SetSelectionByValue(LONG_PTR value, VORTAOptItemNotify* source) {
    const LONG_PTR clamped = value < low_ ? low_ : value > high_ ? high_ : value;
    SetSelection(static_cast<LONG>(clamped), source);
}

LONG_PTR VORTAOptItemHandlerUDArrow::GetValue(BOOL* isText) {
    if (isText != nullptr) {
        *isText = FALSE;
    }
    return GetSelection(0);
}

VORTAOptItemHandlerTrackbar::VORTAOptItemHandlerTrackbar(VORTAOptItemHandlerFactory* factory,
                                                         POPTITEM item, DWORD itemId)
    : VORTAOptItemHandlerUDArrow(factory, item, itemId) {
    UseShortLimits();
}

VORTAOptItemHandlerScrollbar::VORTAOptItemHandlerScrollbar(VORTAOptItemHandlerFactory* factory,
                                                           POPTITEM item, DWORD itemId)
    : VORTAOptItemHandlerUDArrow(factory, item, itemId) {
    UseShortLimits();
}

// A list whose values are its selections has no option for a value past its last one: such a
// stored value leaves the selection where it is.
void VORTAOptItemHandlerList::LoadState(LPCWSTR text, BOOL* complete) {
    DWORD wanted = 0;
    const bool number = text[0] != kTextValue && ParseHex(text, lstrlenW(text), &wanted);
    if (number && ValuesAreSelections() && wanted >= GetOptionCount()) {
        if (complete != nullptr) {
            *complete = FALSE;
        }
        return;
    }
    VORTAOptItemHandler::LoadState(text, complete);
    if (!number) {
        return;
    }
    if (static_cast<DWORD>(GetValue(nullptr)) != wanted && complete != nullptr) {
        *complete = FALSE;
    }
}

// The buffer's length sits in OPTPARAM 1's IconID; the copy never runs past it and always ends
// with a terminator, whatever the length of the text.
void VORTAOptItemHandlerEditbox::SetSelectionFromText(LPCWSTR text) {
    const POPTPARAM length = Option(1);
    LPWSTR buffer = Item()->pSel;
    if (text == nullptr || length == nullptr || buffer == nullptr || length->IconID == 0 ||
        length->IconID > 0xFFFF) {
        return;
    }
    WCHAR old[kOptionTextMax];
    lstrcpynW(old, buffer, static_cast<int>(kOptionTextMax));
    lstrcpynW(buffer, text, static_cast<int>(length->IconID));
    if (lstrcmpW(old, buffer) == 0) {
        return;
    }
    Item()->Flags |= OPTIF_CHANGED;
    Notify(ItemId(), 0, 0);
    Propagate(nullptr);
}

LONG_PTR VORTAOptItemHandlerEditbox::GetValue(BOOL* isText) {
    if (isText != nullptr) {
        *isText = TRUE;
    }
    return reinterpret_cast<LONG_PTR>(Item()->pSel != nullptr ? Item()->pSel : L"");
}

void VORTAOptItemHandlerEditbox::LoadState(LPCWSTR text, BOOL*) {
    SetSelectionFromText(text[0] == kTextValue ? text + 1 : text);
}

LONG VORTAOptItemHandlerPushbutton::GetSelection(DWORD) {
    return 0;
}

LONG VORTAOptItemHandlerPushbutton::SetSelection(LONG, VORTAOptItemNotify*) {
    return 0;
}

void VORTAOptItemHandlerPushbutton::SetSelectionByValue(LONG_PTR, VORTAOptItemNotify*) {}

LONG_PTR VORTAOptItemHandlerPushbutton::GetValue(BOOL* isText) {
    if (isText != nullptr) {
        *isText = FALSE;
    }
    return 0;
}

LONG VORTAOptItemHandlerPushbutton::Activate(HWND window) {
    const LONG result = RunPushDialog(*Factory(), Item(), window);
    Factory()->SetPendingResult(result);
    return result;
}

// A two-option list with both options hidden: it accepts any selection a callback reports and
// shows nothing of its own.
VORTAOptItemHandlerDefault::VORTAOptItemHandlerDefault(VORTAOptItemHandlerFactory* factory,
                                                       DWORD itemId)
    : VORTAOptItemHandler(factory, &item_, itemId) {
    for (OPTPARAM& option : options_) {
        option.cbSize = sizeof(OPTPARAM);
        option.Flags = OPTPF_HIDE;
    }
    type_.cbSize = sizeof(OPTTYPE);
    type_.Type = TVOT_LISTBOX;
    type_.Count = 2;
    type_.pOptParam = options_;
    item_.cbSize = sizeof(OPTITEM);
    item_.pOptType = &type_;
    if (itemId < 100) {
        item_.DMPubID = static_cast<BYTE>(itemId);
    }
    SetStepRange(0, 1, true);
    SetEnableMask(0xFFFF);
}

BOOL VORTAOptItemHandlerDefault::IsUnbound() {
    return TRUE;
}

VORTAOptItemHandler* CreateGenericHandler(VORTAOptItemHandlerFactory* factory, POPTITEM item,
                                          DWORD itemId) {
    const HANDLE heap = factory->Heap();
    const BYTE type = item->pOptType != nullptr ? item->pOptType->Type : TVOT_NONE;
    switch (type) {
    case TVOT_2STATES:
        return new (heap) VORTAOptItemHandler2States(factory, item, itemId);
    case TVOT_3STATES:
        return new (heap) VORTAOptItemHandler3States(factory, item, itemId);
    case TVOT_UDARROW:
        return new (heap) VORTAOptItemHandlerUDArrow(factory, item, itemId);
    case TVOT_TRACKBAR:
        return new (heap) VORTAOptItemHandlerTrackbar(factory, item, itemId);
    case TVOT_SCROLLBAR:
        return new (heap) VORTAOptItemHandlerScrollbar(factory, item, itemId);
    case TVOT_LISTBOX:
        return new (heap) VORTAOptItemHandlerListbox(factory, item, itemId);
    case TVOT_COMBOBOX:
        return new (heap) VORTAOptItemHandlerCombobox(factory, item, itemId);
    case TVOT_EDITBOX:
        return new (heap) VORTAOptItemHandlerEditbox(factory, item, itemId);
    case TVOT_PUSHBUTTON:
        return new (heap) VORTAOptItemHandlerPushbutton(factory, item, itemId);
    case TVOT_CHKBOX:
        return new (heap) VORTAOptItemHandlerCheckbox(factory, item, itemId);
    case kTypeTabControl:
        return new (heap) VORTAOptItemHandlerTabCtrl(factory, item, itemId);
    default:
        return new (heap) VORTAOptItemHandlerNone(factory, item, itemId);
    }
}

} // namespace moltr::ui
