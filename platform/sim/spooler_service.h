#pragma once
// The spooler service as a process of its own (host build only): `moltr spooler run` calls this.
#include <windows.h>

namespace moltr::sim {

struct SpoolerServiceOptions {
    // Return once no printable job is left; otherwise look for new jobs for ever.
    bool untilIdle = false;
    // The time each page takes to print.
    DWORD pageMs = 0;
};

// Makes this process the spooler, "C:\\Windows\\System32\\spoolsv.exe" as GetModuleFileNameW and
// GetModuleBaseNameW report it (before any driver is loaded), and prints the queued jobs through
// the universal driver's renderer.
void RunSpoolerService(const SpoolerServiceOptions& options);

} // namespace moltr::sim
