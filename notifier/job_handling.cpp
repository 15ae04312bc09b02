#include "notifier/job_handling.h"

namespace moltr::notifier {

namespace {

// A paused job has spooled once the spooler no longer writes or deletes it.
bool SpooledWhilePaused(DWORD status) {
    constexpr DWORD kBusy = JOB_STATUS_SPOOLING | JOB_STATUS_DELETING | JOB_STATUS_DELETED;
    return (status & JOB_STATUS_PAUSED) != 0 && (status & kBusy) == 0;
}

} // namespace

void JobHandling::Handle(WORD field, DWORD jobId, DWORD value, bool refresh) {
    switch (field) {
    case JOB_NOTIFY_FIELD_MACHINE_NAME:
        JobAppeared(jobId);
        break;
    case JOB_NOTIFY_FIELD_STATUS:
        StatusChanged(jobId, value);
        break;
    case JOB_NOTIFY_FIELD_TOTAL_PAGES:
        TotalPages(jobId, value);
        break;
    case JOB_NOTIFY_FIELD_PAGES_PRINTED:
        PagesPrinted(jobId, value, refresh);
        break;
    default:
        break;
    }
}

// The entry is taken before the job is paused, so that a job is never paused without an entry
// that will resume it.
void JobHandling::JobAppeared(DWORD jobId) {
    bool duplex = false;
    if (state_.FindJob(&printer_, jobId) != nullptr || !actions_.ReadDuplex(jobId, &duplex) ||
        !duplex) {
        return;
    }
    DuplexJob* job = state_.NewJob(&printer_, jobId, IsRasterPdl(printer_.pdlType) ? -1 : 0);
    if (job == nullptr) {
        return;
    }
    if (actions_.Pause(jobId)) {
        job->held = true;
    } else {
        state_.RemoveJob(job);
    }
}

// Only the jobs the notifier holds are resumed: a job the user paused stays paused.
void JobHandling::StatusChanged(DWORD jobId, DWORD status) {
    DuplexJob* job = state_.FindJob(&printer_, jobId);
    if (job == nullptr) {
        return;
    }
    if ((status & JOB_STATUS_DELETED) != 0) {
        state_.RemoveJob(job);
    } else if (job->held && SpooledWhilePaused(status)) {
        job->frontSides = FrontSideCount(job->totalPages);
        job->held = !actions_.Resume(jobId);
    }
}

// The total can arrive after the status that ended spooling; the front sides follow it until the
// first page is out.
void JobHandling::TotalPages(DWORD jobId, DWORD pages) {
    DuplexJob* job = state_.FindJob(&printer_, jobId);
    if (job == nullptr) {
        return;
    }
    job->totalPages = pages;
    if (!job->held && job->pageCounter <= 0) {
        job->frontSides = FrontSideCount(pages);
    }
}

void JobHandling::PagesPrinted(DWORD jobId, DWORD pages, bool refresh) {
    DuplexJob* job = state_.FindJob(&printer_, jobId);
    if (job == nullptr || !DialogDue(*job, pages, refresh)) {
        return;
    }
    actions_.ShowDialog(state_.OwnerWindow(job));
    state_.RemoveJob(job);
}

// Raster drivers report pages as bands go out, so each notification counts once; the others report
// the printed pages themselves. A refresh repeats a value and counts nothing.
bool JobHandling::DialogDue(DuplexJob& job, DWORD pages, bool refresh) {
    if (IsRasterPdl(printer_.pdlType)) {
        if (refresh) {
            return false;
        }
        LONG c = job.pageCounter++;
        return c > 0 && c % 2 == 0 && job.frontSides != 0 && DWORD(c / 2) >= job.frontSides;
    }
    if (pages == 0 || job.pageCounter >= LONG(pages)) {
        return false;
    }
    job.pageCounter = LONG(pages);
    return job.frontSides != 0;
}

void JobHandling::ReleaseHeldJobs() {
    while (DuplexJob* job = state_.FindHeldJob(&printer_)) {
        actions_.Resume(job->jobId);
        state_.RemoveJob(job);
    }
}

} // namespace moltr::notifier
