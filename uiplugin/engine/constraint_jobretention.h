#pragma once
// VORTAOptItemConstraintJOBRETENTION: the job-retention page. Its items are open only while
// retention is on; the job mode decides which of them a job needs, and a printer without storage
// says so at the retention switch.
#include <windows.h>
#include "uiplugin/engine/opt_item_constraint.h"

namespace moltr::ui {

class VORTAOptItemConstraintJOBRETENTION : public VORTAOptItemConstraint {
public:
    explicit VORTAOptItemConstraintJOBRETENTION(VORTAOptItemHandlerFactory* factory);
    LONG Evaluate(DWORD itemId, DWORD value, DWORD flags) override;

private:
    void ShowStorageNote();
    void FollowRetention();
    void OfferJobModes();
    void FollowJobMode();

    bool ramDisk_;
    bool compactFlash_;
    bool pjl_;
};

} // namespace moltr::ui
