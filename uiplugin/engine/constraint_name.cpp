#include "uiplugin/engine/constraint_name.h"

namespace moltr::ui {

bool HasName(LPCWSTR text) {
    for (; text != nullptr && *text != 0; ++text) {
        if (*text > L' ') {
            return true;
        }
    }
    return false;
}

template <DWORD NameId>
NameConstraint<NameId>::NameConstraint(VORTAOptItemHandlerFactory* factory)
    : VORTAOptItemConstraint(factory) {
    Subscribe(NameId, true);
}

// Every event counts: the dialog that shows the name may be the one just attached.
template <DWORD NameId> LONG NameConstraint<NameId>::Evaluate(DWORD, DWORD, DWORD) {
    const VORTAOptItemHandler* name = Lookup(NameId);
    const HWND ok =
        Factory()->Dialog() != nullptr ? GetDlgItem(Factory()->Dialog(), IDOK) : nullptr;
    if (name != nullptr && ok != nullptr) {
        EnableWindow(ok, HasName(name->Item()->pSel));
    }
    return kNotifyAccept;
}

template class NameConstraint<kQuickSettingNameId>;
template class NameConstraint<kCustomMediumNameId>;

} // namespace moltr::ui
