// The service's loop over the queue: one job at a time, rendered or sent raw, then its bytes sent
// to the port (or to the job's output file) and the job printed.
#include <winspool.h>

#include "src/spoolsv/spooler_service.h"
#include "src/spoolsv/port_files.h"
#include "src/winspool/spool_files.h"
#include "src/winspool/spool_job_life.h"
#include "src/winspool/spool_jobs.h"
#include "src/winspool/spool_names.h"
#include "src/winspool/spool_printers.h"
#include "sim/machine.h"
#include "sim/utf.h"

namespace moltr::spoolsv {
namespace {

// How often a paused job that is printing looks again whether it may go on.
constexpr DWORD kPausePollMs = 50;

struct Printout {
    HRESULT result = E_FAIL;
    std::vector<BYTE> bytes;
    PortJob port;
    // Deleted or restarted while it printed: nothing goes out.
    bool stopped = false;
};

bool IsRaw(const std::u16string& datatype) {
    return spool::SameName(datatype, u"RAW");
}

// Records the pages sent; while the job is paused, waits until it is resumed or deleted.
bool PageSent(DWORD jobId, DWORD pages, DWORD pageMs, bool& stopped) {
    if (pageMs) {
        Sleep(pageMs);
    }
    spool::PageVerdict verdict;
    while ((verdict = spool::RecordPagesPrinted(jobId, pages)) == spool::PageVerdict::kPaused) {
        Sleep(kPausePollMs);
    }
    stopped = verdict == spool::PageVerdict::kStop;
    return !stopped;
}

// The stream goes out as it is; the printer reports its pages one by one as it prints them.
Printout SendRaw(const spool::JobRecord& job, DWORD pageMs) {
    Printout out;
    out.port = PortJob{job.id, job.totalPages, {}};
    out.result = spool::ReadAllBytes(spool::JobDataFile(job.id), out.bytes) ? S_OK : E_FAIL;
    for (DWORD page = 1; SUCCEEDED(out.result) && page <= job.totalPages; ++page) {
        if (!PageSent(job.id, page, pageMs, out.stopped)) {
            break;
        }
    }
    return out;
}

Printout RenderWith(const RenderFunction& render, const spool::JobRecord& job,
                    const spool::PrinterRecord& printer, DWORD pageMs) {
    Printout out;
    std::u16string name = printer.name;
    HANDLE handle = nullptr;
    if (!OpenPrinterW(sim::W(name), &handle, nullptr)) {
        return out;
    }
    unidrv::RenderJobRequest request;
    request.printer = handle;
    request.jobId = job.id;
    request.documentName = sim::W(job.document);
    request.devmode =
        job.devmode.empty() ? nullptr : reinterpret_cast<const DEVMODEW*>(job.devmode.data());
    request.pages = job.totalPages;
    request.pageSent = [&](DWORD pages) { return PageSent(job.id, pages, pageMs, out.stopped); };
    unidrv::RenderJobResult rendered = render(request);
    ClosePrinter(handle);
    out.result = rendered.result;
    out.bytes = std::move(rendered.stream);
    out.port = PortJob{job.id, rendered.pagesSent, std::move(rendered.callbackIds)};
    return out;
}

bool Deliver(const spool::JobRecord& job, const spool::PrinterRecord& printer,
             const Printout& out) {
    if (job.outputFile.empty()) {
        return SendToPort(printer.port, out.port, out.bytes);
    }
    const std::string file = sim::HostPath(sim::W(job.outputFile));
    return !file.empty() && spool::WriteAtomically(file, out.bytes);
}

} // namespace

SpoolerService::SpoolerService(RenderFunction render, DWORD pageMs)
    : render_(std::move(render)), pageMs_(pageMs) {}

bool SpoolerService::PrintNext() {
    std::optional<spool::JobRecord> job = spool::TakePrintableJob();
    if (!job) {
        return false;
    }
    std::optional<spool::PrinterRecord> printer = spool::LoadPrinter(job->printerId);
    Printout out;
    if (printer) {
        out = IsRaw(job->datatype) ? SendRaw(*job, pageMs_)
                                   : RenderWith(render_, *job, *printer, pageMs_);
    }
    const bool printed =
        printer && SUCCEEDED(out.result) && !out.stopped && Deliver(*job, *printer, out);
    spool::FinishPrinting(job->id,
                          printed ? spool::PrintOutcome::kPrinted : spool::PrintOutcome::kFailed);
    return true;
}

void SpoolerService::PrintAll() {
    while (PrintNext()) {
    }
}

} // namespace moltr::spoolsv
