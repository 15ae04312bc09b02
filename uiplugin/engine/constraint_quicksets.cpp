#include "uiplugin/engine/constraint_quicksets.h"
#include <iterator>
#include "uiplugin/engine/constraint_name.h"
#include "uiplugin/engine/quick_settings_defaults.h"
#include "uiplugin/engine/quick_settings_text.h"

namespace moltr::ui {

namespace {

constexpr DWORD kList = 101;
constexpr DWORD kAction = 150;

// The selections of the action item.
constexpr LONG kDelete = 0;
constexpr LONG kSaveAsNew = 1;
constexpr LONG kUpdate = 2;

// The entries of the defaults (its name is reserved) and of the user's own settings.
constexpr UINT kReservedNameText = 110;
constexpr UINT kOwnSettingsText = 111;

constexpr UINT kCaption = 32900;
constexpr UINT kNameExists = 32901;
constexpr UINT kNameReserved = 32902;
constexpr UINT kListFull = 32903;
constexpr UINT kDeleteCaption = 33300;
constexpr UINT kDeleteQuestion = 33301;

// Items whose changes leave the settings as they are: the page's own items and the custom-media
// and name dialogs.
constexpr DWORD kNoSettingChange[] = {kList, kAction, kQuickSettingNameId, 17052, 17100,
                                      17152, 17202,   kCustomMediumNameId};
// Items that the sheet sets itself before the list has a selection.
constexpr DWORD kSettingOnceSelected[] = {3102, 19250};

// Items a quick setting never holds: the named lists and their dialogs, the host's form (the
// paper item holds the paper), the pages' information texts and the PIN display.
constexpr DWORD kNeverStored[] = {200,  101,  150,  16100, 17052, 17100, 18100, 17152, 17202, 1006,
                                  1007, 2006, 2007, 3006,  3007,  4006,  4007,  5350,  9};

// The first option of `list` whose text is `name`, among the shown ones only when `shownOnly`.
LONG OptionNamed(VORTAOptItemHandler& list, LPCWSTR name, bool shownOnly) {
    if (!HasName(name)) {
        return -1;
    }
    for (DWORD i = 0; i < list.GetOptionCount(); ++i) {
        WCHAR text[kOptionTextMax];
        BOOL visible = FALSE;
        list.GetOptionText(i, text, &visible);
        if ((visible || !shownOnly) && lstrcmpW(text, name) == 0) {
            return static_cast<LONG>(i);
        }
    }
    return -1;
}

} // namespace

VORTAOptItemConstraintQUICKSETS::VORTAOptItemConstraintQUICKSETS(
    VORTAOptItemHandlerFactory* factory)
    : VORTAOptItemConstraint(factory),
      list_(dynamic_cast<VORTAOptItemHandlerQSCOMBOBOX*>(Lookup(kList))) {
    if (list_ == nullptr) {
        return;
    }
    common::IDrvResources* resources = factory->Environment().resources;
    if (FAILED(resources->LoadString(kReservedNameText, reservedName_, kQuickSettingNameMax))) {
        reservedName_[0] = 0;
    }
    if (FAILED(resources->LoadString(kOwnSettingsText, ownName_, kQuickSettingNameMax))) {
        ownName_[0] = 0;
    }
    defaults_ = OptionNamed(*list_, reservedName_, false);
    own_ = OptionNamed(*list_, ownName_, false);
    StoreDefaults();
    Subscribe(0, true);
}

void VORTAOptItemConstraintQUICKSETS::StoreDefaults() {
    const POEMCUIPPARAM param = Factory()->Environment().param;
    if (defaults_ < 0 || param == nullptr || param->pPublicDM == nullptr) {
        return;
    }
    QuickSettingsText text(Heap());
    if (VORTAQuickSettingsFilterDefaults(*param->pPublicDM, text)) {
        list_->StoreEntry(static_cast<DWORD>(defaults_), nullptr, text.Text(), text.Length());
    }
}

LONG VORTAOptItemConstraintQUICKSETS::Evaluate(DWORD itemId, DWORD value, DWORD) {
    if (list_ == nullptr) {
        return kNotifyAccept;
    }
    VORTAOptItemHandler* action = Lookup(kAction);
    if (itemId == kAction && value != kEventRestored && action != nullptr) {
        switch (action->GetSelection(0)) {
        case kDelete:
            Delete();
            break;
        case kSaveAsNew:
            SaveAsNew();
            break;
        case kUpdate:
            Update();
            break;
        default:
            break;
        }
    } else if (MakesOwnSettings(itemId, value)) {
        ShowOwnSettings();
    }
    FollowActions();
    return kNotifyAccept;
}

// A restore names its item too; only the user's changes make the settings the user's own.
bool VORTAOptItemConstraintQUICKSETS::MakesOwnSettings(DWORD itemId, DWORD value) {
    if (itemId == 0 || value == kEventRestored || list_->IsApplying() ||
        IsOneOf(itemId, kNoSettingChange)) {
        return false;
    }
    return !IsOneOf(itemId, kSettingOnceSelected) || list_->GetSelection(0) >= 0;
}

void VORTAOptItemConstraintQUICKSETS::ShowOwnSettings() {
    if (own_ >= 0 && list_->GetSelection(0) != own_) {
        list_->SetSelection(own_, this);
    }
}

// Only entries the user stored can go; the defaults and the own settings stay.
void VORTAOptItemConstraintQUICKSETS::Delete() {
    const LONG selected = list_->GetSelection(0);
    if (selected < 0 || selected == defaults_ || selected == own_ ||
        list_->EntryStates(static_cast<DWORD>(selected)) == nullptr) {
        return;
    }
    if (Ask(kDeleteQuestion, kDeleteCaption, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) {
        return;
    }
    ShowOwnSettings();
    list_->FreeEntry(static_cast<DWORD>(selected));
}

void VORTAOptItemConstraintQUICKSETS::SaveAsNew() {
    if (RefusedAsFull()) {
        return;
    }
    VORTAOptItemHandler* nameItem = Lookup(kQuickSettingNameId);
    LPCWSTR typed = nameItem != nullptr ? nameItem->Item()->pSel : nullptr;
    WCHAR generated[kOptionTextMax] = {};
    if (!HasName(typed)) {
        if (nameItem != nullptr) {
            nameItem->SetSelectionFromText(L"");
        }
        const LONG slot = FreeSlot();
        if (slot >= 0) {
            list_->GetOptionText(static_cast<DWORD>(slot), generated, nullptr);
        }
        typed = generated;
    }
    WCHAR name[kQuickSettingNameMax];
    lstrcpynW(name, typed, static_cast<int>(kQuickSettingNameMax));
    const LONG slot = SlotForName(name);
    if (slot >= 0) {
        Store(static_cast<DWORD>(slot), name);
    }
}

void VORTAOptItemConstraintQUICKSETS::Update() {
    WCHAR name[kQuickSettingNameMax];
    lstrcpynW(name, list_->GetCapturedName(), static_cast<int>(kQuickSettingNameMax));
    const LONG slot = SlotForName(name);
    if (slot >= 0) {
        Store(static_cast<DWORD>(slot), name);
    }
}

// A new name takes a free slot, which the list must have room for whichever action asks.
LONG VORTAOptItemConstraintQUICKSETS::SlotForName(LPCWSTR name) {
    if (!HasName(name)) {
        return -1;
    }
    if (lstrcmpW(name, reservedName_) == 0) {
        Ask(kNameReserved, kCaption, MB_OK | MB_ICONERROR);
        return -1;
    }
    const LONG existing = FindEntry(name);
    if (existing >= 0) {
        return Ask(kNameExists, kCaption, MB_YESNO | MB_ICONINFORMATION) == IDYES ? existing : -1;
    }
    return RefusedAsFull() ? -1 : FreeSlot();
}

// One slot stays free: the list's last entry is never a stored one.
bool VORTAOptItemConstraintQUICKSETS::RefusedAsFull() {
    const DWORD count = list_->GetOptionCount();
    if (list_->GetVisibleOptionCount() + 1 < count) {
        return false;
    }
    Ask(kListFull, kCaption, MB_OK | MB_ICONINFORMATION);
    return true;
}

void VORTAOptItemConstraintQUICKSETS::Store(DWORD slot, LPCWSTR name) {
    QuickSettingsText text(Heap());
    if (!Factory()->SaveStates(text, kNeverStored, std::size(kNeverStored)) ||
        !list_->StoreEntry(slot, name, text.Text(), text.Length())) {
        return;
    }
    list_->SetSelection(static_cast<LONG>(slot), this);
}

LONG VORTAOptItemConstraintQUICKSETS::FindEntry(LPCWSTR name) {
    return OptionNamed(*list_, name, true);
}

LONG VORTAOptItemConstraintQUICKSETS::FreeSlot() {
    for (DWORD i = 0; i < list_->GetOptionCount(); ++i) {
        if ((list_->GetOptionFlags(i) & OPTPF_HIDE) != 0) {
            return static_cast<LONG>(i);
        }
    }
    return -1;
}

// Without a name typed the action item only shows what the selection allows; a name picks
// between a new entry and the update of the one of that name.
void VORTAOptItemConstraintQUICKSETS::FollowActions() {
    VORTAOptItemHandler* action = Lookup(kAction);
    if (action == nullptr) {
        return;
    }
    LPCWSTR typed = list_->GetCapturedName();
    if (!HasName(typed)) {
        const LONG selected = list_->GetSelection(0);
        const bool stored =
            selected >= 0 && list_->EntryStates(static_cast<DWORD>(selected)) != nullptr;
        action->SetSelection(stored ? kUpdate : kDelete, this);
        action->Disable(kDisabledControl);
        return;
    }
    action->Enable(kDisabledControl);
    action->SetSelection(FindEntry(typed) >= 0 ? kUpdate : kSaveAsNew, this);
}

} // namespace moltr::ui
