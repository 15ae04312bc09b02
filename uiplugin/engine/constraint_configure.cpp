#include "uiplugin/engine/constraint_configure.h"

namespace moltr::ui {

namespace {

constexpr DWORD kRamDiskBox = 9202;
constexpr DWORD k1200DpiBox = 9302;

} // namespace

VORTAOptItemConstraintCONFIGURE::VORTAOptItemConstraintCONFIGURE(
    VORTAOptItemHandlerFactory* factory)
    : VORTAOptItemConstraint(factory) {
    Subscribe(kRamDiskBox, true);
}

// The engine remembers the installable-feature items the host showed.
LONG VORTAOptItemConstraintCONFIGURE::Evaluate(DWORD itemId, DWORD value, DWORD) {
    if (!IsEvent(itemId, value, kEventAttached) ||
        Factory()->Environment().hostHelpIndexCount != 0) {
        return kNotifyAccept;
    }
    if (VORTAOptItemHandler* dpi = Lookup(k1200DpiBox)) {
        dpi->SetState(kStateRemoved);
    }
    return kNotifyAccept;
}

} // namespace moltr::ui
