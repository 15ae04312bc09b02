#pragma once
// The spooler service: prints the queued jobs that are complete and not paused, in id order. A RAW
// job's data goes to the port as it is; any other job is rendered page by page by the printer's
// driver (the render function), and its stream goes to the port. Then the job is printed: kept
// with JOB_STATUS_PRINTED when its printer keeps printed jobs, removed otherwise.
#include <windows.h>
#include "src/unidrv/job_renderer.h"

#include <functional>

namespace moltr::spoolsv {

using RenderFunction = std::function<unidrv::RenderJobResult(const unidrv::RenderJobRequest&)>;

class SpoolerService {
public:
    // `pageMs`: the time each page takes to print, after the renderer sent it.
    SpoolerService(RenderFunction render, DWORD pageMs);

    // Prints the first printable job; false when there is none.
    bool PrintNext();
    // Prints until no printable job is left.
    void PrintAll();

private:
    RenderFunction render_;
    DWORD pageMs_;
};

} // namespace moltr::spoolsv
