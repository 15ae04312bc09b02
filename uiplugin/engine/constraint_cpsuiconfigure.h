#pragma once
// VORTAOptItemConstraintCPSUICONFIGURE: on the printer sheet of the models that take a
// CompactFlash card, an installed card takes the place of the RAM disk.
#include <windows.h>
#include "uiplugin/engine/opt_item_constraint.h"

namespace moltr::ui {

class VORTAOptItemConstraintCPSUICONFIGURE : public VORTAOptItemConstraint {
public:
    explicit VORTAOptItemConstraintCPSUICONFIGURE(VORTAOptItemHandlerFactory* factory);
    LONG Evaluate(DWORD itemId, DWORD value, DWORD flags) override;
};

} // namespace moltr::ui
