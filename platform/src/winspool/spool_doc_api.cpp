// The application's side of a job: StartDocPrinterW, StartPagePrinter, WritePrinter,
// EndPagePrinter, EndDocPrinter, AbortPrinter. The handle remembers the job it spools.
#include <windows.h>
#include <winspool.h>

#include "src/winspool/spool_client.h"
#include "src/winspool/spool_fail.h"
#include "src/winspool/spool_files.h"
#include "src/winspool/spool_handles.h"
#include "src/winspool/spool_job_life.h"
#include "src/winspool/spool_jobs.h"
#include "sim/utf.h"

#include <cstddef>

static_assert(sizeof(DOC_INFO_1W) == 24);

namespace moltr::spool {
namespace {

// Without a datatype the job takes the printer's, and RAW when the printer names none.
std::u16string JobDatatype(const DOC_INFO_1W& info, const HandlePrinter& open) {
    std::u16string_view given = sim::View(info.pDatatype);
    if (!given.empty()) {
        return std::u16string(given);
    }
    if (!open.handle.datatype.empty()) {
        return open.handle.datatype;
    }
    return open.printer.datatype.empty() ? u"RAW" : open.printer.datatype;
}

JobRecord NewJob(const DOC_INFO_1W& info, const HandlePrinter& open) {
    JobRecord job;
    job.printerId = open.printer.id;
    job.document = sim::View(info.pDocName);
    job.outputFile = sim::View(info.pOutputFile);
    job.datatype = JobDatatype(info, open);
    job.userName = ClientUserName();
    job.machineName = ClientMachineName();
    job.status = JOB_STATUS_SPOOLING;
    job.devmode = open.handle.devmode.empty() ? open.printer.devmode : open.handle.devmode;
    GetSystemTime(&job.submitted);
    return job;
}

// The open handle when it spools a job; ERROR_SPL_NO_STARTDOC otherwise.
std::optional<HandlePrinter> SpoolingHandle(HANDLE handle, DWORD& error) {
    std::optional<HandlePrinter> open = ResolveHandle(handle, error);
    if (open && open->handle.jobId == 0) {
        error = ERROR_SPL_NO_STARTDOC;
        return std::nullopt;
    }
    return open;
}

// A job deleted while it spools takes no more data.
DWORD AppendToJob(DWORD id, const BYTE* data, DWORD size) {
    SpoolLock lock;
    std::optional<JobRecord> job = LoadJob(id);
    if (!lock.held() || !job || (job->status & JOB_STATUS_DELETING)) {
        return ERROR_PRINT_CANCELLED;
    }
    return AppendBytes(JobDataFile(id), std::vector<BYTE>(data, data + size)) ? 0 : ERROR_CANTWRITE;
}

DWORD CountPage(DWORD id) {
    SpoolLock lock;
    std::optional<JobRecord> job = LoadJob(id);
    if (!lock.held() || !job) {
        return ERROR_PRINT_CANCELLED;
    }
    ++job->totalPages;
    return SaveJob(*job) ? 0 : ERROR_CANTWRITE;
}

DWORD CreateJob(JobRecord& job) {
    SpoolLock lock;
    job.id = lock.held() ? NewJobId() : 0;
    if (job.id == 0 || !SaveJob(job) || !WriteAtomically(JobDataFile(job.id), {})) {
        RemoveJob(job.id);
        return ERROR_CANTWRITE;
    }
    return 0;
}

} // namespace

} // namespace moltr::spool

using namespace moltr::spool;

extern "C" {

DWORD WINAPI StartDocPrinterW(HANDLE hPrinter, DWORD Level, LPBYTE pDocInfo) {
    DWORD error = 0;
    std::optional<HandlePrinter> open = ResolveHandle(hPrinter, error);
    if (!open) {
        return Fail(error);
    }
    if (Level != 1) {
        return Fail(ERROR_INVALID_LEVEL);
    }
    if (!pDocInfo) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    if (open->handle.jobId != 0) {
        return Fail(ERROR_INVALID_PRINTER_STATE);
    }
    DOC_INFO_1W info;
    std::memcpy(&info, pDocInfo, sizeof info);
    JobRecord job = NewJob(info, *open);
    error = CreateJob(job);
    if (error) {
        return Fail(error);
    }
    open->handle.jobId = job.id;
    UpdateHandle(hPrinter, open->handle);
    return job.id;
}

BOOL WINAPI StartPagePrinter(HANDLE hPrinter) {
    DWORD error = 0;
    std::optional<HandlePrinter> open = SpoolingHandle(hPrinter, error);
    if (!open) {
        return Fail(error);
    }
    open->handle.pageOpen = true;
    UpdateHandle(hPrinter, open->handle);
    return TRUE;
}

BOOL WINAPI WritePrinter(HANDLE hPrinter, LPVOID pBuf, DWORD cbBuf, LPDWORD pcWritten) {
    if (pcWritten) {
        *pcWritten = 0;
    }
    DWORD error = 0;
    std::optional<HandlePrinter> open = SpoolingHandle(hPrinter, error);
    if (!open) {
        return Fail(error);
    }
    if (!pcWritten || (!pBuf && cbBuf)) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    error = AppendToJob(open->handle.jobId, static_cast<const BYTE*>(pBuf), cbBuf);
    if (error) {
        return Fail(error);
    }
    *pcWritten = cbBuf;
    return TRUE;
}

BOOL WINAPI EndPagePrinter(HANDLE hPrinter) {
    DWORD error = 0;
    std::optional<HandlePrinter> open = SpoolingHandle(hPrinter, error);
    if (!open) {
        return Fail(error);
    }
    // A page ends once, however often the application says so.
    if (open->handle.pageOpen) {
        open->handle.pageOpen = false;
        UpdateHandle(hPrinter, open->handle);
        error = CountPage(open->handle.jobId);
    }
    return error ? Fail(error) : TRUE;
}

BOOL WINAPI EndDocPrinter(HANDLE hPrinter) {
    DWORD error = 0;
    std::optional<HandlePrinter> open = SpoolingHandle(hPrinter, error);
    if (!open) {
        return Fail(error);
    }
    error = CompleteSpooling(DetachJob(hPrinter, open->handle));
    return error ? Fail(error) : TRUE;
}

BOOL WINAPI AbortPrinter(HANDLE hPrinter) {
    DWORD error = 0;
    std::optional<HandlePrinter> open = SpoolingHandle(hPrinter, error);
    if (!open) {
        return Fail(error);
    }
    error = DiscardJob(DetachJob(hPrinter, open->handle));
    return error ? Fail(error) : TRUE;
}

} // extern "C"
