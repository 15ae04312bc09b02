#include "uiplugin/engine/opt_item_handler.h"
#include "uiplugin/engine/hex_text.h"
#include "uiplugin/engine/opt_item_handler_factory.h"
#include "uiplugin/engine/quick_settings_text.h"

namespace moltr::ui {

namespace {

// Texts and values at or below this are resource ids and small numbers, not addresses.
constexpr ULONG_PTR kLargestId = 0xFFFF;

// Answers whether `option` is shown, where the caller asked.
void TellVisible(const OPTPARAM* option, BOOL* visible) {
    if (visible != nullptr) {
        *visible = option != nullptr && (option->Flags & OPTPF_HIDE) == 0;
    }
}

} // namespace

VORTAOptItemHandler::VORTAOptItemHandler(VORTAOptItemHandlerFactory* factory, POPTITEM item,
                                         DWORD itemId)
    : VORTAOptItemNotify(factory->Heap(), factory), factory_(factory), item_(item),
      itemId_(itemId) {
    const DWORD count = GetOptionCount();
    maximum_ = count > 0 ? static_cast<LONG>(count) - 1 : 0;
}

void VORTAOptItemHandler::SetStepRange(LONG minimum, LONG maximum, bool wrap) {
    minimum_ = minimum;
    maximum_ = maximum < minimum ? minimum : maximum;
    wrap_ = wrap;
}

POPTPARAM VORTAOptItemHandler::Option(DWORD i) const {
    const POPTTYPE type = item_->pOptType;
    if (type == nullptr || type->pOptParam == nullptr || i >= type->Count) {
        return nullptr;
    }
    return &type->pOptParam[i];
}

BYTE VORTAOptItemHandler::ControlType() const {
    return item_->pOptType != nullptr ? item_->pOptType->Type : static_cast<BYTE>(TVOT_NONE);
}

// Check boxes and the host's items hold the selection itself; the plug-in's own items (ids of 100
// and more, which carry a DMPubID of 100 or more) hold values in their options.
bool VORTAOptItemHandler::ValuesAreSelections() const {
    return ControlType() == TVOT_CHKBOX || itemId_ < 100 || (itemId_ & 0x80000000) != 0 ||
           item_->DMPubID < 100;
}

UINT VORTAOptItemHandler::GetStringForId(UINT) {
    return 0;
}

ULONG_PTR VORTAOptItemHandler::GetCheckedIcon() {
    return GetOptionIcon(1, nullptr);
}

DWORD VORTAOptItemHandler::GetOptionCount() {
    return item_->pOptType != nullptr && item_->pOptType->pOptParam != nullptr
               ? item_->pOptType->Count
               : 0;
}

DWORD VORTAOptItemHandler::GetVisibleOptionCount() {
    DWORD visible = 0;
    for (DWORD i = 0; i < GetOptionCount(); ++i) {
        visible += (GetOptionFlags(i) & OPTPF_HIDE) == 0 ? 1 : 0;
    }
    return visible;
}

BOOL VORTAOptItemHandler::IsUnbound() {
    return FALSE;
}

BYTE VORTAOptItemHandler::GetOptionFlags(DWORD i) {
    const POPTPARAM option = Option(i);
    return option != nullptr ? option->Flags : 0;
}

BYTE VORTAOptItemHandler::ChangeOptionFlags(DWORD i, BYTE set, BYTE clear,
                                            VORTAOptItemNotify* source) {
    const POPTPARAM option = Option(i);
    if (option == nullptr) {
        return 0;
    }
    option->Flags = static_cast<BYTE>((option->Flags | set) & ~clear);
    item_->Flags |= OPTIF_CHANGED;
    Propagate(source);
    return option->Flags;
}

void VORTAOptItemHandler::GetOptionText(DWORD i, WCHAR (&text)[kOptionTextMax], BOOL* visible) {
    text[0] = 0;
    const POPTPARAM option = Option(i);
    TellVisible(option, visible);
    if (option == nullptr || option->pData == nullptr) {
        return;
    }
    const ULONG_PTR data = reinterpret_cast<ULONG_PTR>(option->pData);
    if (data > kLargestId) {
        lstrcpynW(text, option->pData, static_cast<int>(kOptionTextMax));
        return;
    }
    const UINT own = GetStringForId(static_cast<UINT>(data));
    common::IDrvResources* resources = factory_->Environment().resources;
    if (resources == nullptr ||
        FAILED(resources->LoadString(own != 0 ? own : static_cast<UINT>(data), text,
                                     static_cast<UINT>(kOptionTextMax)))) {
        text[0] = 0;
    }
}

void VORTAOptItemHandler::SetOptionText(DWORD i, LPWSTR text) {
    if (const POPTPARAM option = Option(i)) {
        option->pData = text;
    }
}

ULONG_PTR VORTAOptItemHandler::GetOptionIcon(DWORD i, BOOL* visible) {
    const POPTPARAM option = Option(i);
    TellVisible(option, visible);
    return option != nullptr ? option->IconID : 0;
}

void VORTAOptItemHandler::SetOptionIcon(DWORD i, ULONG_PTR icon) {
    if (const POPTPARAM option = Option(i)) {
        option->IconID = icon;
    }
}

LPARAM VORTAOptItemHandler::GetOptionValue(DWORD i, BOOL* visible) {
    TellVisible(Option(i), visible);
    const POPTTYPE type = alternate_ != nullptr ? alternate_->pOptType : item_->pOptType;
    if (type == nullptr || type->pOptParam == nullptr || i >= type->Count) {
        return 0;
    }
    return type->pOptParam[i].lParam;
}

void VORTAOptItemHandler::SetOptionValue(DWORD i, LPARAM value) {
    if (const POPTPARAM option = Option(i)) {
        option->lParam = value;
    }
}

void VORTAOptItemHandler::GetSelectionText(WCHAR (&text)[kOptionTextMax]) {
    GetOptionText(static_cast<DWORD>(GetSelection(0)), text, nullptr);
}

ULONG_PTR VORTAOptItemHandler::GetSelectionIcon() {
    return GetOptionIcon(static_cast<DWORD>(GetSelection(0)), nullptr);
}

LONG VORTAOptItemHandler::Step(LONG delta) {
    const long long wanted = static_cast<long long>(GetSelection(0)) + delta;
    LONG next = static_cast<LONG>(wanted);
    if (wanted > maximum_) {
        next = wrap_ ? minimum_ : maximum_;
    } else if (wanted < minimum_) {
        next = wrap_ ? maximum_ : minimum_;
    }
    return SetSelection(next, nullptr);
}

void VORTAOptItemHandler::CaptureName(HWND) {}

LPCWSTR VORTAOptItemHandler::GetCapturedName() {
    return nullptr;
}

LONG VORTAOptItemHandler::GetSelection(DWORD) {
    return item_->Sel;
}

// A rejected change is taken back before anyone else sees it; the host and the dialog hear of
// every change that stays.
LONG VORTAOptItemHandler::SetSelection(LONG index, VORTAOptItemNotify* source) {
    const LONG old = item_->Sel;
    if (index == old) {
        return old;
    }
    factory_->RememberOldSelection(old);
    item_->Sel = index;
    item_->Flags |= OPTIF_CHANGED;
    const LONG verdict = Notify(itemId_, 0, 0);
    if (verdict == kNotifyReject) {
        item_->Sel = old;
        Notify(0, kEventRejected, 0);
    } else if (verdict == kNotifyAcceptAndSpread) {
        Notify(0, kEventSpread, 0);
    }
    if (!IsUnbound()) {
        UpdateHost();
    }
    Propagate(source);
    return old;
}

void VORTAOptItemHandler::SetSelectionFromText(LPCWSTR text) {
    if (text == nullptr) {
        return;
    }
    const DWORD count = GetOptionCount();
    if (count > 1) {
        for (DWORD i = 0; i < count; ++i) {
            WCHAR option[kOptionTextMax];
            GetOptionText(i, option, nullptr);
            if (lstrcmpW(option, text) == 0) {
                SetSelection(static_cast<LONG>(i), nullptr);
                return;
            }
        }
    }
    LONG value = 0;
    if (ParseDecimal(text, &value)) {
        SetSelection(value, nullptr);
    }
}

void VORTAOptItemHandler::SetSelectionByValue(LONG_PTR value, VORTAOptItemNotify* source) {
    if (ValuesAreSelections()) {
        SetSelection(static_cast<LONG>(value), source);
        return;
    }
    for (DWORD i = 0; i < GetOptionCount(); ++i) {
        if (GetValueOf(static_cast<LONG>(i)) == value) {
            SetSelection(static_cast<LONG>(i), source);
            return;
        }
    }
}

// The plug-in keeps values wider than 16 bits in a copy that the option's lParam points at.
LONG_PTR VORTAOptItemHandler::GetValueOf(LONG index) {
    if (ValuesAreSelections()) {
        return index;
    }
    if (index < 0 || static_cast<DWORD>(index) >= GetOptionCount()) {
        return 0;
    }
    const LPARAM value = GetOptionValue(static_cast<DWORD>(index), nullptr);
    if (static_cast<ULONG_PTR>(value) > kLargestId) {
        return *reinterpret_cast<const LONG*>(value);
    }
    return value;
}

LONG_PTR VORTAOptItemHandler::GetValue(BOOL* isText) {
    if (isText != nullptr) {
        *isText = FALSE;
    }
    const LONG selection = GetSelection(0);
    if (static_cast<ULONG>(selection) > kLargestId) {
        return selection;
    }
    return GetValueOf(selection);
}

LONG VORTAOptItemHandler::Activate(HWND) {
    Notify(itemId_, 0, 0);
    return factory_->PendingResult() == 1 ? 1 : 0;
}

void VORTAOptItemHandler::Commit(BOOL) {}

void VORTAOptItemHandler::Revert() {}

BOOL VORTAOptItemHandler::IsEnabled(DWORD, DWORD mask) {
    return (mask & enableMask_) == 0 ? TRUE : FALSE;
}

DWORD VORTAOptItemHandler::GetState() {
    return state_;
}

bool VORTAOptItemHandler::SaveState(QuickSettingsText& text) {
    BOOL isText = FALSE;
    const LONG_PTR value = GetValue(&isText);
    if (isText) {
        return text.AppendText(itemId_, reinterpret_cast<LPCWSTR>(value));
    }
    return text.AppendValue(itemId_, static_cast<DWORD>(value));
}

void VORTAOptItemHandler::LoadState(LPCWSTR text, BOOL*) {
    if (text[0] == kTextValue) {
        SetSelectionFromText(text + 1);
        return;
    }
    DWORD value = 0;
    if (ParseHex(text, lstrlenW(text), &value)) {
        SetSelectionByValue(static_cast<LONG>(value), nullptr);
    }
}

// Host items and the first-level ids are shown by the host even while hidden on own pages, so they
// are unhidden for the update; the plug-in's other items only live in the host's page in UI type 1.
void VORTAOptItemHandler::UpdateHost() {
    const FactoryEnvironment& environment = factory_->Environment();
    if (environment.driverUI == nullptr || environment.param == nullptr) {
        return;
    }
    const bool hostKnown = itemId_ < 100 || (item_->DMPubID == 0 && item_->UserItemID == 0);
    if (!hostKnown && environment.uiType != kUITypeHostPage) {
        return;
    }
    const DWORD hidden = hostKnown ? item_->Flags & OPTIF_HIDE : 0;
    item_->Flags &= ~hidden;
    environment.driverUI->DrvUpdateUISetting(environment.param->poemuiobj, item_, 0,
                                             environment.sheetKind);
    item_->Flags |= hidden;
}

void VORTAOptItemHandler::Propagate(VORTAOptItemNotify*) {
    if (link_ != nullptr && !reentered_) {
        reentered_ = true;
        factory_->FlushPending();
        reentered_ = false;
        return;
    }
    factory_->QueuePending(this, false);
}

void VORTAOptItemHandler::Disable(DWORD bits) {
    if ((enableMask_ & bits) != bits) {
        enableMask_ |= bits;
        Propagate(nullptr);
    }
}

void VORTAOptItemHandler::Enable(DWORD bits) {
    if ((enableMask_ & bits) != 0) {
        enableMask_ &= ~bits;
        Propagate(nullptr);
    }
}

void VORTAOptItemHandler::SetState(DWORD state) {
    if (state_ != state) {
        state_ = state;
        Propagate(nullptr);
    }
}

LONG VORTAOptItemHandler::FirstVisibleOption() {
    for (DWORD i = 0; i < GetOptionCount(); ++i) {
        if ((GetOptionFlags(i) & OPTPF_HIDE) == 0) {
            return static_cast<LONG>(i);
        }
    }
    return -1;
}

void VORTAOptItemHandler::SetOptionVisible(DWORD i, bool show, DWORD flags) {
    if (Option(i) == nullptr) {
        return;
    }
    const BYTE hidden = GetOptionFlags(i) & OPTPF_HIDE;
    if (show == (hidden == 0)) {
        return;
    }
    ChangeOptionFlags(i, show ? 0 : OPTPF_HIDE, show ? OPTPF_HIDE : 0, nullptr);
    if (show || (flags & kKeepSelection) != 0 || GetSelection(0) != static_cast<LONG>(i)) {
        return;
    }
    const LONG first = FirstVisibleOption();
    if (first >= 0) {
        SetSelection(first, nullptr);
    }
}

void VORTAOptItemHandler::SetBubble(DWORD kind, UINT textId, UINT captionId) {
    const Bubble wanted = kind != 0 ? Bubble{kind, textId, captionId} : Bubble{};
    if (bubble_.kind != wanted.kind || bubble_.textId != wanted.textId ||
        bubble_.captionId != wanted.captionId) {
        bubble_ = wanted;
        Propagate(nullptr);
    }
}

void VORTAOptItemHandler::SetShadow(DWORD shadowId, LONG_PTR value) {
    if (VORTAOptItemHandler* shadow = factory_->Find(shadowId)) {
        shadow->SetSelectionByValue(value, this);
    }
}

// The settings object copies as many bytes as the field holds; the numeric fields written here are
// at most this wide.
void VORTAOptItemHandler::StoreSetting(LPCWSTR field, DWORD value, bool printerSettings) {
    const FactoryEnvironment& environment = factory_->Environment();
    const DWORD source[4] = {value, 0, 0, 0};
    if (printerSettings) {
        environment.settings->SetValue(nullptr, field, source, common::kLayoutPrinterSettings);
        return;
    }
    if (environment.param != nullptr && environment.param->pOEMDM != nullptr) {
        environment.settings->SetValue(environment.param->pOEMDM, field, source,
                                       common::kLayoutDevMode);
    }
}

} // namespace moltr::ui
