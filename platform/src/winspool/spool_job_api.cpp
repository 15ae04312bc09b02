// The job calls of the spooler client API: GetJobW, EnumJobsW (levels 1 and 2) and SetJobW (level 0
// with a command; the levels that change a job's information are not simulated).
#include <windows.h>
#include <winspool.h>

#include "src/winspool/spool_fail.h"
#include "src/winspool/spool_handles.h"
#include "src/winspool/spool_job_life.h"
#include "src/winspool/spool_jobs.h"
#include "src/winspool/spool_packer.h"

#include <cstddef>

static_assert(sizeof(JOB_INFO_1W) == 96 && offsetof(JOB_INFO_1W, Status) == 56 &&
              offsetof(JOB_INFO_1W, Submitted) == 76);
static_assert(sizeof(JOB_INFO_2W) == 160 && offsetof(JOB_INFO_2W, pDevMode) == 80 &&
              offsetof(JOB_INFO_2W, Status) == 104 && offsetof(JOB_INFO_2W, Submitted) == 132 &&
              offsetof(JOB_INFO_2W, PagesPrinted) == 152);

namespace moltr::spool {
namespace {

// A job and where it stands in its printer's queue (1 for the first).
struct QueuedJob {
    JobRecord job;
    DWORD position = 0;
};

void FillLevel1(const QueuedJob& queued, const PrinterRecord& p, InfoPacker& packer, BYTE* fixed) {
    auto& info = Fixed<JOB_INFO_1W>(fixed);
    const JobRecord& job = queued.job;
    info.JobId = job.id;
    info.pPrinterName = packer.String(p.name);
    info.pMachineName = packer.String(job.machineName);
    info.pUserName = packer.String(job.userName);
    info.pDocument = packer.String(job.document);
    info.pDatatype = packer.String(job.datatype);
    info.pStatus = nullptr;
    info.Status = job.status;
    info.Priority = job.priority;
    info.Position = queued.position;
    info.TotalPages = job.totalPages;
    info.PagesPrinted = job.pagesPrinted;
    info.Submitted = job.submitted;
}

void FillLevel2(const QueuedJob& queued, const PrinterRecord& p, InfoPacker& packer, BYTE* fixed) {
    auto& info = Fixed<JOB_INFO_2W>(fixed);
    const JobRecord& job = queued.job;
    info.JobId = job.id;
    info.pDevMode = packer.DevMode(job.devmode);
    info.pPrinterName = packer.String(p.name);
    info.pMachineName = packer.String(job.machineName);
    info.pUserName = packer.String(job.userName);
    info.pDocument = packer.String(job.document);
    info.pNotifyName = packer.String(job.userName);
    info.pDatatype = packer.String(job.datatype);
    info.pPrintProcessor = packer.String(p.printProcessor);
    info.pParameters = packer.String(u"");
    info.pDriverName = packer.String(p.driver);
    info.pStatus = nullptr;
    info.pSecurityDescriptor = nullptr;
    info.Status = job.status;
    info.Priority = job.priority;
    info.Position = queued.position;
    info.TotalPages = job.totalPages;
    info.Size = JobDataSize(job.id);
    info.Submitted = job.submitted;
    info.PagesPrinted = job.pagesPrinted;
}

using FillJob = void (*)(const QueuedJob&, const PrinterRecord&, InfoPacker&, BYTE*);

constexpr InfoLevel<FillJob> kJobLevels[] = {
    {1, sizeof(JOB_INFO_1W), FillLevel1},
    {2, sizeof(JOB_INFO_2W), FillLevel2},
};

// Writes the jobs one after the other as structures of `level`, with their data behind them all.
DWORD PackJobs(const std::vector<QueuedJob>& jobs, const PrinterRecord& p,
               const InfoLevel<FillJob>& level, BYTE* buffer, DWORD size, DWORD& needed) {
    return PackInfo(level.size * jobs.size(), buffer, size, needed,
                    [&](InfoPacker& packer, BYTE* fixed) {
                        for (size_t i = 0; i < jobs.size(); ++i) {
                            level.fill(jobs[i], p, packer, fixed + i * level.size);
                        }
                    });
}

std::vector<QueuedJob> Queue(uint64_t printerId) {
    std::vector<QueuedJob> queue;
    for (JobRecord& job : PrinterJobs(printerId)) {
        queue.push_back(QueuedJob{std::move(job), static_cast<DWORD>(queue.size() + 1)});
    }
    return queue;
}

} // namespace
} // namespace moltr::spool

using namespace moltr::spool;

extern "C" {

BOOL WINAPI GetJobW(HANDLE hPrinter, DWORD JobId, DWORD Level, LPBYTE pJob, DWORD cbBuf,
                    LPDWORD pcbNeeded) {
    DWORD error = 0;
    std::optional<HandlePrinter> open = ResolveHandle(hPrinter, error);
    if (!open) {
        return Fail(error);
    }
    const InfoLevel<FillJob>* level = FindLevel(kJobLevels, Level);
    if (!level) {
        return Fail(ERROR_INVALID_LEVEL);
    }
    if (!pcbNeeded) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    *pcbNeeded = 0;
    std::vector<QueuedJob> queue = Queue(open->printer.id);
    std::erase_if(queue, [&](const QueuedJob& queued) { return queued.job.id != JobId; });
    if (queue.empty()) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    error = PackJobs(queue, open->printer, *level, pJob, cbBuf, *pcbNeeded);
    return error ? Fail(error) : TRUE;
}

BOOL WINAPI EnumJobsW(HANDLE hPrinter, DWORD FirstJob, DWORD NoJobs, DWORD Level, LPBYTE pJob,
                      DWORD cbBuf, LPDWORD pcbNeeded, LPDWORD pcReturned) {
    DWORD error = 0;
    std::optional<HandlePrinter> open = ResolveHandle(hPrinter, error);
    if (!open) {
        return Fail(error);
    }
    const InfoLevel<FillJob>* level = FindLevel(kJobLevels, Level);
    if (!level) {
        return Fail(ERROR_INVALID_LEVEL);
    }
    if (!pcbNeeded || !pcReturned) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    *pcReturned = 0;
    std::vector<QueuedJob> queue = Queue(open->printer.id);
    const size_t first = std::min<size_t>(FirstJob, queue.size());
    const size_t count = std::min<size_t>(NoJobs, queue.size() - first);
    std::vector<QueuedJob> wanted(queue.begin() + first, queue.begin() + first + count);
    error = PackJobs(wanted, open->printer, *level, pJob, cbBuf, *pcbNeeded);
    if (error) {
        return Fail(error);
    }
    *pcReturned = static_cast<DWORD>(wanted.size());
    return TRUE;
}

BOOL WINAPI SetJobW(HANDLE hPrinter, DWORD JobId, DWORD Level, LPBYTE pJob, DWORD Command) {
    DWORD error = 0;
    std::optional<HandlePrinter> open = ResolveHandle(hPrinter, error);
    if (!open) {
        return Fail(error);
    }
    if (Level != 0) {
        return Fail(ERROR_INVALID_LEVEL);
    }
    if (pJob) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    error = ControlJob(JobId, open->printer.id, Command);
    return error ? Fail(error) : TRUE;
}

} // extern "C"
