#pragma once
// The life of a job, shared by the application's calls, SetJobW and the spooler service: spooling
// (JOB_STATUS_SPOOLING), queued, printing, printed. Each call but PurgeJobs takes the spooler's
// lock.
#include <windows.h>
#include "src/winspool/spool_jobs.h"

#include <optional>

namespace moltr::spool {

// EndDocPrinter: the job is complete and may print; a job deleted while it spooled goes.
DWORD CompleteSpooling(DWORD id);

// AbortPrinter: the job and its spool file go.
DWORD DiscardJob(DWORD id);

// SetJobW's commands. Returns 0 or the error for the command.
DWORD ControlJob(DWORD id, uint64_t printerId, DWORD command);

// Removes every job of the printer, marking those still spooling or printing as deleting. The
// caller holds the spooler's lock.
void PurgeJobs(uint64_t printerId);

// The service's side. The first job, in id order, that is complete, not paused, not printed, not
// failed and not being deleted, on a printer that is not paused; it is marked printing.
std::optional<JobRecord> TakePrintableJob();

enum class PageVerdict { kGoOn, kPaused, kStop };
// Records the pages sent so far; kStop once the job is being deleted or restarted.
PageVerdict RecordPagesPrinted(DWORD id, DWORD pages);

enum class PrintOutcome { kPrinted, kFailed };
// The job leaves the printing state: printed (then removed unless the printer keeps printed
// jobs), failed (JOB_STATUS_ERROR), or, when deleted or restarted meanwhile, removed or queued
// again.
void FinishPrinting(DWORD id, PrintOutcome outcome);

} // namespace moltr::spool
