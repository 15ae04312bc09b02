#pragma once
// What the job handling asks of the outside world for one watched printer: the spooler's job
// calls and the dialog. A seam so that the handling's decisions are tested without a spooler.
#include <windows.h>

namespace moltr::notifier {

class JobActions {
public:
    virtual ~JobActions() = default;
    // False when the job cannot be read; `duplex` tells whether its devmode asks for two sides
    // (a job without a devmode is simplex).
    virtual bool ReadDuplex(DWORD jobId, bool* duplex) = 0;
    virtual bool Pause(DWORD jobId) = 0;
    virtual bool Resume(DWORD jobId) = 0;
    // Returns once the dialog thread has started (or could not be started).
    virtual void ShowDialog(HWND owner) = 0;
};

} // namespace moltr::notifier
