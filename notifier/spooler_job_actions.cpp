#include "notifier/spooler_job_actions.h"

#include <winspool.h>
#include <vector>
#include "notifier/manual_duplex_dialog.h"

namespace moltr::notifier {

bool SpoolerJobActions::ReadDuplex(DWORD jobId, bool* duplex) {
    DWORD needed = 0;
    if (GetJobW(printer_, jobId, 2, nullptr, 0, &needed) || needed < sizeof(JOB_INFO_2W)) {
        return false;
    }
    std::vector<BYTE> info(needed);
    if (!GetJobW(printer_, jobId, 2, info.data(), needed, &needed)) {
        return false;
    }
    const DEVMODEW* devmode = reinterpret_cast<const JOB_INFO_2W*>(info.data())->pDevMode;
    *duplex = devmode != nullptr && devmode->dmDuplex != DMDUP_SIMPLEX;
    return true;
}

bool SpoolerJobActions::Pause(DWORD jobId) {
    return SetJobW(printer_, jobId, 0, nullptr, JOB_CONTROL_PAUSE) != FALSE;
}

bool SpoolerJobActions::Resume(DWORD jobId) {
    return SetJobW(printer_, jobId, 0, nullptr, JOB_CONTROL_RESUME) != FALSE;
}

void SpoolerJobActions::ShowDialog(HWND owner) {
    StartDialogThread(state_, printer_, owner);
}

} // namespace moltr::notifier
