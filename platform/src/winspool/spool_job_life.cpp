// Status changes of jobs under the spooler's lock.
#include <winspool.h>

#include "src/winspool/spool_job_life.h"
#include "src/winspool/spool_files.h"
#include "src/winspool/spool_printers.h"

namespace moltr::spool {
namespace {

constexpr DWORD kNotPrintable = JOB_STATUS_SPOOLING | JOB_STATUS_PAUSED | JOB_STATUS_PRINTING |
                                JOB_STATUS_PRINTED | JOB_STATUS_ERROR | JOB_STATUS_DELETING;

bool Printable(const JobRecord& job) {
    if (job.status & kNotPrintable) {
        return false;
    }
    std::optional<PrinterRecord> printer = LoadPrinter(job.printerId);
    return printer && !(printer->status & PRINTER_STATUS_PAUSED);
}

// A job that someone is still writing or printing is marked; the writer or the service removes it.
DWORD DeleteJob(JobRecord& job) {
    if (job.status & (JOB_STATUS_SPOOLING | JOB_STATUS_PRINTING)) {
        job.status |= JOB_STATUS_DELETING;
        return SaveJob(job) ? 0 : ERROR_CANTWRITE;
    }
    return RemoveJob(job.id) ? 0 : ERROR_CANTWRITE;
}

DWORD RestartJob(JobRecord& job) {
    job.pagesPrinted = 0;
    job.status &= ~DWORD{JOB_STATUS_PRINTED | JOB_STATUS_ERROR};
    if (job.status & JOB_STATUS_PRINTING) {
        job.status |= JOB_STATUS_RESTART;
    }
    return SaveJob(job) ? 0 : ERROR_CANTWRITE;
}

DWORD SetStatusBit(JobRecord& job, DWORD bit, bool set) {
    job.status = set ? job.status | bit : job.status & ~bit;
    return SaveJob(job) ? 0 : ERROR_CANTWRITE;
}

} // namespace

DWORD CompleteSpooling(DWORD id) {
    SpoolLock lock;
    std::optional<JobRecord> job = LoadJob(id);
    if (!lock.held() || !job) {
        return ERROR_INVALID_PARAMETER;
    }
    if (job->status & JOB_STATUS_DELETING) {
        return RemoveJob(id) ? 0 : ERROR_CANTWRITE;
    }
    return SetStatusBit(*job, JOB_STATUS_SPOOLING, false);
}

DWORD DiscardJob(DWORD id) {
    SpoolLock lock;
    return lock.held() && RemoveJob(id) ? 0 : ERROR_CANTWRITE;
}

DWORD ControlJob(DWORD id, uint64_t printerId, DWORD command) {
    SpoolLock lock;
    std::optional<JobRecord> job = LoadJob(id);
    if (!lock.held() || !job || job->printerId != printerId) {
        return ERROR_INVALID_PARAMETER;
    }
    switch (command) {
    case JOB_CONTROL_PAUSE:
        return SetStatusBit(*job, JOB_STATUS_PAUSED, true);
    case JOB_CONTROL_RESUME:
        return SetStatusBit(*job, JOB_STATUS_PAUSED, false);
    case JOB_CONTROL_RESTART:
        return RestartJob(*job);
    case JOB_CONTROL_CANCEL:
    case JOB_CONTROL_DELETE:
        return DeleteJob(*job);
    default:
        return ERROR_INVALID_PARAMETER;
    }
}

void PurgeJobs(uint64_t printerId) {
    for (JobRecord& job : PrinterJobs(printerId)) {
        DeleteJob(job);
    }
}

std::optional<JobRecord> TakePrintableJob() {
    SpoolLock lock;
    for (JobRecord& job : AllJobs()) {
        if (Printable(job)) {
            job.status |= JOB_STATUS_PRINTING;
            job.pagesPrinted = 0;
            return SaveJob(job) ? std::optional<JobRecord>(std::move(job)) : std::nullopt;
        }
    }
    return std::nullopt;
}

PageVerdict RecordPagesPrinted(DWORD id, DWORD pages) {
    SpoolLock lock;
    std::optional<JobRecord> job = LoadJob(id);
    if (!job || (job->status & (JOB_STATUS_DELETING | JOB_STATUS_RESTART))) {
        return PageVerdict::kStop;
    }
    job->pagesPrinted = pages;
    SaveJob(*job);
    return (job->status & JOB_STATUS_PAUSED) ? PageVerdict::kPaused : PageVerdict::kGoOn;
}

void FinishPrinting(DWORD id, PrintOutcome outcome) {
    SpoolLock lock;
    std::optional<JobRecord> job = LoadJob(id);
    if (!job) {
        return;
    }
    if (job->status & JOB_STATUS_DELETING) {
        RemoveJob(id);
        return;
    }
    const bool restart = job->status & JOB_STATUS_RESTART;
    job->status &= ~DWORD{JOB_STATUS_PRINTING | JOB_STATUS_RESTART};
    if (restart) {
        job->pagesPrinted = 0;
    } else if (outcome == PrintOutcome::kFailed) {
        job->status |= JOB_STATUS_ERROR;
    } else {
        std::optional<PrinterRecord> printer = LoadPrinter(job->printerId);
        if (!printer || !(printer->attributes & PRINTER_ATTRIBUTE_KEEPPRINTEDJOBS)) {
            RemoveJob(id);
            return;
        }
        job->status |= JOB_STATUS_PRINTED;
    }
    SaveJob(*job);
}

} // namespace moltr::spool
