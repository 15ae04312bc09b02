// The spooler service's process: presented as spoolsv.exe, printing with the universal driver.
#include "sim/spooler_service.h"
#include "sim/module_registry.h"
#include "src/spoolsv/spooler_service.h"
#include "src/unidrv/job_renderer.h"

namespace moltr::sim {
namespace {

// How often a running service looks for new jobs.
constexpr DWORD kQueuePollMs = 200;

} // namespace

void RunSpoolerService(const SpoolerServiceOptions& options) {
    SetProcessImagePath(L"C:\\Windows\\System32\\spoolsv.exe");
    spoolsv::SpoolerService service(unidrv::RenderJob, options.pageMs);
    service.PrintAll();
    while (!options.untilIdle) {
        Sleep(kQueuePollMs);
        service.PrintAll();
    }
}

} // namespace moltr::sim
