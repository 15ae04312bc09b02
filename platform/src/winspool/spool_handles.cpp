// The table of open printer handles.
#include "src/winspool/spool_handles.h"

#include <mutex>
#include <unordered_map>

namespace moltr::spool {
namespace {

// Printer handle values stay clear of the small values of kernel handles and are never reused.
constexpr uintptr_t kFirstHandle = 0x5A0000000000;
constexpr uintptr_t kHandleStep = 8;

struct HandleTable {
    std::mutex lock;
    uintptr_t next = kFirstHandle;
    std::unordered_map<uintptr_t, PrinterHandle> open;
};

HandleTable& Table() {
    static HandleTable table;
    return table;
}

} // namespace

HANDLE AddHandle(const PrinterHandle& handle) {
    HandleTable& table = Table();
    std::lock_guard guard(table.lock);
    uintptr_t value = table.next;
    table.next += kHandleStep;
    table.open.emplace(value, handle);
    return reinterpret_cast<HANDLE>(value);
}

bool RemoveHandle(HANDLE handle) {
    HandleTable& table = Table();
    std::lock_guard guard(table.lock);
    return table.open.erase(reinterpret_cast<uintptr_t>(handle)) == 1;
}

bool UpdateHandle(HANDLE handle, const PrinterHandle& state) {
    HandleTable& table = Table();
    std::lock_guard guard(table.lock);
    auto it = table.open.find(reinterpret_cast<uintptr_t>(handle));
    if (it == table.open.end()) {
        return false;
    }
    it->second = state;
    return true;
}

DWORD DetachJob(HANDLE handle, PrinterHandle state) {
    const DWORD id = state.jobId;
    state.jobId = 0;
    state.pageOpen = false;
    UpdateHandle(handle, state);
    return id;
}

std::optional<HandlePrinter> ResolveHandle(HANDLE handle, DWORD& error) {
    std::optional<PrinterHandle> entry;
    {
        HandleTable& table = Table();
        std::lock_guard guard(table.lock);
        auto it = table.open.find(reinterpret_cast<uintptr_t>(handle));
        if (it != table.open.end()) {
            entry = it->second;
        }
    }
    std::optional<PrinterRecord> printer = entry ? LoadPrinter(entry->printerId) : std::nullopt;
    if (!printer) {
        error = ERROR_INVALID_HANDLE;
        return std::nullopt;
    }
    return HandlePrinter{*entry, std::move(*printer)};
}

} // namespace moltr::spool
