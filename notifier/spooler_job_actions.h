#pragma once
// The job handling's calls on a watched printer through the spooler: GetJobW for a new job's
// devmode, SetJobW to pause and resume, and the dialog thread.
#include <windows.h>
#include "notifier/job_actions.h"
#include "notifier/notifier_state.h"

namespace moltr::notifier {

class SpoolerJobActions final : public JobActions {
public:
    SpoolerJobActions(NotifierState& state, HANDLE printer) : state_(state), printer_(printer) {}

    bool ReadDuplex(DWORD jobId, bool* duplex) override;
    bool Pause(DWORD jobId) override;
    bool Resume(DWORD jobId) override;
    void ShowDialog(HWND owner) override;

private:
    NotifierState& state_;
    HANDLE printer_;
};

} // namespace moltr::notifier
