#pragma once
// Printer handles: process-local, like the handles that the spooler's client library hands out.
#include "src/winspool/spool_printers.h"

#include <windows.h>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace moltr::spool {

struct PrinterHandle {
    uint64_t printerId = 0;
    ACCESS_MASK access = 0;
    // From the defaults given to OpenPrinterW: the devmode and datatype of the jobs the handle
    // starts (empty for the printer's own).
    std::vector<BYTE> devmode;
    std::u16string datatype;
    // The job the handle is spooling (0 for none), and whether a page of it is open.
    DWORD jobId = 0;
    bool pageOpen = false;
};

HANDLE AddHandle(const PrinterHandle& handle);
bool RemoveHandle(HANDLE handle);
// Replaces the handle's state; false for a handle that is not open.
bool UpdateHandle(HANDLE handle, const PrinterHandle& state);
// Ends the handle's part in the job it spools (`state` is the handle's); returns that job's id.
DWORD DetachJob(HANDLE handle, PrinterHandle state);

struct HandlePrinter {
    PrinterHandle handle;
    PrinterRecord printer;
};
// The open handle and its printer's current record; nothing with ERROR_INVALID_HANDLE in `error`
// for a handle that is unknown, closed, or whose printer has been removed.
std::optional<HandlePrinter> ResolveHandle(HANDLE handle, DWORD& error);

} // namespace moltr::spool
