#pragma once
// VORTAOptItemConstraintCPSUI: the host's graphics mode decides the print optimisation; while a
// graphics mode is chosen, the optimisation is on and cannot be changed.
#include <windows.h>
#include "uiplugin/engine/opt_item_constraint.h"

namespace moltr::ui {

class VORTAOptItemConstraintCPSUI : public VORTAOptItemConstraint {
public:
    explicit VORTAOptItemConstraintCPSUI(VORTAOptItemHandlerFactory* factory);
    LONG Evaluate(DWORD itemId, DWORD value, DWORD flags) override;
};

} // namespace moltr::ui
