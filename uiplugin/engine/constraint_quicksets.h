#pragma once
// VORTAOptItemConstraintQUICKSETS: the quick-settings page. It stores the sheet's item states
// under a name in a slot of the list, deletes stored entries, shows the user's own settings once
// anything else changes, and keeps the action item on the action that fits the name typed.
#include <windows.h>
#include "uiplugin/engine/named_list_handlers.h"
#include "uiplugin/engine/opt_item_constraint.h"

namespace moltr::ui {

class VORTAOptItemConstraintQUICKSETS : public VORTAOptItemConstraint {
public:
    explicit VORTAOptItemConstraintQUICKSETS(VORTAOptItemHandlerFactory* factory);
    LONG Evaluate(DWORD itemId, DWORD value, DWORD flags) override;

private:
    void StoreDefaults();
    // Whether the change of `itemId` makes the settings the user's own.
    bool MakesOwnSettings(DWORD itemId, DWORD value);
    void ShowOwnSettings();
    void Delete();
    void SaveAsNew();
    void Update();
    // The slot that `name` is stored into after the user's consent; -1 for none.
    LONG SlotForName(LPCWSTR name);
    // Whether the list has no room for another entry; says so to the user.
    bool RefusedAsFull();
    void Store(DWORD slot, LPCWSTR name);
    // The shown entry named `name`; -1 for none.
    LONG FindEntry(LPCWSTR name);
    // The first hidden slot; -1 for none.
    LONG FreeSlot();
    void FollowActions();

    VORTAOptItemHandlerQSCOMBOBOX* list_;
    WCHAR reservedName_[kQuickSettingNameMax] = {};
    WCHAR ownName_[kQuickSettingNameMax] = {};
    LONG defaults_ = -1;
    LONG own_ = -1;
};

} // namespace moltr::ui
