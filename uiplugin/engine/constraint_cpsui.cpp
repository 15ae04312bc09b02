#include "uiplugin/engine/constraint_cpsui.h"

namespace moltr::ui {

namespace {

constexpr DWORD kGraphicsMode = HostItemId(30300);
constexpr DWORD kPrintOptimisation = HostItemId(1034);

} // namespace

VORTAOptItemConstraintCPSUI::VORTAOptItemConstraintCPSUI(VORTAOptItemHandlerFactory* factory)
    : VORTAOptItemConstraint(factory) {
    Subscribe(kGraphicsMode, true);
}

// The dialog opens with the two items agreeing, as every later change leaves them.
LONG VORTAOptItemConstraintCPSUI::Evaluate(DWORD itemId, DWORD value, DWORD) {
    if (itemId != kGraphicsMode && !IsEvent(itemId, value, kEventAttached)) {
        return kNotifyAccept;
    }
    VORTAOptItemHandler* mode = Lookup(kGraphicsMode);
    VORTAOptItemHandler* optimisation = Lookup(kPrintOptimisation);
    if (mode == nullptr || optimisation == nullptr) {
        return kNotifyAccept;
    }
    if (mode->GetValue(nullptr) != 0) {
        optimisation->SetSelectionByValue(1, this);
        optimisation->Disable(kDisabledControl);
    } else {
        optimisation->SetSelectionByValue(0, this);
        optimisation->Enable(kDisabledControl);
    }
    return kNotifyAccept;
}

} // namespace moltr::ui
