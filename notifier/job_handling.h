#pragma once
// The handling of one printer's job notifications: holds each new two-sided job until it has
// spooled, lets it print, and asks for the dialog once its front sides are out.
#include <windows.h>
#include <winspool.h>
#include "notifier/job_actions.h"
#include "notifier/notifier_state.h"

namespace moltr::notifier {

// Sheets whose front sides print in the first pass: the odd pages of the job.
inline DWORD FrontSideCount(DWORD totalPages) {
    return totalPages > 1 ? (totalPages + 1) / 2 : 0;
}

class JobHandling {
public:
    JobHandling(NotifierState& state, const PrinterWatch& printer, JobActions& actions)
        : state_(state), printer_(printer), actions_(actions) {}

    // One job data item: `field` a JOB_NOTIFY_FIELD_* value, `value` its adwData[0]. `refresh` is
    // set for the items of a refresh, which repeat current values rather than report changes.
    void Handle(WORD field, DWORD jobId, DWORD value, bool refresh);

    // Resumes every job the notifier still holds on this printer, at shutdown.
    void ReleaseHeldJobs();

private:
    void JobAppeared(DWORD jobId);
    void StatusChanged(DWORD jobId, DWORD status);
    void TotalPages(DWORD jobId, DWORD pages);
    void PagesPrinted(DWORD jobId, DWORD pages, bool refresh);
    bool DialogDue(DuplexJob& job, DWORD pages, bool refresh);

    NotifierState& state_;
    const PrinterWatch& printer_;
    JobActions& actions_;
};

} // namespace moltr::notifier
