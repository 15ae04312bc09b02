#pragma once
// Printer handles: process-local, like the handles that the spooler's client library hands out.
#include "src/winspool/spool_printers.h"

#include <windows.h>
#include <cstdint>
#include <optional>

namespace moltr::spool {

struct PrinterHandle {
    uint64_t printerId = 0;
    ACCESS_MASK access = 0;
};

HANDLE AddHandle(const PrinterHandle& handle);
bool RemoveHandle(HANDLE handle);

struct HandlePrinter {
    PrinterHandle handle;
    PrinterRecord printer;
};
// The open handle and its printer's current record; nothing with ERROR_INVALID_HANDLE in `error`
// for a handle that is unknown, closed, or whose printer has been removed.
std::optional<HandlePrinter> ResolveHandle(HANDLE handle, DWORD& error);

} // namespace moltr::spool
