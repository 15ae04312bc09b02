#pragma once
// VORTAOptItemConstraintCONFIGURE: the options page of the printer sheet drops the 1200 dpi
// switch when the host shows none of the installable features.
#include <windows.h>
#include "uiplugin/engine/opt_item_constraint.h"

namespace moltr::ui {

class VORTAOptItemConstraintCONFIGURE : public VORTAOptItemConstraint {
public:
    explicit VORTAOptItemConstraintCONFIGURE(VORTAOptItemHandlerFactory* factory);
    LONG Evaluate(DWORD itemId, DWORD value, DWORD flags) override;
};

} // namespace moltr::ui
