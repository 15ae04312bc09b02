#include "uiplugin/engine/constraint_cpsuiconfigure.h"

namespace moltr::ui {

namespace {

constexpr DWORD kCompactFlash = HostItemId(31300);
constexpr DWORD kRamDisk = HostItemId(31250);
constexpr DWORD kCardModels[] = {7, 16};

// The host's items of installable options list the installed choice first.
constexpr LONG_PTR kInstalled = 0;
constexpr LONG_PTR kNotInstalled = 1;

} // namespace

VORTAOptItemConstraintCPSUICONFIGURE::VORTAOptItemConstraintCPSUICONFIGURE(
    VORTAOptItemHandlerFactory* factory)
    : VORTAOptItemConstraint(factory) {
    Subscribe(kCompactFlash, true);
    Subscribe(kRamDisk, true);
}

LONG VORTAOptItemConstraintCPSUICONFIGURE::Evaluate(DWORD itemId, DWORD value, DWORD) {
    const bool watched = itemId == kCompactFlash || itemId == kRamDisk;
    if (!IsOneOf(ModelClass(), kCardModels) ||
        (!watched && !IsEvent(itemId, value, kEventAttached))) {
        return kNotifyAccept;
    }
    VORTAOptItemHandler* card = Lookup(kCompactFlash);
    VORTAOptItemHandler* ramDisk = Lookup(kRamDisk);
    if (card != nullptr && ramDisk != nullptr && card->GetValue(nullptr) == kInstalled) {
        ramDisk->SetSelectionByValue(kNotInstalled, this);
    }
    return kNotifyAccept;
}

} // namespace moltr::ui
